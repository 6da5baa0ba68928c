#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "core/geometry/envelope.h"
#include "core/geometry/multipoint.h"
#include "core/geometry/number_text.h"
#include "core/geometry/point.h"
#include "core/geometry/polygon.h"
#include "core/geometry/polyline.h"
#include "model_test_support.h"

using namespace core::geometry;
using model_test::text_of;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::string number(double value) {
    std::string out;
    write_number(out, value);
    return out;
}

TEST(NumberText, Table) {
    const std::pair<double, std::string> rows[] = {
        {1.0, "1"},
        {-3.0, "-3"},
        {100.0, "100"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {123.456, "123.456"},
        {1e21, "1000000000000000000000"},
        {1e23, "100000000000000000000000"},
        {1e-7, "0.0000001"},
        {5e-324, "0." + std::string(323, '0') + "5"},
        {1.7976931348623157e308, "17976931348623157" + std::string(292, '0')},
        {kNaN, "NaN"},
        {-kNaN, "NaN"},
        {kInf, "inf"},
        {-kInf, "-inf"},
        {0.0, "0"},
        {-0.0, "-0"},
        {1658206780088562.25, "1658206780088562.3"},
        {-1658206780088562.25, "-1658206780088562.3"},
        {0.30000000000000004, "0.30000000000000004"},
        {9007199254740993.0, "9007199254740992"},
    };
    for (const auto& [value, text] : rows) EXPECT_EQ(number(value), text) << text;
}

double read_back(const std::string& text) {
    if (text == "NaN") return kNaN;
    if (text == "inf") return kInf;
    if (text == "-inf") return -kInf;
    double value = 0;
    auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(result.ptr, text.data() + text.size()) << text;
    return value;
}

// Shortest: never more significant digits than the shortest round-trip form has.
std::size_t significant_digits(const std::string& text) {
    std::size_t first = text.find_first_not_of("-0.");
    std::size_t last = text.find_last_not_of("0.");
    if (first == std::string::npos) return 0;
    std::size_t count = 0;
    for (std::size_t i = first; i <= last; ++i) count += text[i] != '.';
    return count;
}

std::size_t shortest_digits(double value) {
    char buf[40];
    auto end = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific).ptr;
    std::size_t count = 0;
    for (char* p = buf; p != end && *p != 'e'; ++p) count += *p != '.';
    return count;
}

TEST(NumberText, MillionRandomBitPatternsReadBack) {
    std::mt19937_64 random(20261210);
    for (int i = 0; i < 1'000'000; ++i) {
        const double value = std::bit_cast<double>(random());
        const std::string text = number(value);
        const double back = read_back(text);
        if (std::isnan(value)) {
            ASSERT_TRUE(std::isnan(back)) << text;
        } else {
            ASSERT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(value)) << text;
            if (value != 0 && std::isfinite(value)) {
                ASSERT_EQ(significant_digits(text), shortest_digits(value)) << text;
            }
        }
        ASSERT_EQ(text.find_first_of("eE+"), std::string::npos) << text;
    }
}

TEST(CoordText, EveryDimension) {
    const std::pair<VeltCoord, const char*> rows[] = {
        {VeltCoord::xy(1, 2), "[1, 2]"},
        {VeltCoord::xyz(1, 2, 3.5), "[1, 2, 3.5]"},
        {VeltCoord::xym(1, 2, -0.0), "[1, 2, -0]"},
        {VeltCoord::xyzm(kNaN, 2, kInf, 4), "[NaN, 2, inf, 4]"},
    };
    for (const auto& [coord, text] : rows) EXPECT_EQ(text_of(coord), text);
}

TEST(PartText, MissingOrdinatesAreNaN) {
    VeltPart empty(true, true);
    EXPECT_EQ(text_of(empty), "[]");
    VeltPart xyz(true, false);
    xyz.push_coord(1, 2);
    EXPECT_EQ(text_of(xyz), "[[1, 2, NaN]]");
    VeltPart xym(false, true);
    xym.push_coord(1, 2, 3.0, 5.0);
    xym.push_coord(0.5, 0.25);
    EXPECT_EQ(text_of(xym), "[[1, 2, 5], [0.5, 0.25, NaN]]");
}

TEST(CurvePartText, EveryCurveForm) {
    struct Row {
        CoordDims dims;
        CurveData curve;
        const char* element;
    };
    const Row rows[] = {
        {CoordDims::XY, Line{}, "[4, 0]"},
        {CoordDims::XY, CircularArc{2, 1.5}, R"({"c": [[4, 0], [2, 1.5]]})"},
        {CoordDims::XYZ, CircularArc{2, 1.5}, R"({"c": [[4, 0, 7], [2, 1.5]]})"},
        {CoordDims::XYM, BezierCurve{1, 1, 3, 1}, R"({"b": [[4, 0, 8], [1, 1], [3, 1]]})"},
        {CoordDims::XY, BezierCurve{1, 1, 3, 1}, R"({"b": [[4, 0], [1, 1], [3, 1]]})"},
        {CoordDims::XY, EllipticArc{2, 0, 0.25, 2, 1, true, false}, R"({"a": [[4, 0], [2, 0], 1, 0]})"},
        {CoordDims::XYZM, EllipticArc{2, 0, 0.25, 2, 0.5, false, true},
         R"({"a": [[4, 0, 7, 8], [2, 0], 0, 1, 0.25, 2, 0.5]})"},
        {CoordDims::XY, EllipticArc{2, 0, 0.25, 2, kNaN, false, false}, R"({"a": [[4, 0], [2, 0], 0, 0, 0.25, 2, NaN]})"},
    };
    for (const auto& r : rows) {
        VeltCurvePart part(has_z(r.dims), has_m(r.dims));
        ASSERT_TRUE(part.push(VeltCoord::xyzm(0, 0, 7, 8), Line{}));
        ASSERT_TRUE(part.push(VeltCoord::xyzm(4, 0, 7, 8), r.curve));
        const std::string start = text_of(*part.get(0)->first.mod_idx(0, 0));
        EXPECT_EQ(text_of(part), "[" + start + ", " + r.element + "]");
    }
}

SpatialReference wgs84() {
    SpatialReference sr;
    sr.wkid = 4326;
    sr.latest_wkid = 4326;
    return sr;
}

TEST(SpatialReferenceText, CompactText) {
    SpatialReference all;
    all.wkid = 1;
    all.latest_wkid = 2;
    all.vcs_wkid = 3;
    all.latest_vcs_wkid = 4294967295u;
    all.wkt = "a\"b\\c\nd\be\tf\fg\rh\x01i\x1fj\x7fk\xc3\xa9";
    all.wkt2 = "";
    SpatialReference only_wkt2;
    only_wkt2.wkt2 = "W";
    const std::pair<SpatialReference, const char*> rows[] = {
        {SpatialReference{}, "{}"},
        {wgs84(), R"({"wkid":4326,"latestWkid":4326})"},
        {only_wkt2, R"({"wkt2":"W"})"},
        {all, "{\"wkid\":1,\"latestWkid\":2,\"vcsWkid\":3,\"latestVcsWkid\":4294967295,"
              "\"wkt\":\"a\\\"b\\\\c\\nd\\be\\tf\\fg\\rh\\u0001i\\u001fj\x7fk\xc3\xa9\",\"wkt2\":\"\"}"},
    };
    for (const auto& [sr, text] : rows) EXPECT_EQ(text_of(sr), text);
}

TEST(GeometryText, Points) {
    const std::pair<VeltGeometryPoint, const char*> rows[] = {
        {{1, 2}, R"({"x": 1, "y": 2})"},
        {{1, 2, 3.0, std::nullopt, wgs84()}, R"({"spatialReference": {"wkid":4326,"latestWkid":4326}, "x": 1, "y": 2, "z": 3})"},
        {{1, 2, std::nullopt, 4.0}, R"({"x": 1, "y": 2, "m": 4})"},
        {{1, 2, kNaN, 4.0}, R"({"x": 1, "y": 2, "z": NaN, "m": 4})"},
        {{kNaN, kNaN}, R"({"x": null, "y": null})"},
        {{kNaN, 2, std::nullopt, 5.0, wgs84()}, R"({"spatialReference": {"wkid":4326,"latestWkid":4326}, "x": null, "y": null, "m": null})"},
    };
    for (const auto& [point, text] : rows) EXPECT_EQ(text_of(point), text);
}

TEST(GeometryText, Envelopes) {
    VeltGeometryEnvelope plain;
    plain.xmin = 1, plain.xmax = 2, plain.ymin = 3, plain.ymax = 4;
    VeltGeometryEnvelope full = plain;
    full.zmin = 5, full.zmax = 6, full.mmin = 7, full.mmax = 8, full.idmin = 9, full.idmax = 10;
    full.sr = wgs84();
    VeltGeometryEnvelope partial = plain;
    partial.zmax = 6, partial.idmin = 7;
    VeltGeometryEnvelope empty = partial;
    empty.xmin = kNaN;
    const std::pair<VeltGeometryEnvelope, const char*> rows[] = {
        {plain, R"({"xmin": 1, "ymin": 3, "xmax": 2, "ymax": 4})"},
        {full, R"({"spatialReference": {"wkid":4326,"latestWkid":4326}, "xmin": 1, "ymin": 3, "xmax": 2, "ymax": 4, )"
               R"("zmin": 5, "zmax": 6, "mmin": 7, "mmax": 8, "idmin": 9, "idmax": 10})"},
        {partial, R"({"xmin": 1, "ymin": 3, "xmax": 2, "ymax": 4, "zmax": 6, "idmin": 7})"},
        {empty, R"({"xmin": null, "ymin": null, "xmax": null, "ymax": null, "zmax": null, "idmin": null})"},
    };
    for (const auto& [envelope, text] : rows) EXPECT_EQ(text_of(envelope), text);
}

Shared<VeltPart> part_of(CoordDims dims, const std::vector<VeltCoord>& coords) {
    VeltPart part(has_z(dims), has_m(dims));
    for (const auto& c : coords) part.push_coord(c.x(), c.y(), c.z(), c.m());
    return make_shared_cell(std::move(part));
}

TEST(GeometryText, Multipoints) {
    const std::tuple<CoordDims, std::optional<SpatialReference>, std::vector<VeltCoord>, const char*> rows[] = {
        {CoordDims::XY, std::nullopt, {}, R"({"points": []})"},
        {CoordDims::XYM, std::nullopt, {VeltCoord::xym(1, 2, 5), VeltCoord::xy(3, 4)},
         R"({"hasM": true, "points": [[1, 2, 5], [3, 4, NaN]]})"},
        {CoordDims::XYZM, wgs84(), {VeltCoord::xyzm(1, 2, 3, 4)},
         R"({"hasZ": true, "hasM": true, "spatialReference": {"wkid":4326,"latestWkid":4326}, "points": [[1, 2, 3, 4]]})"},
        {CoordDims::XYZ, std::nullopt, {VeltCoord::xyz(1, 2, 3)}, R"({"hasZ": true, "points": [[1, 2, 3]]})"},
    };
    for (const auto& [dims, sr, coords, text] : rows)
        EXPECT_EQ(text_of(VeltGeometryMultipoint(part_of(dims, coords), sr)), text);
}

Shared<VeltCurvePart> curve_part(CoordDims dims, std::initializer_list<std::pair<VeltCoord, CurveData>> vertices) {
    VeltCurvePart part(has_z(dims), has_m(dims));
    for (const auto& [coord, curve] : vertices) EXPECT_TRUE(part.push(coord, curve));
    return make_shared_cell(std::move(part));
}

TEST(GeometryText, PolylinesAndPolygons) {
    auto line = VeltGeometryPolyline::try_new_with_curves(
        false, false, {part_of(CoordDims::XY, {VeltCoord::xy(0, 0), VeltCoord::xy(1, 1)})}, {}, std::nullopt);
    EXPECT_EQ(text_of(*line), R"({"paths": [[[0, 0], [1, 1]]]})");

    auto one_empty_curve = VeltGeometryPolyline::try_new_with_curves(false, false, {}, {curve_part(CoordDims::XY, {})},
                                                                     std::nullopt);
    EXPECT_EQ(text_of(*one_empty_curve), R"({"curvePaths": [[]], "paths": []})");

    auto empty = VeltGeometryPolygon::try_new_with_curves(false, false, {}, {}, std::nullopt);
    EXPECT_EQ(text_of(*empty), R"({"rings": []})");

    auto curved_z = VeltGeometryPolygon::try_new_with_curves(
        true, false, {},
        {curve_part(CoordDims::XYZ, {{VeltCoord::xyz(0, 0, 0), Line{}},
                                     {VeltCoord::xyz(2, 0, 0), CircularArc{1, 1}},
                                     {VeltCoord::xyz(0, 0, 0), Line{}}})},
        std::nullopt);
    EXPECT_EQ(text_of(*curved_z),
              R"({"hasZ": true, "curveRings": [[[0, 0, 0], {"c": [[2, 0, 0], [1, 1]]}, [0, 0, 0]]], "rings": []})");

    auto full = VeltGeometryPolyline::try_new_with_curves(
        true, true, {part_of(CoordDims::XYZM, {VeltCoord::xyzm(1, 2, 3, 4)}), part_of(CoordDims::XYZM, {})},
        {curve_part(CoordDims::XYZM, {{VeltCoord::xyzm(0, 0, 1, 2), Line{}},
                                      {VeltCoord::xyzm(4, 0, 1, 2), BezierCurve{1, 1, 3, 1}}})},
        wgs84());
    EXPECT_EQ(text_of(*full),
              R"({"hasZ": true, "hasM": true, "spatialReference": {"wkid":4326,"latestWkid":4326}, )"
              R"("curvePaths": [[[0, 0, 1, 2], {"b": [[4, 0, 1, 2], [1, 1], [3, 1]]}]], )"
              R"("paths": [[[1, 2, 3, 4]], []]})");
}

}  // namespace
