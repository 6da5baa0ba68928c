// Affine maps of the plane (move, rotate, scale) applied to whole geometries. Curves stay curves:
// the image of a Bezier curve is the Bezier curve of the images of its control points, and the
// image of an elliptic arc is again an elliptic arc, so nothing is densified.
#pragma once

#include <memory>

#include "model/geometry.h"

namespace ops {

// x' = a x + b y + c, y' = d x + e y + f.
struct Affine {
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;

    static Affine translation(double dx, double dy) { return {1, 0, dx, 0, 1, dy}; }
    // Counter-clockwise by `degrees` (taken modulo 360) about (ox, oy).
    static Affine rotation(double degrees, double ox, double oy);
    static Affine scaling(double sx, double sy, double ox, double oy) {
        return {sx, 0, ox - sx * ox, 0, sy, oy - sy * oy};
    }
    // Whether the map keeps the geometry's axes parallel (an envelope stays an envelope).
    bool axis_parallel() const { return b == 0 && d == 0; }
};

// The geometry's image: an envelope stays an envelope under an axis-parallel map and becomes a
// polygon otherwise; every other kind keeps its kind, z, m and spatial reference.
std::unique_ptr<model::Geometry> transformed(const model::Geometry& geometry, const Affine& map);

}  // namespace ops
