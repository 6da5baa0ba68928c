// Projecting a geometry into another spatial reference, with PROJ's best operation or a chosen
// datum transformation.
#include "api/handles.h"
#include "model/datum_transformation.h"
#include "ops/projection.h"

namespace {

model::SpatialReferencePtr target_of(KX_SpatialReferenceHandle handle) {
    auto target = api::spatial_reference_of(handle);
    if (!target) throw model::EngineError(model::kInvalidArgument, "Null handle.", "A spatial reference to project into is needed.");
    return target;
}

}  // namespace

extern "C" {

KX_GeometryHandle KX_GeometryEngine_project(KX_GeometryHandle geometry, KX_SpatialReferenceHandle spatial_reference,
                                            const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        return api::new_geometry(ops::projected(g, target_of(spatial_reference)));
    });
}

KX_GeometryHandle KX_GeometryEngine_projectWithTransformation(KX_GeometryHandle geometry,
                                                              KX_SpatialReferenceHandle spatial_reference,
                                                              KX_DatumTransformationHandle transformation,
                                                              const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        const auto target = target_of(spatial_reference);
        const auto& t = api::object<model::DatumTransformation>(transformation, model::ClassTag::DatumTransformation).value();
        if (!g.spatial_reference()) return api::new_geometry(ops::projected(g, target, nullptr));
        return api::new_geometry(ops::projected(g, target, ops::operation_through(*g.spatial_reference(), *target, *t).get()));
    });
}

}  // extern "C"
