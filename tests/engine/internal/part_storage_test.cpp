// Where the vertices of a converted geometry live: a builder hands its parts to the geometry without
// copying them, and the storage of a geometry that ends serves the thread's next part, so
// converting one large geometry after another reuses memory instead of mapping it afresh.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "model/geometry_builder.h"
#include "model/multipart.h"
#include "model/mutable_part.h"
#include "model/part_storage.h"

namespace {

using model::GeometryKind;

// Beyond the storage every part keeps for the next one whatever it used.
constexpr size_t kLarge = 200'000;

const model::Part& only_part(const model::Geometry& g) { return static_cast<const model::Multipart&>(g).parts.at(0); }

TEST(PartStorage, ABuilderHandsItsPartToTheGeometryUncopied) {
    model::GeometryBuilder builder(GeometryKind::Polygon, nullptr);
    const model::Vertex* stored = nullptr;
    {
        model::MutablePart part(nullptr);
        for (int i = 0; i < 5; ++i) model::add_point(part.edit(), {i * 0.5, (i % 2) * 0.25}, {});
        stored = part.part().points.data();
        builder.parts.push_back(part.share());
    }
    const auto first = builder.build();
    EXPECT_EQ(only_part(*first).points.data(), stored);
    // Held by the first geometry now, the part is copied into a second one.
    const auto second = builder.build();
    EXPECT_NE(only_part(*second).points.data(), stored);
    EXPECT_EQ(only_part(*second).points.size(), 5u);
}

TEST(PartStorage, ALargeGeometrysStorageServesTheNextPartWhileItIsUsed) {
    (void)model::reused_vertex_storage();  // whatever earlier tests left
    {
        std::vector<model::Vertex> points(kLarge, model::Vertex{1, 2});
        model::Multipart polygon(GeometryKind::Polygon, {model::Part{std::move(points), {}, true, {}}}, {});
    }
    auto next = model::new_part_data();
    EXPECT_GE(next->points.capacity(), kLarge);
    // A small part in large storage leaves most of it unused: it goes when the part ends.
    for (int i = 0; i < 10; ++i) model::add_point(*next, {1.0 * i, 0.0}, {});
    next.reset();
    EXPECT_EQ(model::reused_vertex_storage().capacity(), 0u);
}

}  // namespace
