// Real answers of the engine through the wrappers: that arguments reach the engine in the right
// order and results come back as the right owners.
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "engine_test.h"
#include "geometry/downcast.h"
#include "geometry/geometry_engine.h"
#include "geometry/json_serializable.h"
#include "geometry/transformation_catalog.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;
using ::geometry::geometry::GeometryOwned;
namespace ge = geometry_engine;

// The value; an engine error fails the test.
#define ANSWER(expression)                                             \
    ({                                                                 \
        auto answer_ = (expression);                                   \
        ASSERT_TRUE(answer_.has_value()) << answer_.error().display(); \
        std::move(*answer_);                                           \
    })

GeometryOwned from_json(const char* text) { return *json_serializable::from_json(text); }

class GeometryEngineResultsTest : public EngineTest {};

TEST_F(GeometryEngineResultsTest, RelationsAnswerForTheirOwnArgumentOrder) {
    const auto square = samples::polygon();  // 0..4 x 0..4
    const auto inside = GeometryOwned::from(point::Point::with_x_y(1, 1));
    EXPECT_TRUE(ANSWER(ge::contains(square, inside)));
    EXPECT_FALSE(ANSWER(ge::contains(inside, square)));
    EXPECT_TRUE(ANSWER(ge::within(inside, square)));
    EXPECT_TRUE(ANSWER(ge::relate(square, inside, "T********")));
    EXPECT_FALSE(ANSWER(ge::relate(square, inside, "F********")));
}

TEST_F(GeometryEngineResultsTest, MeasuresAndBuffersTakeTheirParameters) {
    const auto square = samples::polygon();
    const auto origin = GeometryOwned::from(point::Point::with_x_y(0, 0));
    auto buffered = ANSWER(ge::buffer(origin, 2.0));
    EXPECT_NEAR(ge::area(buffered), std::numbers::pi * 4, 0.05);
    EXPECT_EQ(ge::area(square), 16);
    EXPECT_EQ(ge::length(samples::polyline({{{0, 0}, {3, 4}}})), 5);
}

TEST_F(GeometryEngineResultsTest, TransformsKeepTheirArgumentOrder) {
    const auto line = samples::polyline({{{0, 0}, {1, 1}}});
    auto moved = ANSWER(ge::move_relative<polyline::Polyline>(line, 10, 20));
    EXPECT_EQ(moved.extent().x_min(), 10);
    EXPECT_EQ(moved.extent().y_min(), 20);
    auto scaled = ANSWER(ge::scale(line, nullptr, 2, 3));
    EXPECT_EQ(scaled.extent().x_max() - scaled.extent().x_min(), 2);
    EXPECT_EQ(scaled.extent().y_max() - scaled.extent().y_min(), 3);
    auto with_z = ANSWER(ge::set_z(line, 7));
    EXPECT_TRUE(with_z.has_z());
    EXPECT_FALSE(ge::_remove_z(with_z).has_z());
}

TEST_F(GeometryEngineResultsTest, ProjectionAndTheCatalog) {
    const auto wgs84 = *spatial_reference::SpatialReference::with_wkid(4326);
    const auto mercator = *spatial_reference::SpatialReference::with_wkid(3857);
    const auto point = from_json(R"({"x": 10, "y": 0, "spatialReference": {"wkid": 4326}})");
    auto projected = ANSWER(ge::project<point::Point>(point, mercator));
    EXPECT_NEAR(projected.x(), 1113194.9079, 1e-3);

    const auto nad27 = *spatial_reference::SpatialReference::with_wkid(4267);
    const auto area = envelope::Envelope::with_x_y(-125, -65, 25, 50);
    std::vector<datum_transformation::DatumTransformationOwned> listed;
    const auto message = stop_message([&] {
        listed = transformation_catalog::get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
            nad27, wgs84, &area, false);
    });
    ASSERT_EQ(message, "(no stop)");
    ASSERT_GE(listed.size(), 2u);
    EXPECT_FALSE(listed.front().name().empty());
    EXPECT_EQ(listed.front().input_spatial_reference()->wkid(), 4267u);
    auto inverse = listed.front().get_inverse();
    ASSERT_TRUE(inverse.has_value()) << inverse.error().display();
    EXPECT_EQ(inverse->output_spatial_reference()->wkid(), 4267u);
    EXPECT_TRUE(transformation_catalog::get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
                    wgs84, wgs84, nullptr, false)
                    .empty());
}

// Lists come back as owners, in the engine's order; the engine's arrays and the vectors built for
// the collections are gone afterwards (the fixture counts every engine object).
TEST_F(GeometryEngineResultsTest, ListsAndCollectionsComeBackOwned) {
    const auto square = samples::polygon();  // 0..4 x 0..4
    const auto cutter = *downcast::downcast<polyline::Polyline>(samples::polyline({{{2, -1}, {2, 5}}}));
    auto pieces = ANSWER(ge::cut(square, cutter));
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(ge::area(pieces[0]) + ge::area(pieces[1]), 16);

    auto meeting = ANSWER(ge::intersections(square, cutter));
    ASSERT_FALSE(meeting.empty());

    struct Squares {
        int left = 2;
        std::optional<GeometryOwned> operator()() {
            if (left == 0) return std::nullopt;
            const double at = 10.0 * --left;
            return samples::polygon({{{at, 0}, {at, 1}, {at + 1, 1}, {at + 1, 0}}});
        }
    };
    struct Distances {
        bool given = false;
        std::optional<double> operator()() {
            if (given) return std::nullopt;
            given = true;
            return 0.5;
        }
    };
    Squares squares;
    Distances distances;
    auto buffers = ANSWER(ANSWER(ge::buffer_collection(squares, distances, false)).into_list());
    ASSERT_EQ(buffers.size(), 2u);  // the last distance serves for the rest
    EXPECT_EQ(buffers[0].extent().x_min(), 9.5);
    Squares more;
    auto united = ANSWER(ge::union_collection(more));
    EXPECT_EQ(ge::area(united), 2);
}

// Geodetic measures read their unit and curve type: a degree of the equator, on the ellipsoid.
TEST_F(GeometryEngineResultsTest, GeodeticMeasuresTakeUnitAndCurveType) {
    const auto equator = from_json(R"({"paths": [[[0, 0], [1, 0]]], "spatialReference": {"wkid": 4326}})");
    const auto kilometre = *linear_unit::LinearUnit::with_unit_id(KX_LINEAR_UNIT_Kilometers);
    constexpr double kDegreeOfEquator = 111319.49079327357;  // metres, WGS 84
    EXPECT_NEAR(ANSWER(ge::length_geodetic(equator, nullptr, KX_CURVE_TYPE_Geodesic)), kDegreeOfEquator, 1e-6);
    EXPECT_NEAR(ANSWER(ge::length_geodetic(equator, &kilometre, KX_CURVE_TYPE_Geodesic)), kDegreeOfEquator / 1000, 1e-9);
    EXPECT_NEAR(ANSWER(ge::length_geodetic(equator, nullptr, KX_CURVE_TYPE_Loxodrome)), kDegreeOfEquator, 1e-6);  // a rhumb line too

    const auto cell = from_json(
        R"({"rings": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]], "spatialReference": {"wkid": 4326}})");
    const auto hectare = *area_unit::AreaUnit::with_unit_id(KX_AREA_UNIT_Hectares);
    const double square_metres = ANSWER(ge::area_geodetic(cell, nullptr, KX_CURVE_TYPE_Geodesic));
    EXPECT_NEAR(square_metres, 12308778361.5, 1.0);  // as Planimeter gives it
    EXPECT_NEAR(ANSWER(ge::area_geodetic(cell, &hectare, KX_CURVE_TYPE_Geodesic)), square_metres / 1e4, 1e-4);
}

}  // namespace
