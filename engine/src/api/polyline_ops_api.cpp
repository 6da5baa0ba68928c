// The operations on polylines: cutting, closing gaps, positions along a line and extending.
#include "api/planar_api.h"
#include "model/multipart.h"
#include "ops/along.h"
#include "ops/cut.h"
#include "ops/extend.h"

namespace {

const model::Geometry& polyline(KX_GeometryHandle h) {
    return api::geometry_of<model::Multipart>(h, model::GeometryKind::Polyline, "polyline");
}

}  // namespace

extern "C" {

KX_ArrayHandle KX_GeometryEngine_cut(KX_GeometryHandle geometry, KX_GeometryHandle cutter,
                                     const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        return api::new_array(ops::cut(api::geometry(geometry), polyline(cutter)));
    });
}

KX_ArrayHandle KX_GeometryEngine_autoComplete(KX_VectorHandle existing_boundaries, KX_VectorHandle new_boundaries,
                                              const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(rec, __func__, [&] {
        return api::new_array(
            ops::auto_complete(api::geometries_of(existing_boundaries), api::geometries_of(new_boundaries)));
    });
}

KX_GeometryHandle KX_GeometryEngine_createPointAlong(KX_GeometryHandle line, double distance,
                                                     const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::point_along(polyline(line), distance));
    });
}

double KX_GeometryEngine_fractionAlong(KX_GeometryHandle line, KX_GeometryHandle point, double tolerance,
                                       const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        return ops::fraction_along(polyline(line), api::point(point), tolerance);
    });
}

KX_GeometryHandle KX_GeometryEngine_extend(KX_GeometryHandle line, KX_GeometryHandle extender,
                                           int32_t extend_options, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&]() -> KX_GeometryHandle {
        auto extended = ops::extend(polyline(line), polyline(extender), extend_options);
        return extended ? api::new_geometry(std::move(extended)) : nullptr;
    });
}

}  // extern "C"
