// Walking the vertices of any engine geometry, and the polygon an envelope stands for where an
// operation cannot keep an envelope.
#pragma once

#include <memory>

#include "model/envelope.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"

namespace ops {

// Calls `f(vertex)` for every stored vertex of a point, multipoint, polyline or polygon; an
// envelope has no vertices of its own and is left to the caller.
template <typename G, typename F>
void for_each_vertex(G& geometry, F&& f) {
    using model::GeometryKind;
    switch (geometry.kind()) {
        case GeometryKind::Point:
            f(static_cast<std::conditional_t<std::is_const_v<G>, const model::Point&, model::Point&>>(geometry).vertex);
            break;
        case GeometryKind::Multipoint:
            for (auto& v : static_cast<std::conditional_t<std::is_const_v<G>, const model::Multipoint&, model::Multipoint&>>(geometry).points) f(v);
            break;
        case GeometryKind::Polyline:
        case GeometryKind::Polygon:
            for (auto& part : static_cast<std::conditional_t<std::is_const_v<G>, const model::Multipart&, model::Multipart&>>(geometry).parts)
                for (auto& v : part.points) f(v);
            break;
        case GeometryKind::Envelope:
            break;
    }
}

// The polygon of an envelope: one clockwise ring from (xmin, ymin), as the module's rings run;
// the empty polygon for the empty envelope. z and m are the lower bounds of their ranges.
std::unique_ptr<model::Multipart> envelope_polygon(const model::Envelope& envelope);

}  // namespace ops
