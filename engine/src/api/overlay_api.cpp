// Overlays, clipping and the unions and extents of collections.
#include "api/planar_api.h"
#include "model/envelope.h"
#include "ops/extents.h"
#include "ops/overlay.h"

namespace {

KX_GeometryHandle overlay(const char* name, ops::Overlay op, KX_GeometryHandle a, KX_GeometryHandle b,
                          const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, name, [&] {
        return api::new_geometry(ops::overlay(op, api::geometry(a), api::geometry(b)));
    });
}

}  // namespace

extern "C" {

#define KX_OVERLAY(method, op)                                                                              \
    KX_GeometryHandle KX_GeometryEngine_##method(KX_GeometryHandle geometry, KX_GeometryHandle other,      \
                                                 const KX_ErrorCallbackRecord* rec) {                       \
        return overlay(__func__, ops::Overlay::op, geometry, other, rec);               \
    }
KX_OVERLAY(intersection, Intersection)
KX_OVERLAY(union, Union)
KX_OVERLAY(difference, Difference)
KX_OVERLAY(symmetricDifference, SymmetricDifference)
#undef KX_OVERLAY

KX_ArrayHandle KX_GeometryEngine_intersections(KX_GeometryHandle geometry, KX_GeometryHandle other,
                                               const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        return api::new_array(ops::intersections(api::geometry(geometry), api::geometry(other)));
    });
}

KX_GeometryHandle KX_GeometryEngine_clip(KX_GeometryHandle geometry, KX_GeometryHandle envelope,
                                         const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& e = api::geometry_of<model::Envelope>(envelope, model::GeometryKind::Envelope, "envelope");
        return api::new_geometry(ops::clip(api::geometry(geometry), e));
    });
}

KX_GeometryHandle KX_GeometryEngine_unionCollection(KX_VectorHandle geometries, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::union_all(api::geometries_of(geometries)));
    });
}

KX_GeometryHandle KX_GeometryEngine_combineExtents(KX_GeometryHandle geometry, KX_GeometryHandle other,
                                                   const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::combined_extent({&api::geometry(geometry), &api::geometry(other)}));
    });
}

KX_GeometryHandle KX_GeometryEngine_combineExtentsCollection(KX_VectorHandle geometries,
                                                             const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::combined_extent(api::geometries_of(geometries)));
    });
}

}  // extern "C"
