#include "geometry/geometry.h"

namespace geometry::geometry::detail {

bool has_z(KX_GeometryHandle geometry) { return call_or_stop(NAMED_ENGINE_CALL(Geometry_getHasZ, geometry)) != 0; }

bool has_m(KX_GeometryHandle geometry) { return call_or_stop(NAMED_ENGINE_CALL(Geometry_getHasM, geometry)) != 0; }

bool has_curves(KX_GeometryHandle geometry) {
    return call_or_stop(NAMED_ENGINE_CALL(Geometry_getHasCurves, geometry)) != 0;
}

envelope::Envelope extent(KX_GeometryHandle geometry) {
    return handle::create_or_stop<envelope::Envelope>(NAMED_ENGINE_CALL(Geometry_getExtent, geometry));
}

std::optional<spatial_reference::SpatialReference> spatial_reference(KX_GeometryHandle geometry) {
    auto* raw = call_or_stop(NAMED_ENGINE_CALL(Geometry_getSpatialReference, geometry));
    if (raw == nullptr) return std::nullopt;
    return spatial_reference::SpatialReference::from_handle(raw);
}

geometry_type::GeometryType object_type(KX_GeometryHandle geometry) {
    auto kind = geometry_type::try_from(call_or_stop(NAMED_ENGINE_CALL(Geometry_getObjectType, geometry)));
    if (!kind) stop_with("Internal error: Unexpected failure to transform return value", kind.error());
    return *kind;
}

}  // namespace geometry::geometry::detail
