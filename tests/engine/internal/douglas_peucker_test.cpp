// The engine's Douglas-Peucker against GEOS's own (GEOSSimplify_r): the same geometry, byte for
// byte, over a table of shapes and tolerances that hit its ties, its rings and its repairs; and
// lines GEOS cannot take without overflowing a small stack, taken in one.
#include <geos_c.h>
#include <gtest/gtest.h>
#include <pthread.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include "engine_test.h"
#include "ops/douglas_peucker.h"
#include "ops/geos_context.h"

namespace {

using namespace engine_test;
using ops::geos;
using ops::GeosPtr;

std::string hex(const GEOSGeometry* g) {
    GEOSWKBWriter* writer = GEOSWKBWriter_create_r(geos());
    GEOSWKBWriter_setOutputDimension_r(geos(), writer, 3);
    size_t size = 0;
    unsigned char* bytes = GEOSWKBWriter_writeHEX_r(geos(), writer, g, &size);
    std::string out(reinterpret_cast<char*>(bytes), size);
    GEOSFree_r(geos(), bytes);
    GEOSWKBWriter_destroy_r(geos(), writer);
    return out;
}

GeosPtr read(const std::string& wkt) {
    GEOSWKTReader* reader = GEOSWKTReader_create_r(geos());
    GeosPtr g(GEOSWKTReader_read_r(geos(), reader, wkt.c_str()));
    GEOSWKTReader_destroy_r(geos(), reader);
    return g;
}

using Points = std::vector<std::pair<double, double>>;

std::string coordinates(const Points& points) {
    std::ostringstream out;
    out.precision(17);
    for (size_t i = 0; i < points.size(); ++i) out << (i > 0 ? ", " : "") << points[i].first << ' ' << points[i].second;
    return out.str();
}

Points closed(Points points) {
    points.push_back(points.front());
    return points;
}

Points generated(size_t n, const std::function<std::pair<double, double>(size_t)>& at) {
    Points out;
    for (size_t i = 0; i < n; ++i) out.push_back(at(i));
    return out;
}

Points zigzag(size_t n) {
    return generated(n, [](size_t i) { return std::pair{double(i), double(i % 2)}; });
}

// Half circles up and down, as the chords of a meandering curve.
Points meander(size_t arcs, size_t chords) {
    return generated(arcs * chords + 1, [&](size_t i) {
        const double t = std::numbers::pi * double(i % chords) / double(chords);
        const size_t arc = i / chords;
        return std::pair{2.0 * double(arc) + 1 - std::cos(t), (arc % 2 == 0 ? 1 : -1) * std::sin(t)};
    });
}

Points random_walk(size_t n, double x0, double y0, double step, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> d(-step, step);
    double x = x0, y = y0;
    return generated(n, [&](size_t) { return std::pair{x += d(random), y += d(random)}; });
}

// Small integers: ties everywhere.
Points grid_walk(size_t n, unsigned seed) {
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int> d(-3, 3);
    return generated(n, [&](size_t) { return std::pair{double(d(random)), double(d(random))}; });
}

// Around a circle starting at its centre's east: a ring's first section measures from one point.
Points circle(size_t n, double r) {
    return generated(n, [&](size_t i) {
        const double t = 2 * std::numbers::pi * double(i) / double(n);
        return std::pair{r * std::cos(t), r * std::sin(t)};
    });
}

Points spiral(size_t n) {
    return generated(n, [](size_t i) {
        const double t = 0.05 * double(i);
        return std::pair{t * std::cos(t), t * std::sin(t)};
    });
}

std::string line(const Points& p) { return "LINESTRING (" + coordinates(p) + ")"; }
std::string polygon(const std::vector<Points>& rings) {
    std::string out = "POLYGON (";
    for (size_t i = 0; i < rings.size(); ++i) out += (i > 0 ? ", (" : "(") + coordinates(closed(rings[i])) + ")";
    return out + ")";
}

const std::map<std::string, std::string>& shapes() {
    static const std::map<std::string, std::string> table = {
        {"zig-zag", line(zigzag(3001))},
        {"zig-zag of even length", line(zigzag(3000))},
        // Teeth whose heights differ in the last bits, the tallest far along: the farthest is
        // decided by an ulp, late in every section.
        {"near ties", line(generated(3001, [](size_t i) {
             const double ulps = i > 2000 ? 2 : i % 3 == 0 ? 1 : 0;
             return std::pair{double(i), i % 2 == 1 ? 1.0 + ulps * 0x1p-52 : 0.0};
         }))},
        {"parallel ties", line(generated(2000, [](size_t i) {
             return i == 0 ? std::pair{0.0, 0.0} : i == 1999 ? std::pair{2000.0, 2000.0} : std::pair{double(i), i + 1.0};
         }))},
        {"meander", line(meander(60, 37))},
        {"many digits", line(random_walk(4000, 123456789.12345679, -98765432.123456789, 1e-3, 1))},
        {"tiny scale", line(random_walk(3000, 1e-300, -2e-300, 1e-302, 2))},
        {"huge scale", line(random_walk(3000, 1e150, 1e150, 1e148, 3))},
        {"grid ties", line(grid_walk(3000, 4))},
        {"spiral", line(spiral(5000))},
        {"closed line", line(closed(circle(2000, 10)))},
        {"closed zig-zag", line(closed(zigzag(1001)))},
        {"ring", "LINEARRING (" + coordinates(closed(circle(500, 3))) + ")"},
        {"collapsing ring", "LINEARRING (0 0, 0.1 0, 0.1 0.1, 0 0)"},
        {"polygon with holes", polygon({circle(3000, 100), generated(300, [](size_t i) {
                                            const double t = 2 * std::numbers::pi * double(i) / 300;
                                            return std::pair{10 + 5 * std::cos(t), 5 * std::sin(t)};
                                        }), {{-50, -1}, {-50, 1}, {-49.99, 1}, {-49.99, -1}}})},
        {"polygon losing its exterior", "POLYGON ((0 0, 0 1, 1 1, 1 0, 0 0))"},
        {"polygon that crosses itself once generalized",
         "POLYGON ((0 0, 10 0, 10 10, 6 10, 6 4.9, 4 4.9, 4 10.2, 0 10, 0 0))"},
        {"multipolygon", "MULTIPOLYGON (((0 0, 0 10, 10 10, 10 0, 0 0)), ((20 20, 20 20.1, 20.1 20.1, 20.1 20, 20 20)), "
                         "((30 0, 30 10, 40 10, 40 0, 30 0), (32 2, 32.1 2, 38 2.1, 32 2.1, 32 2)))"},
        {"overlapping multipolygon", "MULTIPOLYGON (((0 0, 0 10, 10 10, 10 0, 0 0)), ((5 5, 5 15, 15 15, 15 5, 5 5)))"},
        {"multilinestring", "MULTILINESTRING ((0 0, 0.1 0, 0.1 0.1, 0 0), (0 5, 10 5), (0 0, 1 1e-9, 2 0))"},
        {"collection", "GEOMETRYCOLLECTION (POINT (1 2), LINESTRING (0 0, 1 0.01, 2 0), POLYGON ((0 0, 0 1, 1 1, 1 0, 0 0)))"},
        {"empties", "GEOMETRYCOLLECTION (LINESTRING EMPTY, POLYGON EMPTY)"},
        {"empty polygon", "POLYGON EMPTY"},
    };
    return table;
}

class DouglasPeuckerTest : public EngineTest {};

TEST_F(DouglasPeuckerTest, KeepsWhatGeosKeepsForEveryShapeAndTolerance) {
    for (const auto& [name, wkt] : shapes()) {
        GeosPtr g = read(wkt);
        ASSERT_NE(g, nullptr) << name;
        for (double tolerance : {0.0, 1e-12, 1e-6, 0.001, 0.05, 0.5, 0.9999999999999999, 1.0, 3.0, 1e149}) {
            GeosPtr expected(GEOSSimplify_r(geos(), g.get(), tolerance));
            ASSERT_NE(expected, nullptr) << name;
            GeosPtr ours = ops::douglas_peucker(g.get(), tolerance);
            EXPECT_EQ(hex(ours.get()), hex(expected.get())) << name << " within " << tolerance;
        }
    }
}

// Runs `f` on a thread of a 512 KB stack.
void on_small_stack(const std::function<void()>& f) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 512 * 1024);
    pthread_t thread;
    auto body = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, body, const_cast<std::function<void()>*>(&f)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

// Lines long enough that one call per kept vertex would overflow a 512 KB stack (GEOS's own
// simplifier does at a tenth of these sizes): every one is generalized there, most vertices kept.
TEST_F(DouglasPeuckerTest, LongLinesTakeASmallStack) {
    const std::map<std::string, Points> lines = {
        {"zig-zag", zigzag(150'000)},
        {"meander", meander(3'000, 37)},
        {"spiral", spiral(200'000)},
    };
    for (const auto& [name, points] : lines) {
        std::vector<model::Vertex> vertices;
        for (const auto& [x, y] : points) vertices.push_back({x, y});
        size_t kept = 0;
        on_small_stack([&] { kept = ops::douglas_peucker(vertices, 1e-6).size(); });
        EXPECT_GT(kept, points.size() / 2) << name;
    }
}

}  // namespace
