// Giving every vertex of a geometry one z or m value, or taking z or m away. Shapes, curves and
// spatial references are kept exactly.
#pragma once

#include <memory>
#include <optional>

#include "model/geometry.h"

namespace ops {

// What to do with one ordinate: leave it, set it to a value, or remove it (NaN, dimension off).
struct OrdinateChange {
    enum class Kind { Keep, Set, Remove } kind = Kind::Keep;
    double value = model::kNaN;

    static OrdinateChange keep() { return {}; }
    static OrdinateChange set(double v) { return {Kind::Set, v}; }
    static OrdinateChange remove() { return {Kind::Remove, model::kNaN}; }
};

std::unique_ptr<model::Geometry> with_dimensions(const model::Geometry& geometry, OrdinateChange z, OrdinateChange m);

}  // namespace ops
