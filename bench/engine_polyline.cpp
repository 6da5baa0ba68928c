// Building a 1,000-vertex polyline in the engine through its C interface (builder, part
// collection, part, one call per vertex, the geometry, every handle destroyed), and reading it
// back point by point; the peer is the same line string built with raw GEOS calls.
#include <benchmark/benchmark.h>

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>

#include <cstdio>
#include <cstdlib>

#include "corvane/corvane.h"
#include "engine_library.h"

namespace {

constexpr int kVertices = 1000;

using Engine = ConversionCalls;

struct Geos {
    void* lib = open_or_exit("libgeos_c.so.1");
    ENGINE_FN(GEOS_init_r);
    ENGINE_FN(GEOS_finish_r);
    ENGINE_FN(GEOSCoordSeq_create_r);
    ENGINE_FN(GEOSCoordSeq_setXY_r);
    ENGINE_FN(GEOSGeom_createLineString_r);
    ENGINE_FN(GEOSGeom_destroy_r);
};

const Engine& engine() {
    static const Engine instance;
    return instance;
}

// `with_m`: each vertex goes in as a temporary XYZM point, as parts with m values are built.
KX_GeometryHandle build(const Engine& e, bool with_m) {
    const KX_ErrorCallbackRecord* rec = nullptr;
    KX_GeometryBuilderHandle builder = e.KX_PolylineBuilder_createFromSpatialReference(nullptr, rec);
    KX_MutablePartCollectionHandle parts = e.KX_MutablePartCollection_createWithSpatialReference(nullptr, rec);
    KX_MutablePartHandle part = e.KX_MutablePart_createWithSpatialReference(nullptr, rec);
    for (int i = 0; i < kVertices; ++i) {
        if (with_m) {
            KX_GeometryHandle p = e.KX_Point_createWithZM(i, i * 0.5, 1.0, i, rec);
            e.KX_MutablePart_addPoint(part, p, rec);
            e.KX_Geometry_destroy(p, rec);
        } else {
            e.KX_MutablePart_addPointXY(part, i, i * 0.5, rec);
        }
    }
    e.KX_MutablePartCollection_addPart(parts, part, rec);
    e.KX_MutablePart_destroy(part, rec);
    e.KX_MultipartBuilder_setParts(builder, parts, rec);
    e.KX_MutablePartCollection_destroy(parts, rec);
    KX_GeometryHandle g = e.KX_GeometryBuilder_toGeometry(builder, rec);
    e.KX_GeometryBuilder_destroy(builder, rec);
    return g;
}

void BM_EngineBuildPolylineXY(benchmark::State& state) {
    const Engine& e = engine();
    for (auto _ : state) e.KX_Geometry_destroy(build(e, false), nullptr);
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_EngineBuildPolylineXY);

void BM_EngineBuildPolylineXYZMThroughPoints(benchmark::State& state) {
    const Engine& e = engine();
    for (auto _ : state) e.KX_Geometry_destroy(build(e, true), nullptr);
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_EngineBuildPolylineXYZMThroughPoints);

void BM_EngineReadPolylinePoints(benchmark::State& state) {
    const Engine& e = engine();
    KX_GeometryHandle g = build(e, false);
    for (auto _ : state)
        with_first_part_points(e, g, [&](auto points) { benchmark::DoNotOptimize(sum_of_points(e, points)); });
    e.KX_Geometry_destroy(g, nullptr);
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_EngineReadPolylinePoints);

void BM_GeosBuildLineString(benchmark::State& state) {
    static const Geos geos;
    GEOSContextHandle_t ctx = geos.GEOS_init_r();
    for (auto _ : state) {
        GEOSCoordSequence* seq = geos.GEOSCoordSeq_create_r(ctx, kVertices, 2);
        for (int i = 0; i < kVertices; ++i) geos.GEOSCoordSeq_setXY_r(ctx, seq, i, i, i * 0.5);
        geos.GEOSGeom_destroy_r(ctx, geos.GEOSGeom_createLineString_r(ctx, seq));
    }
    geos.GEOS_finish_r(ctx);
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_GeosBuildLineString);

}  // namespace

BENCHMARK_MAIN();
