#include <gtest/gtest.h>

#include <functional>

#include "core/geometry/multipoint.h"
#include "core/geometry/polygon.h"
#include "core/geometry/polyline.h"
#include "model_test_support.h"
#include "stops.h"

using namespace core::geometry;

namespace {

Shared<VeltPart> straight(std::size_t vertices, CoordDims dims = CoordDims::XY) {
    VeltPart part(has_z(dims), has_m(dims));
    for (std::size_t i = 0; i < vertices; ++i) part.push_coord(static_cast<double>(i), static_cast<double>(i * i));
    return make_shared_cell(std::move(part));
}

Shared<VeltCurvePart> curved(std::initializer_list<CurveData> curves, CoordDims dims = CoordDims::XY) {
    VeltCurvePart part(has_z(dims), has_m(dims));
    double x = 0;
    for (const auto& curve : curves) EXPECT_TRUE(part.push(VeltCoord::xy(x++, 0), curve));
    return make_shared_cell(std::move(part));
}

const std::string kRing = "Ring must have sufficient data to enclose an area: ";

struct BuildCase {
    const char* name;
    bool has_z;
    std::function<std::vector<Shared<VeltPart>>()> rings;
    std::function<std::vector<Shared<VeltCurvePart>>()> curve_rings;
    const char* polygon_error;   // "" when accepted
    const char* polyline_error;  // "" when accepted
};

const BuildCase kBuilds[] = {
    {"straight ring of 2", false, [] { return std::vector{straight(2)}; }, [] { return std::vector<Shared<VeltCurvePart>>{}; },
     "Linear ring requires len >= 3, but got: 2", ""},
    {"straight ring of 3", false, [] { return std::vector{straight(3)}; }, [] { return std::vector<Shared<VeltCurvePart>>{}; },
     "", ""},
    {"curved ring of 1", false, [] { return std::vector<Shared<VeltPart>>{}; }, [] { return std::vector{curved({Line{}})}; },
     "Curved ring requires at least 2 vertices, but got: 1", ""},
    {"curved ring of 2 with an arc", false, [] { return std::vector<Shared<VeltPart>>{}; },
     [] { return std::vector{curved({Line{}, CircularArc{0.5, 0.5}})}; }, "", ""},
    {"curved ring of 2 straight", false, [] { return std::vector<Shared<VeltPart>>{}; },
     [] { return std::vector{curved({Line{}, Line{}})}; },
     "Curved ring with only two vertices requires a curved segment in order to enclose an area", ""},
    {"empty parts", false, [] { return std::vector{straight(0)}; }, [] { return std::vector{curved({})}; },
     "Linear ring requires len >= 3, but got: 0", ""},
    {"xy part in xyz geometry", true, [] { return std::vector{straight(3)}; },
     [] { return std::vector<Shared<VeltCurvePart>>{}; }, "Mismatching dimensions, expected 'XYZ' but got 'XY'",
     "Mismatching dimensions, expected 'XYZ' but got 'XY'"},
    {"second straight and first curved both bad", false,
     [] { return std::vector{straight(3), straight(1)}; }, [] { return std::vector{curved({Line{}})}; },
     "Linear ring requires len >= 3, but got: 1", ""},
    {"curved part of other dims", false, [] { return std::vector{straight(3)}; },
     [] { return std::vector{curved({Line{}, Line{}, Line{}}, CoordDims::XYM)}; },
     "Mismatching dimensions, expected 'XY' but got 'XYM'", "Mismatching dimensions, expected 'XY' but got 'XYM'"},
};

template <typename G>
void expect_build(const BuildCase& c, const char* expected_error) {
    auto result = G::try_new_with_curves(c.has_z, false, c.rings(), c.curve_rings(), std::nullopt);
    if (*expected_error == '\0') {
        EXPECT_TRUE(result.has_value()) << c.name;
        return;
    }
    ASSERT_FALSE(result.has_value()) << c.name;
    const std::string text = result.error().display();
    const bool ring = result.error().kind() == ErrorKind::Ring;
    EXPECT_EQ(text, (ring ? kRing : "") + expected_error) << c.name;
}

TEST(ModelMultipart, ConstructionRulesOfPolygonsAndPolylines) {
    for (const auto& c : kBuilds) {
        expect_build<VeltGeometryPolygon>(c, c.polygon_error);
        expect_build<VeltGeometryPolyline>(c, c.polyline_error);
    }
}

TEST(ModelMultipart, ReplacementKeepsTheGeometrysDimensions) {
    auto polygon = *VeltGeometryPolygon::try_new_with_curves(false, false, {straight(3)}, {}, std::nullopt);
    const auto old_curves = polygon.curve_rings();
    auto xyz = make_shared_cell(CurvePartCollection(true, false));
    auto refused = polygon.set_curve_rings(xyz);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().display(), "Mismatching dimensions, expected 'XY' but got 'XYZ'");
    EXPECT_EQ(polygon.curve_rings(), old_curves);

    // The ring rules apply to pushes only.
    auto short_rings = make_shared_cell(*PartCollection::from_iter(false, false, {straight(2)}));
    ASSERT_TRUE(polygon.set_rings(short_rings));
    EXPECT_EQ(polygon.rings(), short_rings);
    EXPECT_EQ(model_test::text_of(polygon), R"({"rings": [[[0, 0], [1, 1]]]})");
}

TEST(ModelMultipart, IsEmptyLooksAtBothCollections) {
    auto none = *VeltGeometryPolyline::try_new_with_curves(false, false, {}, {}, std::nullopt);
    auto only_straight = *VeltGeometryPolyline::try_new_with_curves(false, false, {straight(0)}, {}, std::nullopt);
    auto only_curved = *VeltGeometryPolygon::try_new_with_curves(
        false, false, {}, {curved({Line{}, CircularArc{1, 1}})}, std::nullopt);
    EXPECT_TRUE(none.is_empty());
    EXPECT_FALSE(only_straight.is_empty());
    EXPECT_FALSE(only_curved.is_empty());
}

TEST(ModelMultipart, PoisonedLocksStopWithTheirNames) {
    auto polyline = *VeltGeometryPolyline::try_new_with_curves(false, false, {straight(2)}, {curved({Line{}})},
                                                               std::nullopt);
    poison(*polyline.curve_paths()->lock().value()->lines()[0]);
    EXPECT_EQ(stop_message([&] { model_test::text_of(polyline); }), "Lock poisoned");
    poison(*polyline.curve_paths());
    EXPECT_EQ(stop_message([&] { model_test::text_of(polyline); }), "Curve paths lock poisoned");
    EXPECT_EQ(stop_message([&] { (void)polyline.push_curve_path(curved({})); }), "curveRings lock poisoned");
    poison(*polyline.paths());
    EXPECT_EQ(stop_message([&] { (void)polyline.has_z(); }), "Rings lock poisoned");
    EXPECT_EQ(stop_message([&] { (void)polyline.is_empty(); }), "Lock poisoned");

    auto polygon = *VeltGeometryPolygon::try_new_with_curves(false, false, {}, {}, std::nullopt);
    poison(*polygon.curve_rings());
    EXPECT_EQ(stop_message([&] { model_test::text_of(polygon); }), "Curve rings lock poisoned");
}

TEST(ModelMultipoint, SetPointsChecksDimensions) {
    VeltGeometryMultipoint multipoint(straight(2), std::nullopt);
    const auto old = multipoint.points();
    auto refused = multipoint.set_points(straight(1, CoordDims::XYZ));
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().display(), "Mismatching dimensions, expected 'XY' but got 'XYZ'");
    EXPECT_EQ(multipoint.points(), old);
    auto replacement = straight(0);
    ASSERT_TRUE(multipoint.set_points(replacement));
    EXPECT_EQ(multipoint.points(), replacement);
    EXPECT_TRUE(multipoint.is_empty());
}

TEST(ModelMultipoint, PoisonedLocksStopWithTheirNames) {
    VeltGeometryMultipoint multipoint(straight(2), std::nullopt);
    poison(*multipoint.points());
    EXPECT_EQ(stop_message([&] { (void)multipoint.has_m(); }), "Rings lock poisoned");
    EXPECT_EQ(stop_message([&] { (void)multipoint.is_empty(); }), "Lock poisoned");
    EXPECT_EQ(stop_message([&] { model_test::text_of(multipoint); }), "Points lock poisoned");
}

}  // namespace
