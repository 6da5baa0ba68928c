// The engine's planar operations through its C interface against GEOS called directly, on
// polygons of 10, 100 and 10,000 vertices: area, intersects, buffer and intersection. GEOS is
// measured twice: on geometries it already holds ("prebuilt"), and from the coordinates, building
// its geometries on every call as the engine must ("built"). Ratios are printed at the end.
#include <benchmark/benchmark.h>
#include <geos_c.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "ratio_reporter.h"

using geometry::bindings::ffi;

namespace {

constexpr double kBufferDistance = 0.5;

// A clockwise star-like ring of n vertices about (cx, cy), radius 10 with a ripple.
std::vector<std::pair<double, double>> ring(int n, double cx) {
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < n; ++i) {
        const double a = -2 * M_PI * i / n;
        const double r = 10 + (i % 2 ? 1.0 : 0.0);
        out.emplace_back(cx + r * std::cos(a), r * std::sin(a));
    }
    return out;
}

std::string json_of(const std::vector<std::pair<double, double>>& r) {
    std::string s = R"({"rings":[[)";
    for (const auto& [x, y] : r) s.append("[").append(std::to_string(x)).append(",").append(std::to_string(y)).append("],");
    s.append("[").append(std::to_string(r.front().first)).append(",").append(std::to_string(r.front().second)).append("]]]}");
    return s;
}

GEOSContextHandle_t geos() {
    static GEOSContextHandle_t h = GEOS_init_r();
    return h;
}

GEOSGeometry* geos_polygon(const std::vector<std::pair<double, double>>& r) {
    GEOSCoordSequence* seq = GEOSCoordSeq_create_r(geos(), static_cast<unsigned>(r.size() + 1), 2);
    for (size_t i = 0; i <= r.size(); ++i) {
        const auto& [x, y] = r[i % r.size()];
        GEOSCoordSeq_setXY_r(geos(), seq, static_cast<unsigned>(i), x, y);
    }
    return GEOSGeom_createPolygon_r(geos(), GEOSGeom_createLinearRing_r(geos(), seq), nullptr, 0);
}

struct Pair {
    std::vector<std::pair<double, double>> a, b;
    KX_GeometryHandle ea, eb;
    GEOSGeometry *ga, *gb;
};

Pair& pair(int n) {
    static std::map<int, Pair> pairs;
    auto it = pairs.find(n);
    if (it != pairs.end()) return it->second;
    geometry::environment::init();
    Pair p;
    p.a = ring(n, 0);
    p.b = ring(n, 5);
    p.ea = ffi().KX_Geometry_fromJSON(json_of(p.a).c_str(), nullptr);
    p.eb = ffi().KX_Geometry_fromJSON(json_of(p.b).c_str(), nullptr);
    p.ga = geos_polygon(p.a);
    p.gb = geos_polygon(p.b);
    return pairs.emplace(n, std::move(p)).first->second;
}

void destroy_engine(KX_GeometryHandle g) { ffi().KX_Geometry_destroy(g, nullptr); }

enum class Op { Area, Intersects, Buffer, Intersection };

double engine_op(Op op, const Pair& p) {
    switch (op) {
        case Op::Area:
            return ffi().KX_GeometryEngine_area(p.ea, nullptr);
        case Op::Intersects:
            return ffi().KX_GeometryEngine_intersects(p.ea, p.eb, nullptr);
        case Op::Buffer: {
            auto r = ffi().KX_GeometryEngine_buffer(p.ea, kBufferDistance, nullptr);
            destroy_engine(r);
            return 0;
        }
        case Op::Intersection: {
            auto r = ffi().KX_GeometryEngine_intersection(p.ea, p.eb, nullptr);
            destroy_engine(r);
            return 0;
        }
    }
    return 0;
}

double geos_op(Op op, const GEOSGeometry* a, const GEOSGeometry* b) {
    double v = 0;
    switch (op) {
        case Op::Area:
            GEOSArea_r(geos(), a, &v);
            return v;
        case Op::Intersects:
            return GEOSIntersects_r(geos(), a, b);
        case Op::Buffer:
            // As the engine asks: 18 chords per quarter circle.
            GEOSGeom_destroy_r(geos(), GEOSBuffer_r(geos(), a, kBufferDistance, 18));
            return 0;
        case Op::Intersection:
            GEOSGeom_destroy_r(geos(), GEOSIntersection_r(geos(), a, b));
            return 0;
    }
    return 0;
}

template <Op op>
void Engine(benchmark::State& state) {
    const Pair& p = pair(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(engine_op(op, p));
}

template <Op op>
void GeosPrebuilt(benchmark::State& state) {
    const Pair& p = pair(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(geos_op(op, p.ga, p.gb));
}

template <Op op>
void GeosBuilt(benchmark::State& state) {
    const Pair& p = pair(static_cast<int>(state.range(0)));
    const bool two = op == Op::Intersects || op == Op::Intersection;
    for (auto _ : state) {
        GEOSGeometry* a = geos_polygon(p.a);
        GEOSGeometry* b = two ? geos_polygon(p.b) : nullptr;
        benchmark::DoNotOptimize(geos_op(op, a, b));
        GEOSGeom_destroy_r(geos(), a);
        if (b) GEOSGeom_destroy_r(geos(), b);
    }
}

#define PLANAR_BENCH(op)                                                                   \
    BENCHMARK(Engine<Op::op>)->Name("Engine/" #op)->Arg(10)->Arg(100)->Arg(10000);         \
    BENCHMARK(GeosPrebuilt<Op::op>)->Name("GeosPrebuilt/" #op)->Arg(10)->Arg(100)->Arg(10000); \
    BENCHMARK(GeosBuilt<Op::op>)->Name("GeosBuilt/" #op)->Arg(10)->Arg(100)->Arg(10000);
PLANAR_BENCH(Area)
PLANAR_BENCH(Intersects)
PLANAR_BENCH(Buffer)
PLANAR_BENCH(Intersection)

void print_ratios(const RatioReporter& reporter) {
    std::printf("\n%-14s %7s %16s %16s\n", "operation", "vertices", "engine/prebuilt", "engine/built");
    for (const char* op : {"Area", "Intersects", "Buffer", "Intersection"}) {
        for (const char* n : {"10", "100", "10000"}) {
            const std::string suffix = std::string(op) + "/" + n;
            const double e = reporter.time("Engine/" + suffix), pre = reporter.time("GeosPrebuilt/" + suffix),
                         built = reporter.time("GeosBuilt/" + suffix);
            if (e > 0 && pre > 0 && built > 0) std::printf("%-14s %7s %16.2f %16.2f\n", op, n, e / pre, e / built);
        }
    }
}

}  // namespace

int main(int argc, char** argv) { return run_with_ratios(argc, argv, print_ratios); }
