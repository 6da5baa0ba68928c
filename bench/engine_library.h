// The engine library and GEOS opened at run time as the module opens them, and their functions
// found by name, for the benchmarks that call them through their bare C interfaces.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "corvane/corvane.h"

inline void* open_or_exit(const char* path) {
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

// A member holding the function `name` of the library in the member `lib`.
#define ENGINE_FN(name) decltype(&::name) name = bind<decltype(::name)>(lib, #name)

#define ENGINE_LIBRARY CORVANE_BUILD_DIR "/corvane_bin/linux-x86_64/libcorvane.so"

// The engine functions on the way of a geometry into the engine and back out.
struct ConversionCalls {
    void* lib = open_or_exit(ENGINE_LIBRARY);
    ENGINE_FN(KX_GeometryBuilder_destroy);
    ENGINE_FN(KX_GeometryBuilder_toGeometry);
    ENGINE_FN(KX_Geometry_destroy);
    ENGINE_FN(KX_ImmutablePartCollection_destroy);
    ENGINE_FN(KX_ImmutablePartCollection_getPart);
    ENGINE_FN(KX_ImmutablePart_destroy);
    ENGINE_FN(KX_ImmutablePart_getPoints);
    ENGINE_FN(KX_ImmutablePointCollection_destroy);
    ENGINE_FN(KX_ImmutablePointCollection_getPoint);
    ENGINE_FN(KX_ImmutablePointCollection_getSize);
    ENGINE_FN(KX_MultipartBuilder_setParts);
    ENGINE_FN(KX_Multipart_getParts);
    ENGINE_FN(KX_MutablePartCollection_addPart);
    ENGINE_FN(KX_MutablePartCollection_createWithSpatialReference);
    ENGINE_FN(KX_MutablePartCollection_destroy);
    ENGINE_FN(KX_MutablePart_addPoint);
    ENGINE_FN(KX_MutablePart_addPointXY);
    ENGINE_FN(KX_MutablePart_createWithSpatialReference);
    ENGINE_FN(KX_MutablePart_destroy);
    ENGINE_FN(KX_Point_createWithZM);
    ENGINE_FN(KX_Point_getM);
    ENGINE_FN(KX_Point_getX);
    ENGINE_FN(KX_Point_getY);
    ENGINE_FN(KX_Point_getZ);
    ENGINE_FN(KX_PolygonBuilder_createFromSpatialReference);
    ENGINE_FN(KX_PolylineBuilder_createFromSpatialReference);
    ENGINE_FN(KX_SpatialReference_create);
    ENGINE_FN(KX_SpatialReference_destroy);
    ENGINE_FN(KX_Geometry_getSpatialReference);
    ENGINE_FN(KX_SpatialReference_getWKID);
    ENGINE_FN(KX_SpatialReference_getVerticalWKID);
};

// The sum of x and y over every point of `points`, each point handed out, read and destroyed as
// results are read back.
inline double sum_of_points(const ConversionCalls& e, KX_ImmutablePointCollectionHandle points) {
    double sum = 0;
    for (uint64_t i = 0, n = e.KX_ImmutablePointCollection_getSize(points, nullptr); i < n; ++i) {
        KX_GeometryHandle p = e.KX_ImmutablePointCollection_getPoint(points, i, nullptr);
        sum += e.KX_Point_getX(p, nullptr) + e.KX_Point_getY(p, nullptr);
        e.KX_Geometry_destroy(p, nullptr);
    }
    return sum;
}

// `read(points)` on the points of part 0 of the multipart `g`: its parts, the part and the points
// handed out, and destroyed afterwards.
template <typename Read>
void with_first_part_points(const ConversionCalls& e, KX_GeometryHandle g, Read&& read) {
    KX_ImmutablePartCollectionHandle parts = e.KX_Multipart_getParts(g, nullptr);
    KX_ImmutablePartHandle part = e.KX_ImmutablePartCollection_getPart(parts, 0, nullptr);
    KX_ImmutablePointCollectionHandle points = e.KX_ImmutablePart_getPoints(part, nullptr);
    read(points);
    e.KX_ImmutablePointCollection_destroy(points, nullptr);
    e.KX_ImmutablePart_destroy(part, nullptr);
    e.KX_ImmutablePartCollection_destroy(parts, nullptr);
}
