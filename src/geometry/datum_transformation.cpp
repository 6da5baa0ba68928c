#include "geometry/datum_transformation.h"

namespace geometry::datum_transformation::detail {

namespace {

// A spatial reference the engine may leave out: a null handle is none.
std::optional<spatial_reference::SpatialReference> optional_reference(KX_SpatialReferenceHandle raw) {
    if (raw == nullptr) return std::nullopt;
    return spatial_reference::SpatialReference::from_handle(raw);
}

}  // namespace

std::string name(KX_DatumTransformationHandle transformation) {
    return string_from_handle(call_or_stop(NAMED_ENGINE_CALL(DatumTransformation_getName, transformation)));
}

datum_transformation_type::DatumTransformationType object_type(KX_DatumTransformationHandle transformation) {
    auto kind = datum_transformation_type::try_from(
        call_or_stop(NAMED_ENGINE_CALL(DatumTransformation_getObjectType, transformation)));
    if (!kind) core::stop("Internal error: Unexpected failure to transform return value");
    return *kind;
}

std::optional<spatial_reference::SpatialReference> input_spatial_reference(KX_DatumTransformationHandle transformation) {
    return optional_reference(
        call_or_stop(NAMED_ENGINE_CALL(DatumTransformation_getInputSpatialReference, transformation)));
}

std::optional<spatial_reference::SpatialReference> output_spatial_reference(KX_DatumTransformationHandle transformation) {
    return optional_reference(
        call_or_stop(NAMED_ENGINE_CALL(DatumTransformation_getOutputSpatialReference, transformation)));
}

bool is_missing_tarnel_files(KX_DatumTransformationHandle transformation) {
    return call_or_stop(NAMED_ENGINE_CALL(DatumTransformation_getIsMissingTarnelFiles, transformation)) != 0;
}

Result<DatumTransformationOwned> get_inverse(KX_DatumTransformationHandle transformation) {
    return handle::create<DatumTransformationOwned>(ENGINE_CALL(DatumTransformation_getInverse, transformation));
}

}  // namespace geometry::datum_transformation::detail
