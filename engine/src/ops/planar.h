// What the planar operations share: the shape of a result made from its inputs, reading GEOS
// results back, unions, and the repair of input GEOS refuses.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "model/geometry.h"
#include "ops/bounds.h"
#include "ops/from_geos.h"
#include "ops/geos_context.h"

namespace ops {

using GeometryPtr = std::unique_ptr<model::Geometry>;
using Geometries = std::vector<GeometryPtr>;

// The shape of a result of `kind` from one input: its dimensions and spatial reference.
ResultShape shape_of(model::GeometryKind kind, const model::Geometry& g);

// The shape of a result of `kind` from two inputs: both dimensions, their common spatial
// reference (two different ones are an engine error).
ResultShape shape_of(model::GeometryKind kind, const model::Geometry& a, const model::Geometry& b);

// A GEOS result read back as `shape`, with z and m restored from `inputs`.
GeometryPtr result_of(const GEOSGeometry* g, const ResultShape& shape,
                      std::initializer_list<const model::Geometry*> inputs,
                      VertexAttributes::NewVertices new_vertices = VertexAttributes::NewVertices::Unknown);

// result_of for any number of inputs.
GeometryPtr result_of(const GEOSGeometry* g, const ResultShape& shape, const std::vector<const model::Geometry*>& inputs,
                      VertexAttributes::NewVertices new_vertices = VertexAttributes::NewVertices::Unknown);

// The union of GEOS geometries made from `inputs`, read back as `shape`.
GeometryPtr united(std::vector<GeosPtr> members, const ResultShape& shape,
                   const std::vector<const model::Geometry*>& inputs);

// The shape of a result of `kind` from many inputs: all their dimensions, their one spatial
// reference.
ResultShape shape_of(model::GeometryKind kind, const std::vector<const model::Geometry*>& inputs);

// Whether an engine geometry holds nothing (an envelope or point without x, no vertex with x).
bool is_empty(const model::Geometry& g);

// GEOS's orientation tests multiply two coordinate differences (its buffer squares distances too),
// and the point where two segments cross is a product of three: past the cube root of the largest
// double (5.6e102) those overflow, and then its hull's sort reads past its input and its buffer
// builder (buffers, repairs) walks off its arrays or leaks what it built. 1e100 keeps a margin.
inline constexpr double kGeosMagnitude = 1e100;

// The x and y bounds GEOS keeps of a geometry (computed once and kept in it); none for an empty
// geometry, or when GEOS cannot tell.
std::optional<Bounds> geos_bounds(const GEOSGeometry* g);

// Refuses, with a geometry error, a GEOS form holding a coordinate beyond kGeosMagnitude before
// `operation` ("buffer") runs on it.
void check_magnitude(const GEOSGeometry* g, const char* operation);

// A valid form of `g` (GEOS make-valid, structure method, collapsed parts dropped): input that a
// GEOS operation refused is repaired and the operation tried once more. Refuses what
// check_magnitude refuses.
GeosPtr make_valid(const GEOSGeometry* g);

// What GEOS answers when it refuses its input: no geometry, or 2 from a predicate.
inline bool refused(const GEOSGeometry* made) { return made == nullptr; }
inline bool refused(char answer) { return answer == 2; }

// Calls `op` on the inputs; when GEOS refuses them (an invalid polygon), once more on their valid
// forms, and gives that second answer whatever it is.
template <typename Op>
auto retried_on_repair(Op op, const GEOSGeometry* a, const GEOSGeometry* b) -> decltype(op(a, b)) {
    auto first = op(a, b);
    if (!refused(first)) return first;
    geos_reset_error();
    GeosPtr va = make_valid(a);
    GeosPtr vb = b != nullptr ? make_valid(b) : nullptr;
    return op(va.get(), vb.get());
}

// retried_on_repair for an operation that makes a geometry. A second refusal is an engine error
// naming `what`, and so are inputs check_magnitude refuses: past it GEOS's overlays fail, and leak
// what their noding built when they do.
template <typename Op>
GeosPtr with_repair(const char* what, Op op, const GEOSGeometry* a, const GEOSGeometry* b = nullptr) {
    check_magnitude(a, what);
    if (b != nullptr) check_magnitude(b, what);
    return geos_check(retried_on_repair(op, a, b), what);
}

// The union of the members of `g` (repaired when GEOS refuses them).
GeosPtr unary_union(const GEOSGeometry* g);

}  // namespace ops
