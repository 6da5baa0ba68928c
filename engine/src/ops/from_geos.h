// GEOS results as engine geometries of a kind the operation chooses: the members of the result
// of that kind's dimension are kept (points for a point or multipoint, lines for a polyline,
// polygons for a polygon), the rest ignored. Rings come out as the engine stores them (not
// closed), exteriors clockwise and holes counter-clockwise; z and m are restored by the given
// attributes.
#pragma once

#include <memory>
#include <vector>

#include "model/geometry.h"
#include "ops/geos_context.h"
#include "ops/vertex_attributes.h"

namespace ops {

struct ResultShape {
    model::GeometryKind kind;
    model::Dims dims;
    model::SpatialReferencePtr spatial_reference;
};

std::unique_ptr<model::Geometry> from_geos(const GEOSGeometry* g, const ResultShape& shape,
                                           const VertexAttributes& attributes);

// The vertices of a GEOS coordinate sequence (of a line or ring) as GEOS holds them: z as GEOS
// has it, m NaN. A failure to read is an engine error naming `what`.
std::vector<model::Vertex> sequence_vertices(const GEOSCoordSequence* seq, const char* what);
std::vector<model::Vertex> line_vertices(const GEOSGeometry* line, const char* what);

// An empty geometry of the given shape (an empty point has NaN x and y).
std::unique_ptr<model::Geometry> empty_geometry(const ResultShape& shape);

// The dimension of a kind: 0 points, 1 polylines, 2 polygons and envelopes.
int dimension_of(model::GeometryKind kind);

// The kind that holds results of a dimension; a multipoint for dimension 0.
model::GeometryKind kind_of_dimension(int dimension);

}  // namespace ops
