#include <gtest/gtest.h>

#include <functional>

#include "core/geometry/multipart.h"
#include "model_test_support.h"
#include "stops.h"

using namespace core::geometry;

namespace {

Shared<VeltPart> part_of(CoordDims dims, std::size_t vertices = 1) {
    VeltPart part(has_z(dims), has_m(dims));
    for (std::size_t i = 0; i < vertices; ++i) part.push_coord(static_cast<double>(i), 0, 1.0, 2.0);
    return make_shared_cell(std::move(part));
}

struct DimsCase {
    CoordDims collection;
    CoordDims part;
};

const DimsCase kDims[] = {
    {CoordDims::XY, CoordDims::XYZ},   {CoordDims::XYZM, CoordDims::XY}, {CoordDims::XYZ, CoordDims::XYM},
    {CoordDims::XYM, CoordDims::XYZM}, {CoordDims::XYZ, CoordDims::XYZ},
};

std::string mismatch(CoordDims expected, CoordDims got) {
    return "Mismatching dimensions, expected '" + std::string(upper_name(expected)) + "' but got '" +
           std::string(upper_name(got)) + "'";
}

// Every way a part enters a collection applies the same check and leaves the collection unchanged
// on a mismatch.
TEST(DimensionedCollection, EveryEntryChecksDimensions) {
    using Op = std::function<GeoResult<void>(PartCollection&, Shared<VeltPart>)>;
    const std::pair<const char*, Op> ops[] = {
        {"push_line", [](PartCollection& c, Shared<VeltPart> p) { return c.push_line(std::move(p)); }},
        {"insert_line", [](PartCollection& c, Shared<VeltPart> p) { return c.insert_line(0, std::move(p)); }},
        {"set_line", [](PartCollection& c, Shared<VeltPart> p) -> GeoResult<void> {
             auto r = c.set_line(0, std::move(p));
             if (!r) return std::unexpected(std::move(r.error()));
             return {};
         }},
    };
    for (const auto& [name, op] : ops) {
        for (const auto& c : kDims) {
            PartCollection collection(has_z(c.collection), has_m(c.collection));
            auto first = part_of(c.collection);
            ASSERT_TRUE(collection.push_line(first));
            auto result = op(collection, part_of(c.part));
            if (c.part == c.collection) {
                EXPECT_TRUE(result.has_value()) << name;
            } else {
                ASSERT_FALSE(result.has_value()) << name;
                EXPECT_EQ(result.error().display(), mismatch(c.collection, c.part)) << name;
                ASSERT_EQ(collection.len(), 1u) << name;
                EXPECT_EQ(collection.lines()[0], first) << name;
            }
        }
    }
}

TEST(DimensionedCollection, SetLineAndInsertLineByIndex) {
    PartCollection collection(false, false);
    ASSERT_TRUE(collection.insert_line(0, part_of(CoordDims::XY, 1)));
    ASSERT_TRUE(collection.insert_line(1, part_of(CoordDims::XY, 2)));
    auto third = part_of(CoordDims::XY, 3);
    auto past = collection.set_line(2, third);
    ASSERT_TRUE(past.has_value());
    EXPECT_FALSE(past->has_value());
    EXPECT_EQ(third.use_count(), 1);  // the refused part was released
    EXPECT_FALSE(collection.set_line(2, part_of(CoordDims::XYZ)).has_value());

    auto replaced = collection.set_line(0, third);
    ASSERT_TRUE(replaced.has_value() && replaced->has_value());
    EXPECT_EQ((**replaced)->lock().value()->len(), 1u);
    EXPECT_EQ(collection.lines()[0], third);
    EXPECT_NE(stop_message([&] { (void)collection.insert_line(3, part_of(CoordDims::XY)); }), "(no stop)");
}

TEST(DimensionedCollection, FromIterStopsAtTheFirstMismatch) {
    auto result = PartCollection::from_iter(
        false, false, {part_of(CoordDims::XY), part_of(CoordDims::XYM), part_of(CoordDims::XYZ)});
    ASSERT_FALSE(result.has_value());
    EXPECT_EQ(result.error().display(), mismatch(CoordDims::XY, CoordDims::XYM));
}

TEST(DimensionedCollection, ASharedPartIsSeenThroughEveryEntry) {
    PartCollection collection(false, false);
    auto shared = part_of(CoordDims::XY, 2);
    ASSERT_TRUE(collection.push_line(shared));
    ASSERT_TRUE(collection.push_line(shared));
    shared->lock().value()->set_coord(0, VeltCoord::xy(9, 9));
    EXPECT_EQ(model_test::text_of(collection), "[[[9, 9], [1, 0]], [[9, 9], [1, 0]]]");
}

TEST(DimensionedCollection, PoisonedPartIsAFault) {
    PartCollection collection(false, false);
    auto part = part_of(CoordDims::XY);
    ASSERT_TRUE(collection.push_line(part));
    poison(*part);
    EXPECT_EQ(stop_message([&] { (void)collection.push_line(part); }), "Lock poisoned");
    EXPECT_EQ(stop_message([&] { (void)model_test::text_of(collection); }), "Lock poisoned");
}

}  // namespace
