#include <gtest/gtest.h>

#include <functional>

#include "core/geometry/curvepart.h"
#include "model_test_support.h"

using namespace core::geometry;
using model_test::same_coord;

namespace {

const CurveData kArc = CircularArc{1, 1};
const CurveData kEllipse = EllipticArc{0, 0, 0.5, 2, 0.5, true, false};
const CurveData kBezier = BezierCurve{1, 1, 3, 1};

// A part whose vertices are (0,0), (1,0), ... with the given curves.
VeltCurvePart make_part(std::initializer_list<CurveData> curves) {
    VeltCurvePart part(false, false);
    double x = 0;
    for (const auto& curve : curves) EXPECT_TRUE(part.push(VeltCoord::xy(x++, 0), curve).has_value());
    return part;
}

struct StartRule {
    const char* name;
    std::function<VeltCurvePart()> part;
    std::function<GeoResult<void>(VeltCurvePart&)> op;
    const char* refusal;  // "" when the operation is accepted
};

GeoResult<void> done(auto result) {
    if (!result) return std::unexpected(std::move(result.error()));
    return {};
}

const StartRule kStartRules[] = {
    {"push arc on empty", [] { return make_part({}); },
     [](VeltCurvePart& p) { return p.push(VeltCoord::xy(0, 0), kArc); }, "CurvePart::push curve data on empty"},
    {"push line on empty", [] { return make_part({}); },
     [](VeltCurvePart& p) { return p.push(VeltCoord::xy(0, 0), Line{}); }, ""},
    {"push arc after a vertex", [] { return make_part({Line{}}); },
     [](VeltCurvePart& p) { return p.push(VeltCoord::xy(2, 0), kArc); }, ""},
    {"insert ellipse at 0", [] { return make_part({Line{}}); },
     [](VeltCurvePart& p) { return p.insert(0, VeltCoord::xy(9, 9), kEllipse); },
     "CurvePart::insert nonlinear curve data at index 0"},
    {"insert bezier at 1", [] { return make_part({Line{}}); },
     [](VeltCurvePart& p) { return p.insert(1, VeltCoord::xy(9, 9), kBezier); }, ""},
    {"set ellipse at 0 of an empty part", [] { return make_part({}); },
     [](VeltCurvePart& p) { return done(p.set(0, VeltCoord::xy(9, 9), kEllipse)); },
     "CurvePart::set nonlinear curve data at index 0"},
    {"set_curve arc at 0", [] { return make_part({Line{}, Line{}}); },
     [](VeltCurvePart& p) { return done(p.set_curve(0, kArc)); }, "CurvePart::set nonlinear curve data at index 0"},
    {"remove 0 before a bezier", [] { return make_part({Line{}, kBezier}); },
     [](VeltCurvePart& p) { return done(p.remove(0)); },
     "CurvePart::remove first curve, curve that would replace it is nonlinear"},
    {"remove 0 before a line", [] { return make_part({Line{}, Line{}, kArc}); },
     [](VeltCurvePart& p) { return done(p.remove(0)); }, ""},
    {"remove 0 of one vertex", [] { return make_part({Line{}}); }, [](VeltCurvePart& p) { return done(p.remove(0)); },
     ""},
};

TEST(VeltCurvePart, StartVertexRules) {
    for (const auto& rule : kStartRules) {
        VeltCurvePart part = rule.part();
        const std::string before = model_test::text_of(part);
        auto result = rule.op(part);
        if (*rule.refusal == '\0') {
            EXPECT_TRUE(result.has_value()) << rule.name;
        } else {
            ASSERT_FALSE(result.has_value()) << rule.name;
            EXPECT_EQ(result.error().display(),
                      std::string("Curved parts must have starting vertex with no curve data: '") + rule.refusal + "'")
                << rule.name;
            EXPECT_EQ(model_test::text_of(part), before) << rule.name;
        }
        if (part.len() > 0) {
            EXPECT_TRUE(is_line(part.get(0)->second)) << rule.name;
        }
    }
}

TEST(VeltCurvePart, NeighbouringSegmentsKeepTheirRecords) {
    VeltCurvePart part = make_part({Line{}, kArc, kBezier});
    ASSERT_TRUE(part.insert(2, VeltCoord::xy(7, 7), kEllipse));
    EXPECT_EQ(part.get(2)->second, kEllipse);
    EXPECT_EQ(part.get(3)->second, kBezier);
    ASSERT_TRUE(part.insert(0, VeltCoord::xy(-1, 0), Line{}));
    EXPECT_TRUE(same_coord(part.get(1)->first, VeltCoord::xy(0, 0)));
    EXPECT_TRUE(is_line(part.get(1)->second));

    auto removed = part.remove(2);
    ASSERT_TRUE(removed.has_value() && removed->has_value());
    EXPECT_EQ((*removed)->second, kArc);
    EXPECT_EQ(part.get(2)->second, kEllipse);
    auto popped = part.pop();
    EXPECT_EQ(popped->second, kBezier);
    EXPECT_EQ(part.len(), 3u);
}

TEST(VeltCurvePart, ReplacingRecordsKeepsVerticesAndReturnsTheOld) {
    VeltCurvePart part = make_part({Line{}, kArc, kArc, kArc});
    auto old = part.set_curve(3, kBezier);
    ASSERT_TRUE(old.has_value());
    EXPECT_EQ(**old, kArc);
    EXPECT_EQ(part.get(3)->second, kBezier);
    EXPECT_TRUE(same_coord(part.get(3)->first, VeltCoord::xy(3, 0)));
    // A freed slot is reused: records of the others stay readable after churn.
    ASSERT_TRUE(part.set_curve(1, Line{}));
    ASSERT_TRUE(part.set_curve(3, kArc));
    EXPECT_EQ(part.get(2)->second, kArc);
    EXPECT_EQ(part.get(3)->second, kArc);

    auto pair = part.set(1, VeltCoord::xy(8, 8), kEllipse);
    ASSERT_TRUE(pair.has_value() && pair->has_value());
    EXPECT_TRUE(same_coord((*pair)->first, VeltCoord::xy(1, 0)));
    EXPECT_TRUE(is_line((*pair)->second));
    EXPECT_EQ(part.get(1)->second, kEllipse);
}

TEST(VeltCurvePart, PastTheEndGivesNoneAndChangesNothing) {
    VeltCurvePart part = make_part({Line{}, kArc});
    const std::string before = model_test::text_of(part);
    EXPECT_FALSE(part.get(2));
    EXPECT_FALSE(*part.set(2, VeltCoord::xy(0, 0), Line{}));
    EXPECT_FALSE(part.set_coord(2, VeltCoord::xy(0, 0)));
    EXPECT_FALSE(*part.set_curve(5, kArc));
    EXPECT_FALSE(*part.remove(2));
    EXPECT_FALSE(*part.remove(99));
    EXPECT_EQ(model_test::text_of(part), before);
}

TEST(VeltCurvePart, ClearKeepsDimensions) {
    VeltCurvePart part(true, false);
    ASSERT_TRUE(part.push(VeltCoord::xyz(0, 0, 1), Line{}));
    ASSERT_TRUE(part.push(VeltCoord::xyz(1, 0, 1), kArc));
    part.clear();
    EXPECT_TRUE(part.is_empty());
    EXPECT_EQ(part.dims(), CoordDims::XYZ);
    EXPECT_FALSE(part.pop());
    ASSERT_TRUE(part.push(VeltCoord::xy(4, 4), Line{}));
    EXPECT_EQ(model_test::text_of(part), "[[4, 4, NaN]]");
}

}  // namespace
