// The engine's JSON text of geometries: compact JSON in the shape of the dictionaries callers read
// ("x", "y", "z", "m"; "points"; "paths" / "rings", or "curvePaths" / "curveRings" when a part holds
// curves; "xmin" ... "mmax"; "hasZ", "hasM" written only when true; "spatialReference" as
// {"wkid":..} with "vcsWkid" for a vertical reference, or {"wkt":..} for one without an id).
// Rings are written closed. NaN is written as null and null is read as NaN.
//
// Curve elements: {"c":[end,[x,y]]} a circular arc through an interior point (the point half-way
// along it); {"a":[end,[cx,cy],minor,clockwise,rotation,semiMajor,ratio]} an elliptic arc, rebuilt
// from its ends, flags and shape (the centre is informative); {"a":[end,[cx,cy],minor,clockwise]}
// a circular arc about a centre (written for full circles, whose direction "c" cannot show);
// {"b":[end,[x1,y1],[x2,y2]]} a cubic Bezier curve.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "model/geometry.h"

namespace model {

// Limits of the reader, checked before parsing: the parser recurses once per nesting level, and
// its document takes several times the memory of the text.
inline constexpr size_t kMaxJsonBytes = 64u << 20;
inline constexpr int kMaxJsonDepth = 32;

std::string to_json(const Geometry& geometry);

// Throws model::EngineError (code kJsonError) for text that is not JSON, is too large or too deeply
// nested, or does not describe a geometry; geometry errors (a refused arc) keep their own code.
std::unique_ptr<Geometry> from_json(std::string_view text);

}  // namespace model
