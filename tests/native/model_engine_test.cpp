// The data model through the real engine and back: every geometry kind in every dimension, with
// straight and curved parts, empties and NaN; spatial references; and no engine object left over.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "core/geometry/envelope.h"
#include "core/geometry/multipoint.h"
#include "core/geometry/point.h"
#include "core/geometry/polygon.h"
#include "core/geometry/polyline.h"
#include "engine_test.h"
#include "geometry/immutable_part_collection_iter.h"
#include "model_test_support.h"

using namespace core::geometry;
using model_test::text_of;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr CoordDims kAllDims[] = {CoordDims::XY, CoordDims::XYZ, CoordDims::XYM, CoordDims::XYZM};

// The engine's runtime environment is started before the count of live objects is taken.
class ModelEngine : public EngineTest {
protected:
    void SetUp() override {
        (void)VeltGeometryPoint{0, 0}.as_point();
        EngineTest::SetUp();
    }
};

VeltCoord coord(CoordDims dims, double x, double y) {
    return VeltCoord::of(x, y, has_z(dims) ? std::optional(x + 10) : std::nullopt,
                         has_m(dims) ? std::optional(y + 20) : std::nullopt);
}

Shared<VeltPart> straight(CoordDims dims, std::initializer_list<std::pair<double, double>> xys) {
    VeltPart part(has_z(dims), has_m(dims));
    for (auto [x, y] : xys) {
        const VeltCoord c = coord(dims, x, y);
        part.push_coord(c.x(), c.y(), c.z(), c.m());
    }
    return make_shared_cell(std::move(part));
}

Shared<VeltCurvePart> curved(CoordDims dims, std::initializer_list<std::tuple<double, double, CurveData>> vertices) {
    VeltCurvePart part(has_z(dims), has_m(dims));
    for (const auto& [x, y, curve] : vertices) EXPECT_TRUE(part.push(coord(dims, x, y), curve));
    return make_shared_cell(std::move(part));
}

bool near(double a, double b) { return model_test::same_value(a, b) || std::fabs(a - b) <= 1e-9 * (1 + std::fabs(a)); }

// Curve records compared with a tolerance: the engine recomputes arc parameters.
void expect_same_curve(const CurveData& got, const CurveData& want) {
    ASSERT_EQ(got.index(), want.index());
    std::vector<double> g, w;
    auto flatten = [](const CurveData& c, std::vector<double>& out) {
        std::visit(
            [&](const auto& r) {
                using R = std::decay_t<decltype(r)>;
                if constexpr (std::is_same_v<R, CircularArc>) out = {r.interior_x, r.interior_y};
                if constexpr (std::is_same_v<R, EllipticArc>)
                    out = {r.center_x, r.center_y, r.rotation, r.axis, r.ratio, double(r.minor), double(r.clockwise)};
                if constexpr (std::is_same_v<R, BezierCurve>) out = {r.ctrl1_x, r.ctrl1_y, r.ctrl2_x, r.ctrl2_y};
            },
            c);
    };
    flatten(got, g);
    flatten(want, w);
    for (std::size_t i = 0; i < g.size(); ++i) EXPECT_TRUE(near(g[i], w[i])) << i << ": " << g[i] << " vs " << w[i];
}

void expect_same_curve_parts(const CurvePartCollection& got, const CurvePartCollection& want) {
    ASSERT_EQ(got.len(), want.len());
    for (std::size_t p = 0; p < got.len(); ++p) {
        auto g = got.lines()[p]->lock().value();
        auto w = want.lines()[p]->lock().value();
        ASSERT_EQ(g->len(), w->len()) << text_of(*g) << " vs " << text_of(*w);
        for (std::size_t i = 0; i < g->len(); ++i) {
            EXPECT_TRUE(model_test::same_coord(g->get(i)->first, w->get(i)->first)) << text_of(*g);
            expect_same_curve(g->get(i)->second, w->get(i)->second);
        }
    }
}

template <typename G>
void expect_same_multipart(const G& got, const G& want, const auto& straight_of, const auto& curved_of) {
    EXPECT_EQ(got.dims(), want.dims());
    EXPECT_EQ(got.sr(), want.sr());
    EXPECT_EQ(text_of(*straight_of(got)->lock().value()), text_of(*straight_of(want)->lock().value()));
    expect_same_curve_parts(*curved_of(got)->lock().value(), *curved_of(want)->lock().value());
}

const CurveData kHalfCircle = CircularArc{1, 1};                           // (0,0) -> (2,0) over the top
const CurveData kHalfEllipse = EllipticArc{2, 0, 0, 2, 0.5, false, true};  // (0,0) -> (4,0), central angle pi
const CurveData kBezier = BezierCurve{1, 1, 3, 1};

TEST_F(ModelEngine, PointsInEveryDimension) {
    for (CoordDims dims : kAllDims) {
        for (double x : {1.5, kNaN}) {
            const VeltCoord c = coord(dims, x, -2);
            const VeltGeometryPoint point{c.x(), c.y(), c.z(), c.m()};
            auto back = VeltGeometryPoint::try_from_owned(*point.as_geometry_owned());
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(text_of(*back), text_of(point));
            EXPECT_TRUE(std::isnan(back->x) == std::isnan(x));
        }
    }
}

TEST_F(ModelEngine, MultipointsInEveryDimension) {
    for (CoordDims dims : kAllDims) {
        VeltGeometryMultipoint multipoint(straight(dims, {{1, 2}, {kNaN, 4}, {5, 6}}), std::nullopt);
        auto back = VeltGeometryMultipoint::try_from_owned(*multipoint.as_geometry_owned());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(text_of(*back), text_of(multipoint));
        EXPECT_EQ(back->dims(), dims);
    }
}

TEST_F(ModelEngine, EnvelopesInEveryDimension) {
    for (CoordDims dims : kAllDims) {
        VeltGeometryEnvelope envelope;
        envelope.xmin = 1, envelope.xmax = 2, envelope.ymin = 3, envelope.ymax = 4;
        if (has_z(dims)) envelope.zmin = 5, envelope.zmax = 6;
        if (has_m(dims)) envelope.mmin = 7, envelope.mmax = 8;
        auto back = VeltGeometryEnvelope::try_from_owned(*envelope.as_geometry_owned());
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(text_of(*back), text_of(envelope));
    }
    // A single z bound travels as no z range; ids never reach the engine.
    VeltGeometryEnvelope partial;
    partial.xmin = 1, partial.xmax = 2, partial.ymin = 3, partial.ymax = 4, partial.zmin = 5, partial.idmin = 7;
    auto back = VeltGeometryEnvelope::try_from_owned(*partial.as_geometry_owned());
    EXPECT_EQ(text_of(*back), R"({"xmin": 1, "ymin": 3, "xmax": 2, "ymax": 4})");
}

TEST_F(ModelEngine, PolylinesInEveryDimensionStraightAndCurved) {
    for (CoordDims dims : kAllDims) {
        auto built = VeltGeometryPolyline::try_new_with_curves(
            has_z(dims), has_m(dims), {straight(dims, {{0, 0}, {1, 1}, {2, 0}}), straight(dims, {{5, 5}, {6, 6}})},
            {curved(dims, {{0, 0, Line{}}, {2, 0, kHalfCircle}, {6, 0, BezierCurve{3, 1, 5, -1}}}),
             curved(dims, {{0, 0, Line{}}, {4, 0, kHalfEllipse}, {4, 4, Line{}}})},
            std::nullopt);
        ASSERT_TRUE(built.has_value());
        auto back = VeltGeometryPolyline::try_from_owned(*built->as_geometry_owned());
        ASSERT_TRUE(back.has_value()) << back.error().display();
        expect_same_multipart(*back, *built, [](const auto& g) { return g.paths(); },
                              [](const auto& g) { return g.curve_paths(); });
    }
}

TEST_F(ModelEngine, PolygonsInEveryDimensionStraightAndCurved) {
    for (CoordDims dims : kAllDims) {
        auto built = VeltGeometryPolygon::try_new_with_curves(
            has_z(dims), has_m(dims), {straight(dims, {{0, 0}, {0, 4}, {4, 4}, {4, 0}})},
            {curved(dims, {{0, 0, Line{}}, {2, 0, kHalfCircle}}),
             curved(dims, {{0, 0, Line{}}, {4, 0, kBezier}, {4, -4, Line{}}})},
            std::nullopt);
        ASSERT_TRUE(built.has_value());
        auto back = VeltGeometryPolygon::try_from_owned(*built->as_geometry_owned());
        ASSERT_TRUE(back.has_value()) << back.error().display();
        EXPECT_EQ(back->dims(), dims);
        EXPECT_EQ(text_of(*back->rings()->lock().value()), text_of(*built->rings()->lock().value()));
        // The half disc closes with a straight segment, so it comes back with its two vertices.
        expect_same_curve_parts(*back->curve_rings()->lock().value(), *built->curve_rings()->lock().value());
    }
}

TEST_F(ModelEngine, RingWhoseClosingSegmentIsAnArc) {
    const CurveData closing = CircularArc{-1, 1};
    auto ring = curved(CoordDims::XYZ, {{0, 0, Line{}}, {2, 0, Line{}}, {2, 2, Line{}}, {0, 2, Line{}}, {0, 0, closing}});
    // The closing arc from (0,2) to (0,0) bulges left through (-1,1).
    auto polygon = *VeltGeometryPolygon::try_new_with_curves(true, false, {}, {ring}, std::nullopt);
    auto engine = *polygon.as_polygon();
    {
        auto parts = engine.parts().into_iter();
        auto part = parts.next();
        ASSERT_TRUE(part.has_value());
        EXPECT_EQ(part->point_count(), 4u);
    }
    auto back = *VeltGeometryPolygon::from_immutable_polygon(std::move(engine));
    auto got = back.curve_rings()->lock().value()->lines()[0]->lock().value();
    ASSERT_EQ(got->len(), 5u);
    EXPECT_TRUE(is_line(got->get(0)->second));
    EXPECT_TRUE(model_test::same_coord(got->get(4)->first, got->get(0)->first));
    expect_same_curve(got->get(4)->second, closing);

    // All straight: exactly the engine's points, closing segment implicit.
    auto square = *VeltGeometryPolygon::try_new_with_curves(
        false, false, {}, {curved(CoordDims::XY, {{0, 0, Line{}}, {2, 0, Line{}}, {2, 2, Line{}}})}, std::nullopt);
    auto straight_back = *VeltGeometryPolygon::try_from_owned(*square.as_geometry_owned());
    EXPECT_EQ(text_of(straight_back), R"({"rings": [[[0, 0], [2, 0], [2, 2]]]})");
}

TEST_F(ModelEngine, ArcsComeBackAsTheirParameters) {
    const double c = std::cos(std::numbers::pi / 4);
    auto quarter = curved(CoordDims::XY, {{1, 0, Line{}}, {0, 1, CircularArc{c, c}}});
    auto line = *VeltGeometryPolyline::try_new_with_curves(false, false, {}, {quarter}, std::nullopt);
    auto back = *VeltGeometryPolyline::try_from_owned(*line.as_geometry_owned());
    auto part = back.curve_paths()->lock().value()->lines()[0]->lock().value();
    expect_same_curve(part->get(1)->second, CircularArc{c, c});
    // A central angle of exactly pi is not minor.
    auto half = curved(CoordDims::XY, {{0, 0, Line{}}, {4, 0, kHalfEllipse}});
    auto ellipse = *VeltGeometryPolyline::try_new_with_curves(false, false, {}, {half}, std::nullopt);
    auto arc = *VeltGeometryPolyline::try_from_owned(*ellipse.as_geometry_owned());
    auto got = std::get<EllipticArc>(arc.curve_paths()->lock().value()->lines()[0]->lock().value()->get(1)->second);
    EXPECT_FALSE(got.minor);
    EXPECT_TRUE(got.clockwise);
}

TEST_F(ModelEngine, EnginePartOrderIsCurvedFirstAndSortedBack) {
    auto a = straight(CoordDims::XY, {{0, 0}, {1, 0}, {1, 1}});
    auto b = straight(CoordDims::XY, {{5, 5}, {6, 5}, {6, 6}});
    auto c = curved(CoordDims::XY, {{10, 0, Line{}}, {12, 0, kHalfCircle}});
    auto polygon = *VeltGeometryPolygon::try_new_with_curves(false, false, {a, b}, {c}, std::nullopt);
    auto engine = *polygon.as_polygon();
    {
        auto parts = engine.parts().into_iter();
        std::vector<bool> curves;
        while (auto part = parts.next()) curves.push_back(part->has_curves());
        EXPECT_EQ(curves, (std::vector<bool>{true, false, false}));
    }
    auto back = *VeltGeometryPolygon::from_immutable_polygon(std::move(engine));
    EXPECT_EQ(text_of(*back.rings()->lock().value()), "[[[0, 0], [1, 0], [1, 1]], [[5, 5], [6, 5], [6, 6]]]");
    EXPECT_EQ(back.curve_rings()->lock().value()->len(), 1u);

    // As a polyline: the rings become paths, curved first, without closing vertices.
    auto as_line = *VeltGeometryPolyline::from_immutable_polyline(*polygon.to_polyline());
    EXPECT_EQ(text_of(*as_line.paths()->lock().value()), "[[[0, 0], [1, 0], [1, 1]], [[5, 5], [6, 5], [6, 6]]]");
}

// The engine learns dimensions only from vertices, so an empty geometry comes back empty and
// without z or m whatever it had.
TEST_F(ModelEngine, EmptyGeometriesComeBackEmpty) {
    for (CoordDims dims : kAllDims) {
        const bool z = has_z(dims), m = has_m(dims);
        auto line = *VeltGeometryPolyline::try_new_with_curves(z, m, {}, {}, std::nullopt);
        EXPECT_EQ(text_of(*VeltGeometryPolyline::try_from_owned(*line.as_geometry_owned())), R"({"paths": []})");
        auto polygon = *VeltGeometryPolygon::try_new_with_curves(z, m, {}, {}, std::nullopt);
        EXPECT_EQ(text_of(*VeltGeometryPolygon::try_from_owned(*polygon.as_geometry_owned())), R"({"rings": []})");
        VeltGeometryMultipoint multipoint(straight(dims, {}), std::nullopt);
        EXPECT_EQ(text_of(*VeltGeometryMultipoint::try_from_owned(*multipoint.as_geometry_owned())),
                  R"({"points": []})");
    }
}

TEST_F(ModelEngine, WrongKindIsKind12AndReleasesTheGeometry) {
    auto polygon = *VeltGeometryPolygon::try_new_with_curves(
        false, false, {straight(CoordDims::XY, {{0, 0}, {1, 0}, {1, 1}})}, {}, std::nullopt);
    auto wrong = VeltGeometryPolyline::try_from_owned(*polygon.as_geometry_owned());
    ASSERT_FALSE(wrong.has_value());
    EXPECT_EQ(wrong.error().kind(), ErrorKind::CorvaneLibrary);
    EXPECT_EQ(VeltGeometryPoint::try_from_owned(*polygon.as_geometry_owned()).error().kind(), ErrorKind::CorvaneLibrary);
}

SpatialReference sr_of(std::optional<uint32_t> wkid, std::optional<uint32_t> latest = std::nullopt,
                       std::optional<uint32_t> vcs = std::nullopt, std::optional<uint32_t> latest_vcs = std::nullopt,
                       std::optional<std::string> wkt = std::nullopt, std::optional<std::string> wkt2 = std::nullopt) {
    return SpatialReference{wkid, latest, vcs, latest_vcs, std::move(wkt), std::move(wkt2)};
}

TEST_F(ModelEngine, SpatialReferencesThroughTheEngine) {
    const std::pair<SpatialReference, const char*> rows[] = {
        {sr_of(4326), R"({"wkid":4326})"},
        {sr_of(std::nullopt, 3857), R"({"wkid":3857})"},
        {sr_of(4326, 3857), R"({"wkid":3857})"},
        {sr_of(4326, std::nullopt, std::nullopt, std::nullopt, "not used"), R"({"wkid":4326})"},
        {sr_of(4326, std::nullopt, std::nullopt, 5773), R"({"wkid":4326,"vcsWkid":5773})"},
    };
    for (const auto& [sr, text] : rows) {
        const VeltGeometryPoint point{1, 2, std::nullopt, std::nullopt, sr};
        auto back = VeltGeometryPoint::try_from_owned(*point.as_geometry_owned());
        ASSERT_TRUE(back.has_value() && back->sr.has_value()) << text;
        EXPECT_EQ(text_of(*back->sr), text);
    }
    auto only_wkt2 = to_geom_sr(sr_of(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, "W"));
    ASSERT_TRUE(only_wkt2.has_value());
    EXPECT_FALSE(only_wkt2->has_value());
}

TEST_F(ModelEngine, RefusedSpatialReferencesAreCorvaneLibraryErrors) {
    const SpatialReference refused[] = {
        sr_of(999999),
        sr_of(std::nullopt, std::nullopt, std::nullopt, std::nullopt, "no such text"),
        sr_of(std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::string("GEOGCS[\0]", 9)),
    };
    for (const auto& sr : refused) {
        // Converted under the object's own lock, as the Python classes do: an error, not a stop.
        auto cell = make_shared_cell(*VeltGeometryPolygon::try_new_with_curves(
            false, false, {straight(CoordDims::XY, {{0, 0}, {1, 0}, {1, 1}})}, {}, sr));
        {
            auto polygon = *lock_model(*cell);
            auto result = polygon->as_polygon();
            ASSERT_FALSE(result.has_value());
            EXPECT_EQ(result.error().kind(), ErrorKind::CorvaneLibrary);
            EXPECT_EQ(result.error().display().rfind("Corvane library error: '", 0), 0u) << result.error().display();
        }
        ASSERT_TRUE(lock_model(*cell).has_value());
        EXPECT_FALSE((*lock_model(*cell))->is_empty());
        EXPECT_EQ(VeltGeometryPoint({1, 2, std::nullopt, std::nullopt, sr}).as_point().error().kind(),
                  ErrorKind::CorvaneLibrary);
    }
}

}  // namespace
