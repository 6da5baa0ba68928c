// Geodetic area, length and densification against GeographicLib's own tools (GeodSolve,
// RhumbSolve, Planimeter), and what the curve types other than those two must satisfy.
#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>
#include <GeographicLib/Rhumb.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "engine_test.h"
#include "peer_tools.h"

namespace engine_test {
namespace {

constexpr int32_t kGeodesic = KX_CURVE_TYPE_Geodesic, kLoxodrome = KX_CURVE_TYPE_Loxodrome,
                  kGreatElliptic = KX_CURVE_TYPE_GreatElliptic, kNormalSection = KX_CURVE_TYPE_NormalSection,
                  kShapePreserving = KX_CURVE_TYPE_ShapePreserving;

std::string coordinates(const std::vector<Vertex>& points) {
    std::ostringstream out;
    out.precision(17);
    out << "[";
    for (size_t i = 0; i < points.size(); ++i) out << (i ? "," : "") << "[" << points[i].x << "," << points[i].y << "]";
    out << "]";
    return out.str();
}

Geometry shape_of_parts(const char* key, const std::vector<std::vector<Vertex>>& parts, int wkid) {
    std::ostringstream text;
    text << "{\"" << key << "\":[";
    for (size_t i = 0; i < parts.size(); ++i) text << (i ? "," : "") << coordinates(parts[i]);
    text << "],\"spatialReference\":{\"wkid\":" << wkid << "}}";
    return from_json(text.str());
}

Geometry shape(const char* key, const std::vector<Vertex>& points, int wkid) {
    return shape_of_parts(key, {points}, wkid);
}

// Longitude and latitude of the points as cs2cs gives them (for a projected reference).
std::vector<Vertex> geographic(const std::vector<Vertex>& points, int wkid) {
    if (wkid == 4326) return points;
    std::ostringstream input;
    input.precision(17);
    for (const auto& p : points) input << p.x << " " << p.y << "\n";
    std::vector<Vertex> result;
    for (const auto& row : run_tool("cs2cs -f %.12f EPSG:" + std::to_string(wkid) + " EPSG:4326", input.str()))
        result.push_back({row.at(1), row.at(0)});  // EPSG:4326 answers latitude first
    return result;
}

// The peer's length of the path (closed when `ring`): GeodSolve or RhumbSolve, segment by segment.
double peer_length(const std::vector<Vertex>& lonlat, bool ring, int32_t curve) {
    std::ostringstream input;
    input.precision(17);
    const size_t n = ring ? lonlat.size() : lonlat.size() - 1;
    for (size_t i = 0; i < n; ++i) {
        const auto& a = lonlat[i];
        const auto& b = lonlat[(i + 1) % lonlat.size()];
        input << a.y << " " << a.x << " " << b.y << " " << b.x << "\n";
    }
    const bool rhumb = curve == kLoxodrome;
    double total = 0;
    for (const auto& row : run_tool(rhumb ? "RhumbSolve -i -p 9" : "GeodSolve -i -p 9", input.str()))
        total += row.at(rhumb ? 1 : 2);
    return total;
}

double peer_area(const std::vector<Vertex>& lonlat, int32_t curve) {
    std::ostringstream input;
    input.precision(17);
    for (const auto& p : lonlat) input << p.y << " " << p.x << "\n";
    const auto rows = run_tool(curve == kLoxodrome ? "Planimeter -R -p 6" : "Planimeter -E -p 6", input.str());
    // The peer signs the area by winding; a ring's region is the same whichever way it runs.
    return rows.empty() ? NAN : std::abs(rows.at(0).at(2));
}

struct MeasureCase {
    const char* name;
    int wkid;
    std::vector<Vertex> points;  // a clockwise ring for the area, a path for the length
};

const std::vector<MeasureCase> kMeasureCases = {
    {"small", 4326, {{10, 50}, {10, 50.01}, {10.01, 50.01}, {10.01, 50}}},
    {"continental", 4326, {{-120, 30}, {-100, 60}, {-70, 45}, {-90, 20}}},
    {"across the antimeridian", 4326, {{170, -10}, {170, 10}, {-170, 10}, {-170, -10}}},
    {"round the north pole", 4326, {{0, 80}, {90, 80}, {180, 80}, {-90, 80}}},
    {"utm", 32632, {{400000, 5500000}, {400000, 5600000}, {500000, 5600000}, {500000, 5500000}}},
    {"web mercator", 3857, {{0, 0}, {0, 1e6}, {1e6, 1e6}, {1e6, 0}}},
    {"polar stereographic round the south pole", 3031, {{2e6, 0}, {0, -2.2e6}, {-1.8e6, 0}, {0, 2.1e6}}},
};

class GeodesyTest : public EngineTest {};

TEST_F(GeodesyTest, LengthAndAreaMatchGeographicLib) {
    for (const auto& c : kMeasureCases) {
        const auto lonlat = geographic(c.points, c.wkid);
        for (int32_t curve : {kGeodesic, kLoxodrome}) {
            SCOPED_TRACE(std::string(c.name) + (curve == kGeodesic ? " geodesic" : " loxodrome"));
            Geometry polygon = shape("rings", c.points, c.wkid);
            Geometry polyline = shape("paths", c.points, c.wkid);
            const double perimeter = peer_length(lonlat, true, curve);
            EXPECT_NEAR(KX_GeometryEngine_lengthGeodetic(polygon.get(), nullptr, curve, ok()), perimeter, 1e-9 * perimeter);
            const double path = peer_length(lonlat, false, curve);
            EXPECT_NEAR(KX_GeometryEngine_lengthGeodetic(polyline.get(), nullptr, curve, ok()), path, 1e-9 * path);
            const double area = peer_area(lonlat, curve);
            EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, curve, ok()), area, 1e-6 * std::abs(area));
            // The same ring run the other way holds the same region.
            Geometry reversed = shape("rings", {c.points.rbegin(), c.points.rend()}, c.wkid);
            EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(reversed.get(), nullptr, curve, ok()), area, 1e-6 * std::abs(area));
            EXPECT_EQ(KX_GeometryEngine_areaGeodetic(polyline.get(), nullptr, curve, ok()), 0.0);
        }
    }
}

TEST_F(GeodesyTest, HolesAndMultipleRingsAddUp) {
    Geometry outer = shape("rings", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 4326);
    Geometry hole = shape("rings", {{2, 2}, {4, 2}, {4, 4}, {2, 4}}, 4326);
    Geometry both = from_json(R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]],[[2,2],[4,2],[4,4],[2,4],[2,2]]],)"
                              R"("spatialReference":{"wkid":4326}})");
    const double a = KX_GeometryEngine_areaGeodetic(outer.get(), nullptr, kGeodesic, ok());
    const double h = KX_GeometryEngine_areaGeodetic(hole.get(), nullptr, kGeodesic, ok());
    // A ring on its own is an exterior whichever way it runs; inside another it is a hole.
    EXPECT_GT(h, 0);
    EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(both.get(), nullptr, kGeodesic, ok()), a - h, 1e-3);
}

TEST_F(GeodesyTest, UnitsConvertTheResults) {
    Geometry polygon = shape("rings", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, 4326);
    const double m2 = KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, kGeodesic, ok());
    const double m = KX_GeometryEngine_lengthGeodetic(polygon.get(), nullptr, kGeodesic, ok());
    struct UnitCase {
        bool area;
        int32_t code;
        double factor;  // base units per unit
    };
    for (const auto& u : std::vector<UnitCase>{{true, 109401, 1e4}, {true, 109402, 4046.8564224}, {true, 109414, 1e6},
                                               {true, 109405, 0.09290304}, {false, 9036, 1000}, {false, 9002, 0.3048},
                                               {false, 9030, 1852}, {false, 9093, 1609.344}}) {
        Unit unit(u.area ? KX_AreaUnit_create(u.code, ok()) : KX_LinearUnit_create(u.code, ok()));
        const double value = u.area ? KX_GeometryEngine_areaGeodetic(polygon.get(), unit.get(), kGeodesic, ok())
                                    : KX_GeometryEngine_lengthGeodetic(polygon.get(), unit.get(), kGeodesic, ok());
        EXPECT_NEAR(value, (u.area ? m2 : m) / u.factor, 1e-12 * value) << u.code;
    }
}

// The great ellipse lies in the plane through the centre and both ends, the normal section in the
// plane through the normal at the start and the end: every densified vertex must lie in it.
TEST_F(GeodesyTest, PlaneSectionsStayInTheirPlanes) {
    const GeographicLib::Geocentric earth(6378137, 1 / 298.257223563);
    const auto ecef = [&](double lon, double lat) {
        std::array<double, 3> p;
        earth.Forward(lat, lon, 0, p[0], p[1], p[2]);
        return p;
    };
    const auto det = [](std::array<double, 3> a, std::array<double, 3> b, std::array<double, 3> c) {
        return a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0]);
    };
    const Vertex start{-30, 10}, end{60, 55};
    Geometry line = shape("paths", {start, end}, 4326);
    for (int32_t curve : {kGreatElliptic, kNormalSection}) {
        Geometry dense(KX_GeometryEngine_densifyGeodetic(line.get(), nullptr, curve, 500000, ok()));
        const auto points = part_points(dense.get(), 0);
        ASSERT_GT(points.size(), 10u);
        const auto p1 = ecef(start.x, start.y), p2 = ecef(end.x, end.y);
        const double phi = start.y * M_PI / 180, lambda = start.x * M_PI / 180;
        const std::array<double, 3> normal{std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
        for (const auto& v : points) {
            const auto q = ecef(v.x, v.y);
            const auto rel = [&](std::array<double, 3> p) { return std::array<double, 3>{p[0] - p1[0], p[1] - p1[1], p[2] - p1[2]}; };
            // The volume spanned, over the product of the spanning lengths: the sine of the tilt.
            const double tilt = curve == kGreatElliptic ? det(p1, p2, q) / (6378137.0 * 6378137.0 * 6378137.0)
                                                        : det(normal, rel(p2), rel(q)) / (6378137.0 * 6378137.0);
            EXPECT_NEAR(tilt, 0, 1e-9) << curve << " at " << v.x << " " << v.y;
        }
    }
}

// Where the curve types coincide (meridians, the equator) they measure alike; elsewhere the
// geodesic is the shortest, and the straight line of longitude and latitude along a parallel is
// the parallel itself.
TEST_F(GeodesyTest, CurveTypesAgreeWhereTheyCoincideAndDifferWhereTheyMust) {
    struct Case {
        Vertex a, b;
        int32_t curve;
        double expected;  // NaN: only longer than the geodesic
    };
    const double a = 6378137, e2 = (2 - 1 / 298.257223563) / 298.257223563;
    const double parallel = a * std::cos(M_PI / 4) / std::sqrt(1 - e2 * 0.5) * (10 * M_PI / 180);
    const auto geodesic = [](Vertex a, Vertex b) { return peer_length({a, b}, false, kGeodesic); };
    const std::vector<Case> cases = {
        {{10, -40}, {10, 60}, kGreatElliptic, geodesic({10, -40}, {10, 60})},
        {{10, -40}, {10, 60}, kNormalSection, geodesic({10, -40}, {10, 60})},
        {{10, -40}, {10, 60}, kShapePreserving, geodesic({10, -40}, {10, 60})},
        {{-50, 0}, {80, 0}, kGreatElliptic, geodesic({-50, 0}, {80, 0})},
        {{-50, 0}, {80, 0}, kNormalSection, geodesic({-50, 0}, {80, 0})},
        {{0, 45}, {10, 45}, kShapePreserving, parallel},
        {{0, 45}, {10, 45}, kLoxodrome, parallel},
        {{-30, 10}, {60, 55}, kGreatElliptic, NAN},
        {{-30, 10}, {60, 55}, kNormalSection, NAN},
        {{-30, 10}, {60, 55}, kShapePreserving, NAN},
    };
    for (const auto& c : cases) {
        Geometry line = shape("paths", {c.a, c.b}, 4326);
        const double length = KX_GeometryEngine_lengthGeodetic(line.get(), nullptr, c.curve, ok());
        if (std::isnan(c.expected)) {
            const double shortest = geodesic(c.a, c.b);
            EXPECT_GT(length, shortest) << c.curve;
            EXPECT_LT(length, shortest * (c.curve == kShapePreserving ? 1.2 : 1.001)) << c.curve;
        } else {
            EXPECT_NEAR(length, c.expected, 1e-8 * c.expected) << c.curve << " " << c.a.x << "," << c.a.y;
        }
    }
}

TEST_F(GeodesyTest, DensifyKeepsVerticesSpacingZAndM) {
    Geometry line = from_json(R"({"hasZ":true,"hasM":true,"paths":[[[170,0,0,0],[-170,0,20,40],[-170,10,20,50]]],)"
                              R"("spatialReference":{"wkid":4326}})");
    Unit km(KX_LinearUnit_create(9036, ok()));
    // (The straight line of longitude and latitude from 170 to -170 runs the long way round; the
    // curves on the ellipsoid cross the antimeridian.)
    for (int32_t curve : {kGeodesic, kLoxodrome, kGreatElliptic, kNormalSection}) {
        SCOPED_TRACE(curve);
        Geometry dense(KX_GeometryEngine_densifyGeodetic(line.get(), km.get(), curve, 250, ok()));
        const auto points = part_points(dense.get(), 0);
        ASSERT_GE(points.size(), 15u);
        // The original vertices are kept exactly; between them the longitudes run on past 180.
        EXPECT_EQ(points.front().x, 170);
        EXPECT_EQ(points.back().x, -170);
        EXPECT_EQ(points.back().y, 10);
        for (size_t i = 1; i + 1 < points.size(); ++i) {
            const auto& p = points[i];
            if (p.y == 0 && p.z == 20) {
                EXPECT_EQ(p.x, -170);
                continue;
            }
            if (p.y == 0) {
                EXPECT_GT(p.x, 170);
                EXPECT_LT(p.x, 190);
                // z and m run with the distance along the first segment (the equator, uniform).
                EXPECT_NEAR(p.z, (p.x - 170), 1e-6);
                EXPECT_NEAR(p.m, 2 * (p.x - 170), 1e-6);
            }
        }
        const double total = KX_GeometryEngine_lengthGeodetic(line.get(), nullptr, curve, ok());
        const double dense_total = KX_GeometryEngine_lengthGeodetic(dense.get(), nullptr, kGeodesic, ok());
        EXPECT_NEAR(dense_total, total, 1e-6 * total);
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const double piece = peer_length({points[i], points[i + 1]}, false, kGeodesic);
            EXPECT_LE(piece, 250000 * (1 + 1e-6));
        }
    }
}

TEST_F(GeodesyTest, ShapePreservingFollowsTheGeometrysOwnStraightLine) {
    Geometry line = shape("paths", {{170, 0}, {-170, 0}}, 4326);
    Geometry dense(KX_GeometryEngine_densifyGeodetic(line.get(), nullptr, kShapePreserving, 1000000, ok()));
    const auto points = part_points(dense.get(), 0);
    ASSERT_EQ(points.size(), 39u);  // 340 degrees of the equator in 38 pieces
    for (size_t i = 1; i + 1 < points.size(); ++i) {
        EXPECT_NEAR(points[i].x, 170 - 340.0 * static_cast<double>(i) / 38, 1e-9);
        EXPECT_EQ(points[i].y, 0);
    }
}

// Near a pole, pieces of a kilometre span degrees of longitude: measured pieces are bounded in
// longitude too. Along parallels and meridians the straight line of longitude and latitude is the
// loxodrome, which RhumbSolve measures exactly (here in pieces of at most 90 degrees).
TEST_F(GeodesyTest, ShapePreservingIsExactAlongParallelsNearThePoles) {
    struct Case {
        const char* name;
        std::vector<Vertex> path;  // along one parallel
    };
    const std::vector<Case> cases = {
        {"89.99 S, half a turn", {{0, -89.99}, {180, -89.99}}},
        {"89.9 N, 340 degrees the long way", {{170, 89.9}, {-170, 89.9}}},
        {"60 N", {{-10, 60}, {100, 60}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Vertex> pieces;
        const double from = c.path[0].x, to = c.path[1].x;
        for (int k = 0; k <= 4; ++k) pieces.push_back({from + (to - from) * k / 4, c.path[0].y});
        const double expected = peer_length(pieces, false, kLoxodrome);
        Geometry line = shape("paths", c.path, 4326);
        EXPECT_NEAR(KX_GeometryEngine_lengthGeodetic(line.get(), nullptr, kShapePreserving, ok()), expected, 1e-8 * expected);
    }
    // A box of two parallels and two meridians near the south pole: its area, against Planimeter's
    // rhumb-line area of the same box.
    const std::vector<Vertex> box = {{0, -89.99}, {0, -89.9}, {90, -89.9}, {90, -89.99}};
    std::vector<Vertex> dense_box;
    for (int k = 0; k < 4; ++k) dense_box.push_back({0, -89.99 + 0.09 * k / 4});
    for (int k = 0; k < 4; ++k) dense_box.push_back({90.0 * k / 4, -89.9});
    for (int k = 0; k < 4; ++k) dense_box.push_back({90, -89.9 - 0.09 * k / 4});
    for (int k = 0; k < 4; ++k) dense_box.push_back({90 - 90.0 * k / 4, -89.99});
    Geometry polygon = shape("rings", box, 4326);
    const double area = peer_area(dense_box, kLoxodrome);
    EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, kShapePreserving, ok()), area, 1e-7 * area);
}

// A ring's region is the one it holds in its own longitudes and latitudes, whichever way it runs,
// in [0, A): the region north of 30 S, closed along the north pole, is most of the ellipsoid.
// Planimeter's signed area of the parallel (the smaller side) gives the rest.
TEST_F(GeodesyTest, RegionsLargerThanHalfTheEllipsoidKeepTheirSize) {
    const std::vector<Vertex> parallel = {{-180, -30}, {-90, -30}, {0, -30}, {90, -30}};
    const std::vector<Vertex> north = {{-180, -30}, {-180, 90}, {180, 90}, {180, -30}, {90, -30}, {0, -30}, {-90, -30}};
    const double ellipsoid = GeographicLib::Geodesic::WGS84().EllipsoidArea();
    for (int32_t curve : {kGeodesic, kLoxodrome}) {
        const double expected = ellipsoid - peer_area(parallel, curve);
        EXPECT_GT(expected, ellipsoid / 2);
        for (bool reversed : {false, true}) {
            auto ring = north;
            if (reversed) std::reverse(ring.begin(), ring.end());
            Geometry polygon = shape("rings", ring, 4326);
            EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, curve, ok()), expected, 1e-9 * expected)
                << curve << (reversed ? " reversed" : "");
        }
    }
}

// GeographicLib's area of the smaller side of the ring (signed, so never folded through the whole
// ellipsoid's area): every digit of a small region.
double smaller_side(const std::vector<Vertex>& ring, int32_t curve) {
    const auto signed_area = [&](auto polygon) {
        for (const auto& p : ring) polygon.AddPoint(p.y, p.x);
        double perimeter = 0, area = 0;
        polygon.Compute(false, true, perimeter, area);
        return std::abs(area);
    };
    return curve == kLoxodrome ? signed_area(GeographicLib::PolygonAreaRhumb(GeographicLib::Rhumb::WGS84()))
                               : signed_area(GeographicLib::PolygonArea(GeographicLib::Geodesic::WGS84()));
}

// A ring's region keeps GeographicLib's precision in either winding, from square millimetres to
// past half the ellipsoid: the side it holds is taken directly, never as the whole ellipsoid less
// the other side, which kept only the digits of the whole (1/16 m²). Small rings (edges under a
// kilometre and 0.025 degrees) are measured alike by every curve type.
TEST_F(GeodesyTest, AreasKeepTheirDigitsFromSquareMillimetresToPastHalfTheEllipsoid) {
    const auto square = [](double lon, double lat, double side) {  // clockwise
        return std::vector<Vertex>{{lon, lat}, {lon, lat + side}, {lon + side * 1.4, lat + side}, {lon + side * 1.4, lat}};
    };
    struct Case {
        const char* name;
        std::vector<Vertex> ring;
        bool small;      // every curve type measures it as the geodesic ring
        bool past_half;  // it holds the larger side
    };
    const std::vector<Case> cases = {
        {"1 mm2", square(10, 45, 1e-8), true, false},
        {"0.8 m2", square(10, 45, 8e-6), true, false},
        {"79 m2", square(-73.98, 40.75, 8e-5), true, false},
        {"79 m2 across the antimeridian", square(179.99996, -33, 8e-5), true, false},
        {"1e6 m2", square(10, 45, 0.007), true, false},
        {"1e10 m2", square(10, 45, 0.9), false, false},
        {"1e13 m2", square(-20, -40, 30), false, false},
        {"north of 30 S", {{-180, -30}, {-180, 90}, {180, 90}, {180, -30}, {90, -30}, {0, -30}, {-90, -30}}, false, true},
    };
    const double whole = GeographicLib::Geodesic::WGS84().EllipsoidArea();
    for (const auto& c : cases) {
        for (int32_t curve : {kGeodesic, kLoxodrome, kGreatElliptic, kNormalSection, kShapePreserving}) {
            if (!c.small && curve != kGeodesic && curve != kLoxodrome) continue;
            for (bool reversed : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + " curve " + std::to_string(curve) + (reversed ? " reversed" : ""));
                auto ring = c.ring;
                if (reversed) std::reverse(ring.begin(), ring.end());
                const double side = smaller_side(ring, curve == kLoxodrome ? kLoxodrome : kGeodesic);
                const double expected = c.past_half ? whole - side : side;
                Geometry polygon = shape("rings", ring, 4326);
                EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, curve, ok()), expected, 1e-12 * expected);
            }
        }
    }
}

// Where the curve types coincide (meridians, the equator, along a pole) large regions measure alike
// and exactly: from the equator to the pole, d degrees of longitude hold d / 720 of the ellipsoid;
// from pole to pole, d / 360.
TEST_F(GeodesyTest, RegionsBoundedByMeridiansAndTheEquatorMeasureExactlyForEveryCurveType) {
    struct Case {
        const char* name;
        std::vector<Vertex> ring;
        double share;
    };
    const std::vector<Case> cases = {
        {"a degree to the pole", {{0, 0}, {0, 90}, {1, 90}, {1, 0}}, 1.0 / 720},
        {"a quarter turn to the pole", {{0, 0}, {0, 90}, {90, 90}, {90, 0}}, 90.0 / 720},
        {"three quarter turns pole to pole", {{0, -90}, {0, 0}, {0, 90}, {270, 90}, {270, 0}, {270, -90}}, 270.0 / 360},
    };
    const double whole = GeographicLib::Geodesic::WGS84().EllipsoidArea();
    for (const auto& c : cases)
        for (int32_t curve : {kGeodesic, kLoxodrome, kGreatElliptic, kNormalSection, kShapePreserving})
            for (bool reversed : {false, true}) {
                SCOPED_TRACE(std::string(c.name) + " curve " + std::to_string(curve) + (reversed ? " reversed" : ""));
                auto ring = c.ring;
                if (reversed) std::reverse(ring.begin(), ring.end());
                Geometry polygon = shape("rings", ring, 4326);
                const double expected = c.share * whole;
                EXPECT_NEAR(KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, curve, ok()), expected, 1e-12 * expected);
            }
}

// Web Mercator's coordinates of longitudes and latitudes (x unrolled as the longitudes are).
std::vector<Vertex> web_mercator(const std::vector<Vertex>& lonlat) {
    constexpr double a = 6378137, degree = M_PI / 180;
    std::vector<Vertex> out;
    for (const auto& p : lonlat) out.push_back({a * p.x * degree, a * std::atanh(std::sin(p.y * degree))});
    return out;
}

// A ring bounds the region it draws, however far its edges bow past its vertices and however its
// longitudes are written. A geodesic between two points of a parallel runs poleward of it (0.38
// degrees between 0 and 10 E at 60 N), past the apex of a sliver drawn on the parallel, so the
// sliver winds the other way on the ellipsoid than in its plane; a hole across the antimeridian
// written in wrapped longitudes winds the other way in the plane than its shell. Each case is
// measured in both windings against Planimeter (exact geodesics, or rhumb lines), its first ring
// the exterior and the rest holes; the curve types the peer lacks stay near the geodesic (or, for
// ShapePreserving, the rhumb) measure of rings this small.
TEST_F(GeodesyTest, RingsHoldTheRegionTheyDrawHoweverTheirEdgesBowOrTheirLongitudesAreWritten) {
    struct Case {
        const char* name;
        std::vector<std::vector<Vertex>> rings;  // longitude and latitude
        int wkid;
        bool written_across = false;  // a ring written across the antimeridian: ShapePreserving runs the long way
    };
    const std::vector<Vertex> shell = {{179, 0}, {179, 2}, {181, 2}, {181, 0}};
    const std::vector<Vertex> hole = {{179.5, 0.5}, {180.5, 0.5}, {180.5, 1.5}, {179.5, 1.5}};
    const auto wrapped = [](std::vector<Vertex> ring) {
        for (auto& p : ring) p.x = std::remainder(p.x, 360.0);
        return ring;
    };
    std::vector<Vertex> stepped = {{20, 40}, {20, 40.002}};  // a 25-degree strip, its north side in steps
    for (int k = 1; k <= 5; ++k) stepped.insert(stepped.end(), {{20.0 + 5 * k, 40.002 + 0.001 * (k % 2)}, {20.0 + 5 * k, 40.002 + 0.001 * ((k + 1) % 2)}});
    stepped.push_back({45, 40});
    const std::vector<Case> cases = {
        {"sliver on a parallel", {{{0, 60}, {10, 60}, {5, 60.05}}}, 4326},
        {"sliver on a parallel, web mercator", {{{0, 60}, {10, 60}, {5, 60.05}}}, 3857},
        {"sliver as a hole", {{{0, 59}, {0, 61}, {12, 61}, {12, 59}}, {{1, 60}, {11, 60}, {6, 60.05}}}, 4326},
        {"stepped strip", {stepped}, 4326},
        {"stepped strip, web mercator", {stepped}, 3857},
        {"hole across the antimeridian, unrolled", {shell, hole}, 4326},
        {"hole across the antimeridian, wrapped", {wrapped(shell), wrapped(hole)}, 4326, true},
        {"hole across the antimeridian, shell wrapped", {wrapped(shell), hole}, 4326, true},
        {"hole across the antimeridian, hole wrapped", {shell, wrapped(hole)}, 4326, true},
        {"hole across the antimeridian, web mercator wrapped", {wrapped(shell), wrapped(hole)}, 3857, true},
        {"box read the short way", {{{-170, -75}, {-170, 80}, {170, 80}, {170, -75}}}, 4326, true},
    };
    const double whole = GeographicLib::Geodesic::WGS84().EllipsoidArea();
    for (const auto& c : cases) {
        std::vector<std::vector<Vertex>> own;
        for (const auto& ring : c.rings) own.push_back(c.wkid == 3857 ? web_mercator(ring) : ring);
        std::map<int32_t, double> expected;
        for (int32_t curve : {kGeodesic, kLoxodrome})
            for (size_t r = 0; r < own.size(); ++r) expected[curve] += (r ? -1 : 1) * peer_area(geographic(own[r], c.wkid), curve);
        for (bool reversed : {false, true}) {
            auto rings = own;
            if (reversed)
                for (auto& ring : rings) std::reverse(ring.begin(), ring.end());
            Geometry polygon = shape_of_parts("rings", rings, c.wkid);
            for (int32_t curve : {kGeodesic, kLoxodrome, kGreatElliptic, kNormalSection, kShapePreserving}) {
                SCOPED_TRACE(std::string(c.name) + " curve " + std::to_string(curve) + (reversed ? " reversed" : ""));
                const double area = KX_GeometryEngine_areaGeodetic(polygon.get(), nullptr, curve, ok());
                if (curve == kGeodesic || curve == kLoxodrome) {
                    EXPECT_NEAR(area, expected[curve], 1e-9 * expected[curve]);
                } else if (curve != kShapePreserving || !c.written_across) {
                    // A great ellipse parts from the geodesic by metres over a sliver's 550 km.
                    const double near = expected[curve == kShapePreserving ? kLoxodrome : kGeodesic];
                    EXPECT_NEAR(area, near, 1e-2 * near);
                    EXPECT_LT(area, whole / 2);
                }
            }
        }
    }
}

TEST_F(GeodesyTest, DensifyInAProjectionReturnsToIt) {
    Geometry line = shape("paths", {{400000, 5500000}, {500000, 5600000}}, 32632);
    Geometry dense(KX_GeometryEngine_densifyGeodetic(line.get(), nullptr, kGeodesic, 10000, ok()));
    const auto points = part_points(dense.get(), 0);
    ASSERT_EQ(points.size(), 16u);  // 141.6 km in 15 pieces
    for (const auto& p : points) {
        EXPECT_GT(p.x, 399999);
        EXPECT_LT(p.x, 500001);
    }
    const double length = KX_GeometryEngine_lengthGeodetic(line.get(), nullptr, kGeodesic, ok());
    EXPECT_NEAR(KX_GeometryEngine_lengthGeodetic(dense.get(), nullptr, kGeodesic, ok()), length, 1e-6);
}

TEST_F(GeodesyTest, EmptiesPointsAndCurves) {
    for (const char* json : {R"({"rings":[],"spatialReference":{"wkid":4326}})", R"({"paths":[],"spatialReference":{"wkid":4326}})",
                             R"({"x":null,"y":null,"spatialReference":{"wkid":4326}})", R"({"x":1,"y":2,"spatialReference":{"wkid":4326}})",
                             R"({"points":[[1,2],[3,4]],"spatialReference":{"wkid":4326}})",
                             R"({"xmin":null,"ymin":null,"xmax":null,"ymax":null,"spatialReference":{"wkid":4326}})"}) {
        Geometry g = from_json(json);
        for (int32_t curve : {kGeodesic, kLoxodrome, kGreatElliptic, kNormalSection, kShapePreserving}) {
            EXPECT_EQ(KX_GeometryEngine_areaGeodetic(g.get(), nullptr, curve, ok()), 0.0) << json;
            EXPECT_EQ(KX_GeometryEngine_lengthGeodetic(g.get(), nullptr, curve, ok()), 0.0) << json;
            Geometry dense(KX_GeometryEngine_densifyGeodetic(g.get(), nullptr, curve, 1000, ok()));
            EXPECT_NE(dense.get(), nullptr);
        }
    }
    // A half circle of radius 1 degree about (0, 0): measured along its arc, not its chord.
    Geometry arc = from_json(R"({"curvePaths":[[[-1,0],{"c":[[1,0],[0,1]]}]],"spatialReference":{"wkid":4326}})");
    const double length = KX_GeometryEngine_lengthGeodetic(arc.get(), nullptr, kShapePreserving, ok());
    EXPECT_NEAR(length, M_PI * 111000, 0.01 * M_PI * 111000);
    Geometry envelope = from_json(R"({"xmin":0,"ymin":0,"xmax":1,"ymax":1,"spatialReference":{"wkid":4326}})");
    Geometry square = shape("rings", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, 4326);
    EXPECT_DOUBLE_EQ(KX_GeometryEngine_areaGeodetic(envelope.get(), nullptr, kGeodesic, ok()),
                     KX_GeometryEngine_areaGeodetic(square.get(), nullptr, kGeodesic, ok()));
}

TEST_F(GeodesyTest, RefusedArguments) {
    Geometry line = shape("paths", {{0, 0}, {1, 1}}, 4326);
    Geometry plain = from_json(R"({"paths":[[[0,0],[1,1]]]})");
    Geometry beyond = shape("paths", {{0, 0}, {1, 91}}, 4326);
    Unit area(KX_AreaUnit_create(109401, ok()));
    Unit linear(KX_LinearUnit_create(9001, ok()));
    struct Case {
        const char* name;
        std::function<void(const KX_ErrorCallbackRecord*)> call;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {"curve type 5", [&](auto rec) { KX_GeometryEngine_lengthGeodetic(line.get(), nullptr, 5, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"curve type -1", [&](auto rec) { KX_GeometryEngine_areaGeodetic(line.get(), nullptr, -1, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"no spatial reference", [&](auto rec) { KX_GeometryEngine_lengthGeodetic(plain.get(), nullptr, 0, rec); }, KX_ERROR_SPATIAL_REFERENCE},
        {"area unit for a length", [&](auto rec) { KX_GeometryEngine_lengthGeodetic(line.get(), area.get(), 0, rec); }, KX_ERROR_UNIT},
        {"linear unit for an area", [&](auto rec) { KX_GeometryEngine_areaGeodetic(line.get(), linear.get(), 0, rec); }, KX_ERROR_UNIT},
        {"latitude beyond the pole", [&](auto rec) { KX_GeometryEngine_lengthGeodetic(beyond.get(), nullptr, 0, rec); }, KX_ERROR_GEOMETRY},
        {"zero spacing", [&](auto rec) { KX_GeometryEngine_densifyGeodetic(line.get(), nullptr, 0, 0.0, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"NaN spacing", [&](auto rec) { KX_GeometryEngine_densifyGeodetic(line.get(), nullptr, 0, NAN, rec); }, KX_ERROR_INVALID_ARGUMENT},
        {"spacing too fine", [&](auto rec) { Geometry(KX_GeometryEngine_densifyGeodetic(line.get(), nullptr, 0, 1e-6, rec)); }, KX_ERROR_GEOMETRY},
    };
    for (const auto& c : cases) {
        Errors errors;
        c.call(errors.rec());
        EXPECT_EQ(errors.only().code, c.code) << c.name;
    }
}

}  // namespace
}  // namespace engine_test
