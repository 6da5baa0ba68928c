// Assembling engine geometries from parts and points, and reading them back part by part.
#include <optional>
#include <string>
#include <vector>

#include "engine_test.h"
#include "geometry/downcast.h"
#include "geometry/immutable_part_collection_iter.h"
#include "geometry/immutable_point_collection_iter.h"
#include "geometry/multipoint_builder.h"
#include "geometry/mutable_part_collection.h"
#include "geometry/polyline_builder.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;
using point::Point;

class PartsBuilderTest : public EngineTest {};

struct Vertex {
    double x, y;
    std::optional<double> z, m;
    bool operator==(const Vertex&) const = default;
};

polyline::Polyline polyline_of(const std::vector<Vertex>& vertices) {
    auto builder = polyline_builder::PolylineBuilder::with_spatial_reference(nullptr);
    auto parts = mutable_part_collection::MutablePartCollection::with_spatial_reference(nullptr);
    {
        auto part = mutable_part::MutablePart::with_spatial_reference(nullptr);
        for (const auto& v : vertices) part.add_point_x_y_z_m(v.x, v.y, v.z, v.m);
        parts.add_part(part);
    }  // the collection keeps its own copy of the part
    builder.set_parts(parts);
    return *downcast::downcast<polyline::Polyline>(builder.to_geometry());
}

std::vector<Vertex> vertices_of(const polyline::Polyline& polyline) {
    std::vector<Vertex> read;
    auto parts = polyline.parts().into_iter();
    while (auto part = parts.next()) {
        auto points = part->points().into_iter();
        while (auto p = points.next()) read.push_back({p->x(), p->y(), p->z(), p->m()});
    }
    return read;
}

TEST_F(PartsBuilderTest, VerticesTravelWithTheirDimensions) {
    const std::vector<std::vector<Vertex>> paths = {
        {{0, 0, {}, {}}, {1, 1, {}, {}}},
        {{0, 0, 5.0, {}}, {1, 1, 6.0, {}}},
        {{0, 0, {}, 7.0}, {1, 1, {}, 8.0}},
        {{0, 0, 5.0, 7.0}, {1, 1, 6.0, 8.0}},
    };
    for (const auto& path : paths) {
        auto polyline = polyline_of(path);
        EXPECT_EQ(polyline.has_z(), path[0].z.has_value());
        EXPECT_EQ(polyline.has_m(), path[0].m.has_value());
        EXPECT_EQ(vertices_of(polyline), path);
    }
}

TEST_F(PartsBuilderTest, AppendingByCoordinatesReachesTheMatchingEngineFunction) {
    auto part = mutable_part::MutablePart::with_spatial_reference(nullptr);
    struct Case {
        std::optional<double> z, m;
        const char* function;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, "KX_MutablePart_addPointXY"},
        {1.0, std::nullopt, "KX_MutablePart_addPointXYZ"},
        {std::nullopt, 2.0, "KX_MutablePart_addPoint"},
        {1.0, 2.0, "KX_MutablePart_addPoint"},
    };
    for (const auto& c : cases) {
        fail_next(c.function);
        EXPECT_EQ(without_record(stop_message([&] { part.add_point_x_y_z_m(0, 0, c.z, c.m); })),
                  std::string("Internal error: Unexpected error returned from internal function ") + c.function);
    }
    // The temporary point of a vertex with m is gone afterwards, also after a stop.
    EXPECT_EQ(live_objects("Geometry"), 0);
}

TEST_F(PartsBuilderTest, MultipointRoundTrip) {
    auto multipoint = *downcast::downcast<multipoint::Multipoint>(samples::multipoint({{1, 2}, {3, 4}, {5, 6}}));
    std::vector<std::pair<double, double>> read;
    auto points = multipoint.points().into_iter();
    while (auto p = points.next()) read.emplace_back(p->x(), p->y());
    EXPECT_EQ(read, (std::vector<std::pair<double, double>>{{1, 2}, {3, 4}, {5, 6}}));
}

TEST_F(PartsBuilderTest, EmptyCollectionsEndAtOnce) {
    auto empty = *downcast::downcast<multipoint::Multipoint>(samples::multipoint({}));
    auto points = empty.points().into_iter();
    fail_next("KX_ImmutablePointCollection_getPoint");  // stays armed: nothing may ask for a point
    EXPECT_FALSE(points.next().has_value());
    EXPECT_FALSE(points.next().has_value());
}

TEST_F(PartsBuilderTest, IndexErrorsAreReturnedButStopAnIterator) {
    auto polyline = *downcast::downcast<polyline::Polyline>(samples::polyline({{{0, 0}, {1, 1}}, {{2, 2}, {3, 3}}}));
    auto parts = polyline.parts();
    EXPECT_EQ(parts.size(), 2u);
    EXPECT_FALSE(parts.get_part(2).has_value());
    auto part = *parts.get_part(0);
    EXPECT_FALSE(part.get_point(9).has_value());
    EXPECT_EQ(part.point_count(), 2u);
    EXPECT_EQ(*part.get_segment_index_from_end_point_index(0), -1);

    auto iter = std::move(parts).into_iter();
    ASSERT_TRUE(iter.next().has_value());
    fail_next("KX_ImmutablePartCollection_getPart");
    EXPECT_EQ(stop_message([&] { (void)iter.next(); }),
              "Internal error: Index of part out of range: Error { code: 1000, msg: \"Injected failure in "
              "KX_ImmutablePartCollection_getPart.\", additional_msg: \"Raised by a test hook.\" }");
    EXPECT_TRUE(iter.next().has_value());  // the index did not advance
    EXPECT_FALSE(iter.next().has_value());

    auto points = part.points().into_iter();
    fail_next("KX_ImmutablePointCollection_getPoint");
    EXPECT_EQ(stop_message([&] { (void)points.next(); }),
              "Internal error: Index of point out of range: Error { code: 1000, msg: \"Injected failure in "
              "KX_ImmutablePointCollection_getPoint.\", additional_msg: \"Raised by a test hook.\" }");
}

TEST_F(PartsBuilderTest, MovingPartsBetweenCollections) {
    auto from = mutable_part_collection::MutablePartCollection::with_spatial_reference(nullptr);
    auto to = mutable_part_collection::MutablePartCollection::with_spatial_reference(nullptr);
    auto part = mutable_part::MutablePart::with_spatial_reference(nullptr);
    part.add_point_x_y(0, 0);
    from.add_part(part);
    to.add_part(*from.get_part(0));
    EXPECT_EQ(to.size(), 1u);
    EXPECT_FALSE(from.get_part(1).has_value());
}

TEST_F(PartsBuilderTest, CreatorsStopOnNullHandles) {
    fail_next("KX_PolylineBuilder_createFromSpatialReference", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([] { polyline_builder::PolylineBuilder::with_spatial_reference(nullptr); }),
              "Internal error: Unexpected null handle returned from core GeometryBuilder for PolylineBuilder");
    auto builder = multipoint_builder::MultipointBuilder::with_spatial_reference(nullptr);
    fail_next("KX_GeometryBuilder_toGeometry", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([&] { (void)builder.to_geometry(); }),
              "Internal error: Unexpected null handle returned from core Geometry for GeometryOwned");
}

}  // namespace
