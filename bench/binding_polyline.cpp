// The cost of building a 1,000-vertex polyline in the engine through the binding's owners,
// against the same engine calls made straight through the function table (no owners, no error
// records), which is the floor for any binding.
#include <benchmark/benchmark.h>

#include <optional>

#include "geometry/downcast.h"
#include "geometry/mutable_part_collection.h"
#include "geometry/polyline_builder.h"

namespace {

using namespace geometry;

constexpr int kVertices = 1000;

void BM_BindingPolyline(benchmark::State& state) {
    const bool with_m = state.range(0) != 0;
    for (auto _ : state) {
        auto builder = polyline_builder::PolylineBuilder::with_spatial_reference(nullptr);
        auto parts = mutable_part_collection::MutablePartCollection::with_spatial_reference(nullptr);
        {
            auto part = mutable_part::MutablePart::with_spatial_reference(nullptr);
            for (int i = 0; i < kVertices; ++i)
                part.add_point_x_y_z_m(i, i % 7, std::nullopt, with_m ? std::optional<double>(i) : std::nullopt);
            parts.add_part(part);
        }
        builder.set_parts(parts);
        auto polyline = downcast::downcast<polyline::Polyline>(builder.to_geometry());
        benchmark::DoNotOptimize(polyline->handle());
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_BindingPolyline)->ArgName("m")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_RawTablePolyline(benchmark::State& state) {
    const auto& engine = bindings::ffi();
    for (auto _ : state) {
        auto* builder = engine.KX_PolylineBuilder_createFromSpatialReference(nullptr, nullptr);
        auto* parts = engine.KX_MutablePartCollection_createWithSpatialReference(nullptr, nullptr);
        auto* part = engine.KX_MutablePart_createWithSpatialReference(nullptr, nullptr);
        for (int i = 0; i < kVertices; ++i) engine.KX_MutablePart_addPointXY(part, i, i % 7, nullptr);
        engine.KX_MutablePartCollection_addPart(parts, part, nullptr);
        engine.KX_MutablePart_destroy(part, nullptr);
        engine.KX_MultipartBuilder_setParts(builder, parts, nullptr);
        engine.KX_MutablePartCollection_destroy(parts, nullptr);
        auto* polyline = engine.KX_GeometryBuilder_toGeometry(builder, nullptr);
        benchmark::DoNotOptimize(engine.KX_Geometry_getObjectType(polyline, nullptr));
        engine.KX_GeometryBuilder_destroy(builder, nullptr);
        engine.KX_Geometry_destroy(polyline, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_RawTablePolyline)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
