#include "api/handles.h"

namespace api {

model::SpatialReferencePtr spatial_reference_of(KX_SpatialReferenceHandle handle) {
    if (handle == nullptr) return nullptr;
    return object<model::SpatialReference>(handle, model::ClassTag::SpatialReference).value();
}

KX_SpatialReferenceHandle new_spatial_reference(const model::SpatialReferencePtr& sr) {
    if (!sr) return nullptr;
    return handle_of<KX_SpatialReferenceHandle>(new model::SpatialReference(sr));
}

const model::Unit* unit_of(KX_UnitHandle handle, model::UnitKind kind) {
    if (handle == nullptr) return nullptr;
    const auto& unit = object<model::Unit>(handle, model::ClassTag::Unit);
    if (unit.kind() != kind)
        throw model::EngineError(model::kUnitError, "Wrong kind of unit.",
                                 kind == model::UnitKind::Area ? "An area unit is needed." : "A linear unit is needed.");
    return &unit;
}

KX_GeometryHandle new_geometry(std::unique_ptr<model::Geometry> g) {
    return handle_of<KX_GeometryHandle>(g.release());
}

KX_GeometryHandle new_point(const model::Vertex& v, model::Dims dims, model::SpatialReferencePtr sr) {
    auto p = std::make_unique<model::Point>(v, dims);
    p->set_spatial_reference(std::move(sr));
    return new_geometry(std::move(p));
}

}  // namespace api
