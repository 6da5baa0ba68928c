// A 10,000-vertex model polygon: converting it to an engine polygon and back, and writing its
// VeltJSON text. The "per_vertex" counter is the time per vertex.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "core/geometry/polygon.h"

namespace {

using namespace core::geometry;

constexpr std::size_t kVertices = 10'000;

VeltGeometryPolygon circle() {
    VeltPart ring(false, false);
    for (std::size_t i = 0; i < kVertices; ++i) {
        const double t = 2 * std::numbers::pi * static_cast<double>(i) / kVertices;
        ring.push_coord(1000 * std::cos(t), 1000 * std::sin(t));
    }
    return *VeltGeometryPolygon::try_new_with_curves(false, false, {make_shared_cell(std::move(ring))}, {},
                                                     std::nullopt);
}

void per_vertex(benchmark::State& state) {
    state.counters["per_vertex"] =
        benchmark::Counter(kVertices, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_PolygonToEngineAndBack(benchmark::State& state) {
    const VeltGeometryPolygon polygon = circle();
    for (auto _ : state) {
        auto back = VeltGeometryPolygon::from_immutable_polygon(*polygon.as_polygon());
        benchmark::DoNotOptimize(back);
    }
    per_vertex(state);
}

void BM_PolygonToEngine(benchmark::State& state) {
    const VeltGeometryPolygon polygon = circle();
    for (auto _ : state) {
        auto engine = polygon.as_polygon();
        benchmark::DoNotOptimize(engine);
    }
    per_vertex(state);
}

void BM_PolygonVeltJsonText(benchmark::State& state) {
    const VeltGeometryPolygon polygon = circle();
    for (auto _ : state) {
        std::string text;
        polygon.write_veltjson(text);
        benchmark::DoNotOptimize(text);
    }
    per_vertex(state);
}

BENCHMARK(BM_PolygonToEngineAndBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonToEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonVeltJsonText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
