#include "ops/spatial_references.h"

#include "model/engine_error.h"

namespace ops {

bool compatible_spatial_references(const model::Geometry& a, const model::Geometry& b) {
    const auto& sa = a.spatial_reference();
    const auto& sb = b.spatial_reference();
    return !sa || !sb || sa == sb || model::equal(*sa, *sb);
}

model::SpatialReferencePtr common_spatial_reference(const model::Geometry& a, const model::Geometry& b) {
    if (!compatible_spatial_references(a, b))
        throw model::EngineError(model::kSpatialReferenceError, "The geometries have different spatial references.",
                               "Project one of them into the other's spatial reference first.");
    return a.spatial_reference() ? a.spatial_reference() : b.spatial_reference();
}

model::SpatialReferencePtr common_spatial_reference(const std::vector<const model::Geometry*>& geometries) {
    const model::Geometry* with_reference = nullptr;
    for (const auto* g : geometries) {
        if (!g->spatial_reference()) continue;
        if (with_reference != nullptr) common_spatial_reference(*with_reference, *g);
        else with_reference = g;
    }
    return with_reference != nullptr ? with_reference->spatial_reference() : nullptr;
}

}  // namespace ops
