// What every geometry answers, its destruction, and the engine's JSON text.
#include <cstring>

#include "api/handles.h"
#include "model/extent.h"
#include "model/geometry_json.h"
#include "model/multipart.h"
#include "model/text.h"

namespace {

bool has_curves(const model::Geometry& g) {
    if (g.kind() != model::GeometryKind::Polyline && g.kind() != model::GeometryKind::Polygon) return false;
    for (const auto& part : static_cast<const model::Multipart&>(g).parts)
        if (model::has_curves(part)) return true;
    return false;
}

}  // namespace

extern "C" {

void KX_Geometry_destroy(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(geometry, model::ClassTag::Geometry); });
}

KX_GeometryHandle KX_Geometry_getExtent(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(model::extent_of(api::geometry(geometry)));
    });
}

uint8_t KX_Geometry_getHasCurves(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return has_curves(api::geometry(geometry)); });
}

uint8_t KX_Geometry_getHasM(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return api::geometry(geometry).dims.has_m; });
}

uint8_t KX_Geometry_getHasZ(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return api::geometry(geometry).dims.has_z; });
}

int32_t KX_Geometry_getObjectType(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<int32_t>(rec, __func__,
                                 [&] { return static_cast<int32_t>(api::geometry(geometry).kind()); });
}

KX_SpatialReferenceHandle KX_Geometry_getSpatialReference(KX_GeometryHandle geometry,
                                                          const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SpatialReferenceHandle>(rec, __func__, [&] {
        return api::new_spatial_reference(api::geometry(geometry).spatial_reference());
    });
}

KX_GeometryHandle KX_Geometry_fromJSON(const char* json, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        if (json == nullptr) throw model::EngineError(model::kInvalidArgument, "Null JSON text.");
        // Bounded so that a text without its terminator cannot be read without end.
        const size_t length = strnlen(json, model::kMaxJsonBytes + 1);
        return api::new_geometry(model::from_json(std::string_view(json, length)));
    });
}

KX_StringHandle KX_Geometry_toJSON(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__, [&] {
        return api::handle_of<KX_StringHandle>(new model::String(model::to_json(api::geometry(geometry))));
    });
}

}  // extern "C"
