// Typed access to the engine objects behind handles, shared by the exported functions.
#pragma once

#include <memory>

#include "api/execute.h"
#include "model/geometry.h"
#include "model/point.h"
#include "model/spatial_reference.h"
#include "model/unit.h"

namespace api {

// The spatial reference a caller lends, shared; none for a null handle.
model::SpatialReferencePtr spatial_reference_of(KX_SpatialReferenceHandle handle);

// A new handle to the given spatial reference; null for none.
KX_SpatialReferenceHandle new_spatial_reference(const model::SpatialReferencePtr& sr);

inline model::Geometry& geometry(KX_GeometryHandle handle) {
    return object<model::Geometry>(handle, model::ClassTag::Geometry);
}

// The geometry behind a handle, which must be of the given kind.
template <typename T>
T& geometry_of(KX_GeometryHandle handle, model::GeometryKind kind, const char* kind_name) {
    auto& g = geometry(handle);
    if (g.kind() != kind)
        throw model::EngineError(model::kInvalidHandle, "Invalid handle.", std::string("Expected a handle to a ") + kind_name + ".");
    return static_cast<T&>(g);
}

inline model::Point& point(KX_GeometryHandle handle) {
    return geometry_of<model::Point>(handle, model::GeometryKind::Point, "point");
}

// The unit a caller gives a quantity of `kind` in; none for a null handle, which names the base
// unit. A unit of the other kind is the unit error "Wrong kind of unit.".
const model::Unit* unit_of(KX_UnitHandle handle, model::UnitKind kind);

KX_GeometryHandle new_geometry(std::unique_ptr<model::Geometry> g);

// A new point of the given vertex, with the dimensions and spatial reference of its source.
KX_GeometryHandle new_point(const model::Vertex& v, model::Dims dims, model::SpatialReferencePtr sr);

}  // namespace api
