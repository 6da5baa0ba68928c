// The base of every engine geometry (point, envelope, polyline, polygon, multipoint). Geometries
// are values: the engine copies a geometry wherever it keeps one (an element, a vector), so a
// caller's handle is never taken over.
#pragma once

#include <cstdint>
#include <memory>

#include "corvane/corvane.h"
#include "model/geos_form.h"
#include "model/object.h"
#include "model/spatial_reference.h"
#include "model/vertex.h"

namespace model {

enum class GeometryKind : int32_t {
    Point = KX_GEOMETRY_TYPE_POINT,
    Envelope = KX_GEOMETRY_TYPE_ENVELOPE,
    Polyline = KX_GEOMETRY_TYPE_POLYLINE,
    Polygon = KX_GEOMETRY_TYPE_POLYGON,
    Multipoint = KX_GEOMETRY_TYPE_MULTIPOINT,
};

class Geometry : public Object {
public:
    Geometry() : Object(ClassTag::Geometry) {}
    virtual GeometryKind kind() const = 0;
    virtual std::unique_ptr<Geometry> clone() const = 0;

    const SpatialReferencePtr& spatial_reference() const { return spatial_reference_; }
    void set_spatial_reference(SpatialReferencePtr sr) { spatial_reference_ = std::move(sr); }

    // Whether the geometry carries z and m values; every vertex of it reports both either way.
    Dims dims;

    // Made by ops::geos_form on first use (see model/geos_form.h).
    GeosForm geos_form;

private:
    SpatialReferencePtr spatial_reference_;
};

}  // namespace model
