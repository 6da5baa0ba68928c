#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/geometry/part.h"
#include "model_test_support.h"
#include "stops.h"

using namespace core::geometry;
using model_test::same_coord;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(CoordDims, CodesNamesAndFlatLengths) {
    struct Row {
        bool z, m;
        uint8_t code;
        const char* upper;
        const char* lower;
        std::size_t flat;
    };
    const Row rows[] = {{false, false, 0, "XY", "xy", 2},
                        {true, false, 1, "XYZ", "xyz", 3},
                        {false, true, 2, "XYM", "xym", 3},
                        {true, true, 3, "XYZM", "xyzm", 4}};
    for (const auto& r : rows) {
        const CoordDims dims = dims_of(r.z, r.m);
        EXPECT_EQ(code(dims), r.code);
        EXPECT_EQ(upper_name(dims), r.upper);
        EXPECT_EQ(lower_name(dims), r.lower);
        EXPECT_EQ(flat_len(dims), r.flat);
        EXPECT_EQ(has_z(dims), r.z);
        EXPECT_EQ(has_m(dims), r.m);
    }
}

struct EditCase {
    const char* name;
    VeltCoord coord;
    GeoResult<VeltCoord> (*edit)(const VeltCoord&);
    std::optional<VeltCoord> expected;
    const char* error;
};

const EditCase kEdits[] = {
    {"z on xyz", VeltCoord::xyz(1, 2, 3), [](const VeltCoord& c) { return c.mod_z(9); }, VeltCoord::xyz(1, 2, 9), ""},
    {"z on xym", VeltCoord::xym(1, 2, 3), [](const VeltCoord& c) { return c.mod_z(9); }, std::nullopt,
     "Invalid dims for operation: Tried to set z value on coord with dims: xym"},
    {"z on xy", VeltCoord::xy(1, 2), [](const VeltCoord& c) { return c.mod_z(9); }, std::nullopt,
     "Invalid dims for operation: Tried to set z value on coord with dims: xy"},
    {"m on xyzm", VeltCoord::xyzm(1, 2, 3, 4), [](const VeltCoord& c) { return c.mod_m(9); },
     VeltCoord::xyzm(1, 2, 3, 9), ""},
    {"m on xy", VeltCoord::xy(1, 2), [](const VeltCoord& c) { return c.mod_m(9); }, std::nullopt,
     "Invalid dims for operation: Tried to set m value on coord with dims: xy"},
    {"m on xyz", VeltCoord::xyz(1, 2, 3), [](const VeltCoord& c) { return c.mod_m(9); }, std::nullopt,
     "Invalid dims for operation: Tried to set m value on coord with dims: xyz"},
    {"idx 2 of xym is m", VeltCoord::xym(1, 2, 3), [](const VeltCoord& c) { return c.mod_idx(2, 5); },
     VeltCoord::xym(1, 2, 5), ""},
    {"idx 2 of xyzm is z", VeltCoord::xyzm(1, 2, 3, 4), [](const VeltCoord& c) { return c.mod_idx(2, 5); },
     VeltCoord::xyzm(1, 2, 5, 4), ""},
    {"idx 3 of xyzm is m", VeltCoord::xyzm(1, 2, 3, 4), [](const VeltCoord& c) { return c.mod_idx(3, 5); },
     VeltCoord::xyzm(1, 2, 3, 5), ""},
    {"idx 2 of xy", VeltCoord::xy(1, 2), [](const VeltCoord& c) { return c.mod_idx(2, 5); }, std::nullopt,
     "Invalid dims for operation: Failed index based access to coord with dims: xy, buffer representation len: 2, "
     "idx: 2"},
    {"idx 4 of xyzm", VeltCoord::xyzm(1, 2, 3, 4), [](const VeltCoord& c) { return c.mod_idx(4, 5); }, std::nullopt,
     "Invalid dims for operation: Failed index based access to coord with dims: xyzm, buffer representation len: "
     "4, idx: 4"},
};

TEST(VeltCoord, EditsReplaceOneOrdinateOrFailWithInvalidDims) {
    for (const auto& c : kEdits) {
        auto result = c.edit(c.coord);
        if (c.expected) {
            ASSERT_TRUE(result.has_value()) << c.name;
            EXPECT_TRUE(same_coord(*result, *c.expected)) << c.name;
        } else {
            ASSERT_FALSE(result.has_value()) << c.name;
            EXPECT_EQ(result.error().kind(), ErrorKind::InvalidDims);
            EXPECT_EQ(result.error().display(), c.error) << c.name;
        }
    }
}

TEST(VeltPart, PushSliceFillsThePartsSlotsInOrder) {
    struct Row {
        bool z, m;
        std::vector<double> values;
        VeltCoord stored;
    };
    const Row rows[] = {
        {true, true, {1, 2}, VeltCoord::xyzm(1, 2, kNaN, kNaN)},
        {false, true, {1, 2, 3}, VeltCoord::xym(1, 2, 3)},
        {false, false, {1, 2, 3, 4, 5}, VeltCoord::xy(1, 2)},
        {true, false, {1, 2, 3, 4}, VeltCoord::xyz(1, 2, 3)},
        {false, false, {}, VeltCoord::xy(kNaN, kNaN)},
    };
    for (const auto& r : rows) {
        VeltPart part(r.z, r.m);
        part.push_slice_coord(r.values);
        ASSERT_EQ(part.len(), 1u);
        EXPECT_TRUE(same_coord(*part.get(0), r.stored)) << r.values.size();
    }
}

TEST(VeltPart, VerticesTakeThePartsDimensions) {
    VeltPart xy(false, false);
    xy.push_coord(1, 2, 3.0, 4.0);
    EXPECT_TRUE(same_coord(*xy.get(0), VeltCoord::xy(1, 2)));

    VeltPart xyz(true, false);
    xyz.push_coord(1, 2, 3.0);
    auto old = xyz.set_coord(0, VeltCoord::xy(5, 6));
    EXPECT_TRUE(same_coord(*old, VeltCoord::xyz(1, 2, 3)));
    EXPECT_TRUE(same_coord(*xyz.get(0), VeltCoord::xyz(5, 6, kNaN)));

    VeltPart xym(false, true);
    xym.push_coord(0, 0);
    xym.insert_coord(0, VeltCoord::xyzm(1, 2, 3, 4));
    EXPECT_TRUE(same_coord(*xym.get(0), VeltCoord::xym(1, 2, 4)));
    EXPECT_TRUE(same_coord(*xym.get(1), VeltCoord::xym(0, 0, kNaN)));
}

TEST(VeltPart, IndexesAtOrPastTheEndChangeNothing) {
    VeltPart part(true, true);
    part.push_coord(1, 2, 3.0, 4.0);
    part.push_coord(5, 6, 7.0, 8.0);
    for (std::size_t index : {std::size_t{2}, std::size_t{3}, std::size_t{1000}}) {
        EXPECT_FALSE(part.get(index));
        EXPECT_FALSE(part.set_coord(index, VeltCoord::xy(0, 0)));
        EXPECT_FALSE(part.remove(index));
    }
    EXPECT_EQ(part.len(), 2u);
    EXPECT_TRUE(same_coord(*part.get(1), VeltCoord::xyzm(5, 6, 7, 8)));
}

TEST(VeltPart, RemovePopAndClear) {
    VeltPart part(true, true);
    for (double x : {1.0, 2.0, 3.0}) part.push_coord(x, x, x, x);
    EXPECT_TRUE(same_coord(*part.remove(0), VeltCoord::xyzm(1, 1, 1, 1)));
    EXPECT_TRUE(same_coord(*part.pop(), VeltCoord::xyzm(3, 3, 3, 3)));
    EXPECT_TRUE(same_coord(*part.get(0), VeltCoord::xyzm(2, 2, 2, 2)));
    part.clear();
    EXPECT_TRUE(part.is_empty());
    EXPECT_EQ(part.dims(), CoordDims::XYZM);
    EXPECT_FALSE(part.pop());
}

TEST(VeltPart, InsertPastTheEndIsAFault) {
    VeltPart part(false, false);
    EXPECT_NE(stop_message([&] { part.insert_coord(1, VeltCoord::xy(0, 0)); }), "(no stop)");
    EXPECT_TRUE(part.is_empty());
}

}  // namespace
