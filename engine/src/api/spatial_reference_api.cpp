// Spatial references: every handle lends one shared immutable value.
#include "api/execute.h"
#include "model/spatial_reference_data.h"
#include "model/text.h"

using model::ClassTag;

namespace {

KX_SpatialReferenceHandle new_handle(model::SpatialReferencePtr value) {
    return api::handle_of<KX_SpatialReferenceHandle>(new model::SpatialReference(std::move(value)));
}

const model::SpatialReferenceData& value_of(KX_SpatialReferenceHandle handle) {
    return *api::object<model::SpatialReference>(handle, ClassTag::SpatialReference).value();
}

}  // namespace

extern "C" {

void KX_SpatialReference_destroy(KX_SpatialReferenceHandle spatial_reference, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::destroy(spatial_reference, ClassTag::SpatialReference); });
}

KX_SpatialReferenceHandle KX_SpatialReference_create(int32_t wkid, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SpatialReferenceHandle>(rec, __func__, [&] {
        return new_handle(model::spatial_reference_from_wkid(wkid));
    });
}

KX_SpatialReferenceHandle KX_SpatialReference_createFromWKText(const char* wktext, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SpatialReferenceHandle>(rec, __func__, [&] {
        if (wktext == nullptr) throw model::EngineError(model::kInvalidArgument, "Null well-known text.");
        return new_handle(model::spatial_reference_from_wktext(wktext));
    });
}

KX_SpatialReferenceHandle KX_SpatialReference_createVerticalWKID(int32_t wkid, int32_t vertical_wkid,
                                                                  const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SpatialReferenceHandle>(rec, __func__, [&] {
        return new_handle(model::spatial_reference_from_wkid_and_vertical(wkid, vertical_wkid));
    });
}

uint32_t KX_SpatialReference_getVerticalWKID(KX_SpatialReferenceHandle spatial_reference,
                                              const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint32_t>(rec, __func__,
                                  [&] { return model::vertical_wkid_of(value_of(spatial_reference)); });
}

uint32_t KX_SpatialReference_getWKID(KX_SpatialReferenceHandle spatial_reference, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint32_t>(rec, __func__,
                                  [&] { return model::wkid_of(value_of(spatial_reference)); });
}

KX_StringHandle KX_SpatialReference_getWKText(KX_SpatialReferenceHandle spatial_reference,
                                              const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__, [&] {
        return api::handle_of<KX_StringHandle>(new model::String(model::wktext_of(value_of(spatial_reference))));
    });
}

}  // extern "C"
