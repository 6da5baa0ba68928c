// Operations that make a new shape from one geometry: boundary, convex hull, buffer, densify,
// generalize and the label point. Envelopes act as polygons.
#pragma once

#include <vector>

#include "ops/planar.h"

namespace ops {

// Buffers approximate their round ends and joins with this many chords per quarter circle, which
// keeps every chord within 0.1% of the buffer distance of the true circle.
inline constexpr int kBufferQuadrantSegments = 18;

// A polygon's boundary is a polyline of its rings as closed paths (curves kept), a polyline's a
// multipoint of its path ends (an end shared by two paths, or a closed path, has none), a point's
// or multipoint's an empty multipoint.
GeometryPtr boundary(const model::Geometry& g);

// The smallest convex geometry holding `g`: a polygon, or a polyline or point where the input
// spans no area.
GeometryPtr convex_hull(const model::Geometry& g);

// One hull per geometry, or the one hull of all when `merge`.
Geometries convex_hulls(const std::vector<const model::Geometry*>& geometries, bool merge);

// The polygon of the points within `distance` of `g` (negative distances shrink polygons); always
// a polygon, empty when nothing remains.
GeometryPtr buffer(const model::Geometry& g, double distance);

// Buffers by the matching distance (extra distances ignored, the last one repeated for the
// remaining geometries); with `unite`, one polygon of them all.
Geometries buffers(const std::vector<const model::Geometry*>& geometries, const std::vector<double>& distances,
                   bool unite);

// Vertices added so that no segment is longer than `max_segment_length`; curves become chords.
GeometryPtr densify(const model::Geometry& g, double max_segment_length);

// Douglas-Peucker generalization within `max_offset`; points and multipoints unchanged.
GeometryPtr generalize(const model::Geometry& g, double max_offset, bool remove_degenerate_parts);

// A point on the geometry, inside a polygon; the centre of an envelope; empty for an empty input.
GeometryPtr label_point(const model::Geometry& g);

}  // namespace ops
