// Building a 1,000-vertex polyline in the engine through its C interface (builder, part
// collection, part, one call per vertex, the geometry, every handle destroyed), and reading it
// back point by point; the peer is the same line string built with raw GEOS calls.
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#define GEOS_USE_ONLY_R_API
#include <geos_c.h>

#include <cstdio>
#include <cstdlib>

#include "corvane/corvane.h"

namespace {

constexpr int kVertices = 1000;

void* open_or_exit(const char* path) {
    void* lib = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (lib == nullptr) {
        std::fprintf(stderr, "cannot open %s: %s\n", path, dlerror());
        std::exit(1);
    }
    return lib;
}

template <typename F>
F* bind(void* lib, const char* name) {
    auto* f = reinterpret_cast<F*>(dlsym(lib, name));
    if (f == nullptr) {
        std::fprintf(stderr, "missing %s\n", name);
        std::exit(1);
    }
    return f;
}

#define ENGINE_FN(name) decltype(&::name) name = bind<decltype(::name)>(lib, #name)

struct Engine {
    void* lib = open_or_exit(CORVANE_BUILD_DIR "/corvane_bin/linux-x86_64/libcorvane.so");
    ENGINE_FN(KX_PolylineBuilder_createFromSpatialReference);
    ENGINE_FN(KX_MutablePartCollection_createWithSpatialReference);
    ENGINE_FN(KX_MutablePart_createWithSpatialReference);
    ENGINE_FN(KX_MutablePart_addPointXY);
    ENGINE_FN(KX_MutablePart_addPoint);
    ENGINE_FN(KX_Point_createWithZM);
    ENGINE_FN(KX_MutablePartCollection_addPart);
    ENGINE_FN(KX_MultipartBuilder_setParts);
    ENGINE_FN(KX_GeometryBuilder_toGeometry);
    ENGINE_FN(KX_MutablePart_destroy);
    ENGINE_FN(KX_MutablePartCollection_destroy);
    ENGINE_FN(KX_GeometryBuilder_destroy);
    ENGINE_FN(KX_Geometry_destroy);
    ENGINE_FN(KX_Multipart_getParts);
    ENGINE_FN(KX_ImmutablePartCollection_getPart);
    ENGINE_FN(KX_ImmutablePartCollection_destroy);
    ENGINE_FN(KX_ImmutablePart_getPoints);
    ENGINE_FN(KX_ImmutablePart_destroy);
    ENGINE_FN(KX_ImmutablePointCollection_getSize);
    ENGINE_FN(KX_ImmutablePointCollection_getPoint);
    ENGINE_FN(KX_ImmutablePointCollection_destroy);
    ENGINE_FN(KX_Point_getX);
    ENGINE_FN(KX_Point_getY);
};

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
    for (auto _ : state) {
        KX_ImmutablePartCollectionHandle parts = e.KX_Multipart_getParts(g, nullptr);
        KX_ImmutablePartHandle part = e.KX_ImmutablePartCollection_getPart(parts, 0, nullptr);
        KX_ImmutablePointCollectionHandle points = e.KX_ImmutablePart_getPoints(part, nullptr);
        double sum = 0;
        for (uint64_t i = 0, n = e.KX_ImmutablePointCollection_getSize(points, nullptr); i < n; ++i) {
            KX_GeometryHandle p = e.KX_ImmutablePointCollection_getPoint(points, i, nullptr);
            sum += e.KX_Point_getX(p, nullptr) + e.KX_Point_getY(p, nullptr);
            e.KX_Geometry_destroy(p, nullptr);
        }
        benchmark::DoNotOptimize(sum);
        e.KX_ImmutablePointCollection_destroy(points, nullptr);
        e.KX_ImmutablePart_destroy(part, nullptr);
        e.KX_ImmutablePartCollection_destroy(parts, nullptr);
    }
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
