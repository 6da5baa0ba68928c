// Operations that make a new shape from one geometry, and their collection forms.
#include "api/planar_api.h"
#include "ops/shape.h"
#include "ops/simplify.h"

namespace {

template <typename Op>
KX_GeometryHandle unary(const char* name, KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec, Op op) {
    return api::execute<KX_GeometryHandle>(rec, name, [&] { return api::new_geometry(op(api::geometry(geometry))); });
}

}  // namespace

extern "C" {

KX_GeometryHandle KX_GeometryEngine_boundary(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec, [](const auto& g) { return ops::boundary(g); });
}

KX_GeometryHandle KX_GeometryEngine_convexHull(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec, [](const auto& g) { return ops::convex_hull(g); });
}

KX_GeometryHandle KX_GeometryEngine_simplify(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec, [](const auto& g) { return ops::simplify(g); });
}

KX_GeometryHandle KX_GeometryEngine_labelPoint(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec, [](const auto& g) { return ops::label_point(g); });
}

KX_GeometryHandle KX_GeometryEngine_buffer(KX_GeometryHandle geometry, double distance,
                                           const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec, [&](const auto& g) { return ops::buffer(g, distance); });
}

KX_GeometryHandle KX_GeometryEngine_densify(KX_GeometryHandle geometry, double max_segment_length,
                                            const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec,
                 [&](const auto& g) { return ops::densify(g, max_segment_length); });
}

KX_GeometryHandle KX_GeometryEngine_generalize(KX_GeometryHandle geometry, int32_t remove_degenerate_parts,
                                               double max_deviation, const KX_ErrorCallbackRecord* rec) {
    return unary(__func__, geometry, rec,
                 [&](const auto& g) { return ops::generalize(g, max_deviation, remove_degenerate_parts != 0); });
}

KX_ArrayHandle KX_GeometryEngine_convexHullCollection(KX_VectorHandle geometries, int32_t merge,
                                                      const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        return api::new_array(ops::convex_hulls(api::geometries_of(geometries), merge != 0));
    });
}

KX_ArrayHandle KX_GeometryEngine_bufferCollection(KX_VectorHandle geometries, KX_VectorHandle distances,
                                                  int32_t union_result, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        return api::new_array(
            ops::buffers(api::geometries_of(geometries), api::floats_of(distances), union_result != 0));
    });
}

}  // extern "C"
