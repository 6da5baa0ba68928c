// The engine's planar operations on any geometries the JSON reader accepts, with any parameters:
// every operation either answers or reports an engine error, never crashes, and leaks nothing.
// Input: four parameter bytes, then two JSON texts separated by a newline.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corvane/corvane.h"

namespace {

void drop(void*, KX_ErrorHandle e) { KX_Error_destroy(e, nullptr); }
const KX_ErrorCallbackRecord kRec{drop, nullptr};

void done(KX_GeometryHandle g) { KX_Geometry_destroy(g, nullptr); }
void done(KX_ArrayHandle a) { KX_Array_destroy(a, nullptr); }

double parameter(uint8_t byte) {
    static const double kSpecial[] = {0.0, -1.0, 1e-9, 1e9, NAN, INFINITY, -INFINITY, 0.5};
    if (byte < 16) return kSpecial[byte % 8];
    return (static_cast<int>(byte) - 128) / 8.0;
}

// A segment length that keeps densify's output small whatever the geometry's size.
double segment_length(KX_GeometryHandle g) {
    KX_GeometryHandle e = KX_Geometry_getExtent(g, &kRec);
    const double dx = KX_Envelope_getXMax(e, &kRec) - KX_Envelope_getXMin(e, &kRec);
    const double dy = KX_Envelope_getYMax(e, &kRec) - KX_Envelope_getYMin(e, &kRec);
    done(e);
    const double d = std::hypot(dx, dy) / 64;
    return std::isfinite(d) && d > 0 ? d : 1.0;
}

KX_VectorHandle vector_of(KX_GeometryHandle a, KX_GeometryHandle b) {
    KX_VectorHandle v = KX_Vector_create(50, &kRec);
    KX_ElementHandle e = KX_Element_create(&kRec);
    for (KX_GeometryHandle g : {a, b}) {
        KX_Element_setValueFromGeometry(e, g, &kRec);
        KX_Vector_add(v, e, &kRec);
    }
    KX_Element_destroy(e, nullptr);
    return v;
}

KX_VectorHandle floats_of(double d) {
    KX_VectorHandle v = KX_Vector_create(43, &kRec);
    KX_ElementHandle e = KX_Element_create(&kRec);
    KX_Element_setValueFromFloat64(e, d, &kRec);
    KX_Vector_add(v, e, &kRec);
    KX_Element_destroy(e, nullptr);
    return v;
}

void unary(KX_GeometryHandle g, double d, double tolerance, int32_t options) {
    KX_GeometryEngine_area(g, &kRec);
    KX_GeometryEngine_length(g, &kRec);
    KX_GeometryEngine_isSimple(g, &kRec);
    done(KX_GeometryEngine_boundary(g, &kRec));
    done(KX_GeometryEngine_convexHull(g, &kRec));
    done(KX_GeometryEngine_simplify(g, &kRec));
    done(KX_GeometryEngine_labelPoint(g, &kRec));
    done(KX_GeometryEngine_buffer(g, d, &kRec));
    done(KX_GeometryEngine_densify(g, segment_length(g), &kRec));
    if (!(d > 0) || !std::isfinite(d)) done(KX_GeometryEngine_densify(g, d, &kRec));  // refused
    done(KX_GeometryEngine_generalize(g, options & 1, tolerance, &kRec));
    done(KX_GeometryEngine_createPointAlong(g, d, &kRec));
}

void binary(KX_GeometryHandle a, KX_GeometryHandle b, double d, double tolerance, int32_t options) {
    for (auto* relation : {KX_GeometryEngine_contains, KX_GeometryEngine_crosses, KX_GeometryEngine_disjoint,
                           KX_GeometryEngine_equals, KX_GeometryEngine_intersects, KX_GeometryEngine_overlaps,
                           KX_GeometryEngine_touches, KX_GeometryEngine_within})
        relation(a, b, &kRec);
    KX_GeometryEngine_relate(a, b, "T*F**F***", &kRec);
    KX_GeometryEngine_distance(a, b, &kRec);
    for (auto* overlay : {KX_GeometryEngine_intersection, KX_GeometryEngine_union, KX_GeometryEngine_difference,
                          KX_GeometryEngine_symmetricDifference, KX_GeometryEngine_combineExtents, KX_GeometryEngine_clip})
        done(overlay(a, b, &kRec));
    done(KX_GeometryEngine_intersections(a, b, &kRec));
    done(KX_GeometryEngine_cut(a, b, &kRec));
    done(KX_GeometryEngine_extend(a, b, options, &kRec));
    KX_GeometryEngine_fractionAlong(a, b, tolerance, &kRec);

    KX_VectorHandle both = vector_of(a, b), distances = floats_of(d);
    done(KX_GeometryEngine_unionCollection(both, &kRec));
    done(KX_GeometryEngine_combineExtentsCollection(both, &kRec));
    done(KX_GeometryEngine_convexHullCollection(both, options & 1, &kRec));
    done(KX_GeometryEngine_bufferCollection(both, distances, options & 2, &kRec));
    KX_VectorHandle first = vector_of(a, a), second = vector_of(b, b);
    done(KX_GeometryEngine_autoComplete(first, second, &kRec));
    for (KX_VectorHandle v : {both, distances, first, second}) KX_Vector_destroy(v, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const double d = parameter(data[0]), tolerance = parameter(data[1]);
    const int32_t options = data[2];
    const std::string texts(reinterpret_cast<const char*>(data + 4), size - 4);
    const size_t cut = texts.find('\n');
    const std::string first = texts.substr(0, cut), second = cut == std::string::npos ? first : texts.substr(cut + 1);
    KX_GeometryHandle a = KX_Geometry_fromJSON(first.c_str(), &kRec);
    KX_GeometryHandle b = KX_Geometry_fromJSON(second.c_str(), &kRec);
    if (a != nullptr) unary(a, d, tolerance, options);
    if (a != nullptr && b != nullptr) binary(a, b, d, tolerance, options);
    if (a != nullptr) done(a);
    if (b != nullptr) done(b);
    if (KXT_live_objects("*") != 0) std::abort();
    return 0;
}
