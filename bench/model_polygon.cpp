// A 10,000-vertex model polygon: converting it to an engine polygon and back, and writing its
// VeltJSON text. The "per_vertex" counter is the time per vertex. The peer is the same polygon
// built straight through the engine binding by coordinates, without the model.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "core/geometry/polygon.h"
#include "geometry/mutable_part_collection.h"

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

void BM_PeerBindingByCoordinates(benchmark::State& state) {
    using namespace ::geometry;
    const VeltGeometryPolygon polygon = circle();
    auto ring = polygon.rings()->lock().value()->lines()[0];
    auto part = ring->lock().value();
    for (auto _ : state) {
        auto builder = polygon_builder::PolygonBuilder::with_spatial_reference(nullptr);
        auto collection = mutable_part_collection::MutablePartCollection::with_spatial_reference(nullptr);
        auto engine_part = mutable_part::MutablePart::with_spatial_reference(nullptr);
        for (std::size_t i = 0; i < part->len(); ++i) {
            const VeltCoord c = *part->get(i);
            engine_part.add_point_x_y(c.x(), c.y());
        }
        collection.add_part(engine_part);
        builder.set_parts(collection);
        auto engine = builder.to_geometry();
        benchmark::DoNotOptimize(engine);
    }
    per_vertex(state);
}

BENCHMARK(BM_PolygonToEngineAndBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonToEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonVeltJsonText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerBindingByCoordinates)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
