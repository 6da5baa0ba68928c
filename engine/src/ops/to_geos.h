// Engine geometries as GEOS geometries. Curves become chords (ops/curve_densify.h); z travels
// with every vertex; m stays behind (GEOS carries none) and is restored afterwards by
// ops/vertex_attributes.h. What GEOS cannot hold is left out rather than refused, so every
// geometry converts: vertices without x or y, paths of fewer than two vertices, rings of fewer
// than three distinct vertices.
#pragma once

#include <span>
#include <vector>

#include "model/geometry.h"
#include "model/multipart.h"
#include "ops/geos_context.h"

namespace ops {

// Point: a point (empty for NaN x or y). Multipoint: a multipoint. Polyline: a multi-line-string.
// Envelope: a rectangle (empty for the empty envelope). Polygon: a multipolygon whose rings take
// their roles from ops/ring_nesting.h, exteriors that overlap united.
GeosPtr to_geos(const model::Geometry& g);

// A polygon's GEOS form (what to_geos makes of it); whether that is the union of exteriors that
// overlap (then the polygon as written is no valid GEOS polygon); and which parts are exteriors.
struct PolygonForm {
    GeosPtr geometry;
    bool united = false;
    std::vector<bool> exterior;
};
PolygonForm polygon_form(const model::Multipart& polygon);

// For each part of a polygon: whether to_geos makes it an exterior (false for its holes and for
// parts GEOS cannot hold), and the area of the straight ring read of it (its located vertices and
// the chords of its curves, as ops::shoelace measures them; 0 for parts GEOS cannot hold).
struct PartRoles {
    std::vector<bool> exterior;
    std::vector<double> straight_area;
};
PartRoles part_roles(const model::Multipart& polygon);

// A GEOS line string or linear ring (`close` repeats the first vertex) of the given vertices.
GeosPtr geos_line(std::span<const model::Vertex> vertices, bool close);

// A GEOS polygon taking over its shell and holes (linear rings).
GeosPtr geos_polygon(GeosPtr shell, std::vector<GeosPtr> holes);

// A GEOS collection of the given type taking over `members`.
GeosPtr geos_collection(int type, std::vector<GeosPtr> members);

// Whether the vertices hold three distinct points: what a ring needs to become a GEOS ring.
bool spans_area(std::span<const model::Vertex> vertices);

// Whether every located vertex (and envelope bound) is finite: overlays and buffers refuse
// infinite coordinates, on which GEOS's robust arithmetic gives no meaningful answer.
bool finite_coordinates(const model::Geometry& g);

// Throws an engine error unless finite_coordinates(g).
void require_finite(const model::Geometry& g);

}  // namespace ops
