// Datum transformations: what the engine reports of one, and its inverse.
#include "api/handles.h"
#include "model/datum_transformation.h"
#include "model/text.h"
#include "ops/transformation_catalog.h"

namespace {

const model::DatumTransformationData& transformation_of(KX_DatumTransformationHandle handle) {
    return *api::object<model::DatumTransformation>(handle, model::ClassTag::DatumTransformation).value();
}

}  // namespace

extern "C" {

void KX_DatumTransformation_destroy(KX_DatumTransformationHandle transformation, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::destroy(transformation, model::ClassTag::DatumTransformation); });
}

KX_SpatialReferenceHandle KX_DatumTransformation_getInputSpatialReference(KX_DatumTransformationHandle transformation,
                                                                          const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SpatialReferenceHandle>(rec, __func__, [&] {
        return api::new_spatial_reference(transformation_of(transformation).input);
    });
}

KX_SpatialReferenceHandle KX_DatumTransformation_getOutputSpatialReference(KX_DatumTransformationHandle transformation,
                                                                           const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SpatialReferenceHandle>(rec, __func__, [&] {
        return api::new_spatial_reference(transformation_of(transformation).output);
    });
}

uint8_t KX_DatumTransformation_getIsMissingTarnelFiles(KX_DatumTransformationHandle transformation,
                                                       const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return transformation_of(transformation).missing_grids; });
}

KX_StringHandle KX_DatumTransformation_getName(KX_DatumTransformationHandle transformation,
                                               const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__, [&] {
        return api::handle_of<KX_StringHandle>(new model::String(transformation_of(transformation).name));
    });
}

int32_t KX_DatumTransformation_getObjectType(KX_DatumTransformationHandle transformation,
                                             const KX_ErrorCallbackRecord* rec) {
    return api::execute<int32_t>(rec, __func__,
                                 [&] { return static_cast<int32_t>(transformation_of(transformation).kind); });
}

KX_DatumTransformationHandle KX_DatumTransformation_getInverse(KX_DatumTransformationHandle transformation,
                                                               const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_DatumTransformationHandle>(rec, __func__, [&] {
        return api::handle_of<KX_DatumTransformationHandle>(
            new model::DatumTransformation(ops::inverse(transformation_of(transformation))));
    });
}

}  // extern "C"
