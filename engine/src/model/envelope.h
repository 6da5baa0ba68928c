// An engine envelope: an axis-aligned box with optional z and m ranges. The empty envelope has NaN
// xmin; bounds are kept as given, whatever their order.
#pragma once

#include "model/geometry.h"
#include "model/vertex.h"

namespace model {

struct Range {
    double min = kNaN;
    double max = kNaN;
};

class Envelope : public Geometry {
public:
    Envelope(Range x, Range y, Range z, Range m, Dims d) : x(x), y(y), z(z), m(m) { dims = d; }
    GeometryKind kind() const override { return GeometryKind::Envelope; }
    std::unique_ptr<Geometry> clone() const override { return std::make_unique<Envelope>(*this); }

    Range x, y, z, m;
};

}  // namespace model
