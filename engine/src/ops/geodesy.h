// The ellipsoid behind a spatial reference and the five kinds of curve along which geodetic
// measures run between two points:
// - Geodesic: the shortest path (GeographicLib Geodesic);
// - Loxodrome: the line of constant bearing (GeographicLib Rhumb);
// - GreatElliptic: the section of the ellipsoid by the plane through its centre and both points;
// - NormalSection: the section by the plane through the normal at the start and the end point;
// - ShapePreserving: the straight line of the geometry's own coordinates, taken on the ellipsoid.
#pragma once

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/Rhumb.hpp>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "model/geometry.h"
#include "model/part.h"
#include "model/multipart.h"
#include "ops/curve_points.h"
#include "ops/projection.h"
#include "ops/vertices.h"

namespace ops {

enum class CurveType : int32_t {
#define KX_CURVE_TYPE(name, code) name = code,
#include "corvane/curve_types.def"
#undef KX_CURVE_TYPE
};

// Throws model::EngineError for a code of no curve type.
CurveType curve_type(int32_t code);

struct LonLat {
    double lon, lat;
};

// What geodesy needs of a spatial reference: its ellipsoid and the way to its geographic base.
struct GeodeticFrame {
    GeographicLib::Geodesic geodesic;
    GeographicLib::Rhumb rhumb;
    GeographicLib::Geocentric geocentric;
    double b_over_a;  // of the ellipsoid's axes
    // The x span of one turn of longitude in the reference's own coordinates: 360 for a geographic
    // reference, the period of a Mercator projection; none for other projections.
    std::optional<double> turn;
    CoordinateOperationPtr to_geographic;    // none for a geographic reference
    CoordinateOperationPtr from_geographic;  // none for a geographic reference
};

// The frame of a geometry's spatial reference (remembered per reference); a geometry without one
// has no ellipsoid to measure on: an engine error.
std::shared_ptr<const GeodeticFrame> frame_of(const model::Geometry& geometry);

// The vertices in longitude and latitude; throws for a latitude beyond the poles.
std::vector<LonLat> geographic(const GeodeticFrame& frame, std::span<const model::Vertex> vertices);

// Calls `f(part)` for every path or ring of the geometry, each with its curves followed by
// points; an envelope counts as its polygon, points and multipoints have none.
template <typename F>
void for_each_straight_part(const model::Geometry& geometry, F&& f) {
    if (geometry.kind() == model::GeometryKind::Envelope) {
        const auto polygon = envelope_polygon(static_cast<const model::Envelope&>(geometry));
        for (const auto& part : polygon->parts) f(part);
        return;
    }
    if (geometry.kind() != model::GeometryKind::Polyline && geometry.kind() != model::GeometryKind::Polygon) return;
    for (const auto& part : static_cast<const model::Multipart&>(geometry).parts) {
        if (model::has_curves(part)) f(straightened(part));
        else f(part);
    }
}

// One straight (as stored) segment of a part as a curve of the given type on the ellipsoid.
class GeodeticSegment {
public:
    GeodeticSegment(const GeodeticFrame& frame, CurveType type, const model::Vertex& own_a, const model::Vertex& own_b,
                    LonLat a, LonLat b);

    // Its length in metres.
    double length() const { return length_; }
    // Points at the given distances (metres from the start, increasing), their longitudes
    // continuing from the start's without a jump at the antimeridian.
    std::vector<LonLat> at_distances(std::span<const double> distances) const;
    // Points close enough together that geodesics between them follow the curve: the curve as
    // geodesic pieces (the two ends included).
    std::vector<LonLat> fine_points() const;

private:
    std::vector<LonLat> at_parameters(std::span<const double> ts) const;

    const GeodeticFrame& frame_;
    CurveType type_;
    model::Vertex own_a_, own_b_;
    LonLat a_, b_;
    double length_ = 0;
    // Cumulative geodesic length of the fine points of a curve GeographicLib does not follow itself.
    std::vector<double> fine_t_, fine_s_;
};

}  // namespace ops
