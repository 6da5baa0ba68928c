// Each engine call on the path of a model polygon into the engine and of a result back out, timed
// alone through the C interface, against a plain C++ loop doing the same work on std::vector (the
// floor: what the call would cost if the engine were free). The ratios printed at the end are
// engine time / plain time per call or per vertex: near 1 means the engine adds nothing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "corvane/corvane.h"
#include "engine_library.h"
#include "ratio_reporter.h"

namespace {

constexpr int kVertices = 1000;

using Engine = ConversionCalls;

const Engine& engine() {
    static const Engine instance;
    return instance;
}

struct Vertex {
    double x, y, z, m;
};

// ---- into the engine --------------------------------------------------------------------------

void SpatialReference(benchmark::State& state) {
    const Engine& e = engine();
    for (auto _ : state) e.KX_SpatialReference_destroy(e.KX_SpatialReference_create(4326, nullptr), nullptr);
}
BENCHMARK(SpatialReference);

// What a spatial reference handle must do at least: one shared value lent to a new owner.
void PlainSpatialReference(benchmark::State& state) {
    static const auto shared = std::make_shared<const int>(4326);
    for (auto _ : state) {
        auto* handle = new std::shared_ptr<const int>(shared);
        benchmark::DoNotOptimize(handle);
        delete handle;
    }
}
BENCHMARK(PlainSpatialReference);

void EmptyPart(benchmark::State& state) {
    const Engine& e = engine();
    for (auto _ : state) e.KX_MutablePart_destroy(e.KX_MutablePart_createWithSpatialReference(nullptr, nullptr), nullptr);
}
BENCHMARK(EmptyPart);

void PlainEmptyPart(benchmark::State& state) {
    for (auto _ : state) {
        auto* part = new std::vector<Vertex>;
        benchmark::DoNotOptimize(part);
        delete part;
    }
}
BENCHMARK(PlainEmptyPart);

// Per vertex: one addPointXY call per vertex of a 1,000-vertex part.
void AddPointXY(benchmark::State& state) {
    const Engine& e = engine();
    for (auto _ : state) {
        KX_MutablePartHandle part = e.KX_MutablePart_createWithSpatialReference(nullptr, nullptr);
        for (int i = 0; i < kVertices; ++i) e.KX_MutablePart_addPointXY(part, i, i * 0.5, nullptr);
        e.KX_MutablePart_destroy(part, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(AddPointXY);

// Per vertex: a temporary XYZM point made, added and destroyed, as vertices with m go in.
void AddPointThroughPoint(benchmark::State& state) {
    const Engine& e = engine();
    for (auto _ : state) {
        KX_MutablePartHandle part = e.KX_MutablePart_createWithSpatialReference(nullptr, nullptr);
        for (int i = 0; i < kVertices; ++i) {
            KX_GeometryHandle p = e.KX_Point_createWithZM(i, i * 0.5, 1.0, i, nullptr);
            e.KX_MutablePart_addPoint(part, p, nullptr);
            e.KX_Geometry_destroy(p, nullptr);
        }
        e.KX_MutablePart_destroy(part, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(AddPointThroughPoint);

void PlainAddPoint(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<Vertex> part;
        for (int i = 0; i < kVertices; ++i) part.push_back({double(i), i * 0.5, 0.0, 0.0});
        benchmark::DoNotOptimize(part.data());
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(PlainAddPoint);

KX_MutablePartHandle filled_part(const Engine& e) {
    KX_MutablePartHandle part = e.KX_MutablePart_createWithSpatialReference(nullptr, nullptr);
    for (int i = 0; i < kVertices; ++i) e.KX_MutablePart_addPointXY(part, i, i * 0.5, nullptr);
    return part;
}

// The rest of a polygon's way in, once its ring is filled: a collection, the builder, the
// geometry; every handle but the geometry destroyed.
KX_GeometryHandle polygon_of(const Engine& e, KX_MutablePartHandle part) {
    KX_GeometryBuilderHandle builder = e.KX_PolygonBuilder_createFromSpatialReference(nullptr, nullptr);
    KX_MutablePartCollectionHandle parts = e.KX_MutablePartCollection_createWithSpatialReference(nullptr, nullptr);
    e.KX_MutablePartCollection_addPart(parts, part, nullptr);
    e.KX_MultipartBuilder_setParts(builder, parts, nullptr);
    e.KX_MutablePartCollection_destroy(parts, nullptr);
    KX_GeometryHandle g = e.KX_GeometryBuilder_toGeometry(builder, nullptr);
    e.KX_GeometryBuilder_destroy(builder, nullptr);
    return g;
}

// A 1,000-vertex polygon.
KX_GeometryHandle polygon(const Engine& e) {
    KX_MutablePartHandle part = filled_part(e);
    KX_GeometryHandle g = polygon_of(e, part);
    e.KX_MutablePart_destroy(part, nullptr);
    return g;
}

// The three steps of PartsToGeometry one by one: a collection made, the filled part added, the
// collection destroyed; ...
void CollectionAddPart(benchmark::State& state) {
    const Engine& e = engine();
    KX_MutablePartHandle part = filled_part(e);
    for (auto _ : state) {
        KX_MutablePartCollectionHandle parts = e.KX_MutablePartCollection_createWithSpatialReference(nullptr, nullptr);
        e.KX_MutablePartCollection_addPart(parts, part, nullptr);
        e.KX_MutablePartCollection_destroy(parts, nullptr);
    }
    e.KX_MutablePart_destroy(part, nullptr);
}
BENCHMARK(CollectionAddPart);

// A filled 1,000-vertex part in a collection, both destroyed with this.
struct FilledCollection {
    const Engine& e;
    KX_MutablePartHandle part = filled_part(e);
    KX_MutablePartCollectionHandle parts = e.KX_MutablePartCollection_createWithSpatialReference(nullptr, nullptr);
    explicit FilledCollection(const Engine& engine) : e(engine) { e.KX_MutablePartCollection_addPart(parts, part, nullptr); }
    ~FilledCollection() {
        e.KX_MutablePartCollection_destroy(parts, nullptr);
        e.KX_MutablePart_destroy(part, nullptr);
    }
};

// ... a builder made, given the collection, destroyed; ...
void BuilderSetParts(benchmark::State& state) {
    const FilledCollection filled(engine());
    for (auto _ : state) {
        KX_GeometryBuilderHandle builder = filled.e.KX_PolygonBuilder_createFromSpatialReference(nullptr, nullptr);
        filled.e.KX_MultipartBuilder_setParts(builder, filled.parts, nullptr);
        filled.e.KX_GeometryBuilder_destroy(builder, nullptr);
    }
}
BENCHMARK(BuilderSetParts);

// ... and the geometry made by the builder, destroyed.
void BuilderToGeometry(benchmark::State& state) {
    const FilledCollection filled(engine());
    const Engine& e = filled.e;
    KX_GeometryBuilderHandle builder = e.KX_PolygonBuilder_createFromSpatialReference(nullptr, nullptr);
    e.KX_MultipartBuilder_setParts(builder, filled.parts, nullptr);
    for (auto _ : state) e.KX_Geometry_destroy(e.KX_GeometryBuilder_toGeometry(builder, nullptr), nullptr);
    e.KX_GeometryBuilder_destroy(builder, nullptr);
}
BENCHMARK(BuilderToGeometry);

// What a collection or builder handle must do at least: a list of shared parts made and dropped.
void PlainSharedList(benchmark::State& state) {
    static const auto shared = std::make_shared<const std::vector<Vertex>>(kVertices, Vertex{1, 2, 0, 0});
    for (auto _ : state) {
        auto* list = new std::vector<std::shared_ptr<const std::vector<Vertex>>>{shared};
        benchmark::DoNotOptimize(list);
        delete list;
    }
}
BENCHMARK(PlainSharedList);

void PartsToGeometry(benchmark::State& state) {
    const Engine& e = engine();
    KX_MutablePartHandle part = filled_part(e);
    for (auto _ : state) e.KX_Geometry_destroy(polygon_of(e, part), nullptr);
    e.KX_MutablePart_destroy(part, nullptr);
}
BENCHMARK(PartsToGeometry);

// The same work with one copy of the vertices into the geometry.
void PlainPartsToGeometry(benchmark::State& state) {
    std::vector<Vertex> part(kVertices, Vertex{1, 2, 0, 0});
    for (auto _ : state) {
        auto geometry = std::make_unique<std::vector<std::vector<Vertex>>>(1, part);
        benchmark::DoNotOptimize(geometry.get());
    }
}
BENCHMARK(PlainPartsToGeometry);

// ---- out of the engine ------------------------------------------------------------------------

// A geometry's parts, its part and the part's points handed out, each handle destroyed.
void PartsOut(benchmark::State& state) {
    const Engine& e = engine();
    KX_GeometryHandle g = polygon(e);
    for (auto _ : state) with_first_part_points(e, g, [](auto points) { benchmark::DoNotOptimize(points); });
    e.KX_Geometry_destroy(g, nullptr);
}
BENCHMARK(PartsOut);

// Three handles lent out over data that stays where it is.
void PlainPartsOut(benchmark::State& state) {
    static const auto shared = std::make_shared<const std::vector<Vertex>>(kVertices, Vertex{1, 2, 0, 0});
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i) {
            auto* handle = new std::shared_ptr<const std::vector<Vertex>>(shared);
            benchmark::DoNotOptimize(handle);
            delete handle;
        }
    }
}
BENCHMARK(PlainPartsOut);

// A result's spatial reference read back: handed out, its two IDs read, destroyed.
void SpatialReferenceOut(benchmark::State& state) {
    const Engine& e = engine();
    KX_SpatialReferenceHandle wgs84 = e.KX_SpatialReference_create(4326, nullptr);
    KX_GeometryBuilderHandle builder = e.KX_PolylineBuilder_createFromSpatialReference(wgs84, nullptr);
    KX_GeometryHandle line = e.KX_GeometryBuilder_toGeometry(builder, nullptr);
    for (auto _ : state) {
        KX_SpatialReferenceHandle sr = e.KX_Geometry_getSpatialReference(line, nullptr);
        benchmark::DoNotOptimize(e.KX_SpatialReference_getWKID(sr, nullptr) + e.KX_SpatialReference_getVerticalWKID(sr, nullptr));
        e.KX_SpatialReference_destroy(sr, nullptr);
    }
    e.KX_Geometry_destroy(line, nullptr);
    e.KX_GeometryBuilder_destroy(builder, nullptr);
    e.KX_SpatialReference_destroy(wgs84, nullptr);
}
BENCHMARK(SpatialReferenceOut);

// Per vertex: the point handed out, x and y read, the point destroyed.
void ReadPoint(benchmark::State& state) {
    const Engine& e = engine();
    KX_GeometryHandle g = polygon(e);
    with_first_part_points(e, g, [&](auto points) {
        for (auto _ : state) benchmark::DoNotOptimize(sum_of_points(e, points));
    });
    e.KX_Geometry_destroy(g, nullptr);
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(ReadPoint);

void PlainReadPoint(benchmark::State& state) {
    const std::vector<Vertex> points(kVertices, Vertex{1, 2, 0, 0});
    for (auto _ : state) {
        double sum = 0;
        for (const auto& p : points) sum += p.x + p.y;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(PlainReadPoint);

}  // namespace

int main(int argc, char** argv) {
    return run_with_ratios(argc, argv, [](const RatioReporter& r) {
        std::printf("\n%-36s %12s %12s %8s\n", "engine call (per call or vertex)", "engine ns", "plain ns", "ratio");
        const auto row = [&](const char* title, const char* ours, const char* plain, double per) {
            const double a = r.time(ours) / per, b = r.time(plain) / per;
            if (a > 0 && b > 0) std::printf("%-36s %12.1f %12.1f %7.1fx\n", title, a, b, a / b);
        };
        row("spatial reference made, destroyed", "SpatialReference", "PlainSpatialReference", 1);
        row("empty part made, destroyed", "EmptyPart", "PlainEmptyPart", 1);
        row("addPointXY, per vertex", "AddPointXY", "PlainAddPoint", kVertices);
        row("point made, addPoint, per vertex", "AddPointThroughPoint", "PlainAddPoint", kVertices);
        row("collection made, part added", "CollectionAddPart", "PlainSharedList", 1);
        row("builder made, parts set", "BuilderSetParts", "PlainSharedList", 1);
        row("geometry made by the builder", "BuilderToGeometry", "PlainPartsToGeometry", 1);
        row("collection, builder, geometry", "PartsToGeometry", "PlainPartsToGeometry", 1);
        row("parts, part, points handed out", "PartsOut", "PlainPartsOut", 1);
        row("spatial reference read back", "SpatialReferenceOut", "PlainSpatialReference", 1);
        row("point read back, per vertex", "ReadPoint", "PlainReadPoint", kVertices);
    });
}
