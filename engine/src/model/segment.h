// A segment handed to or from the engine's callers: its two end vertices, its shape, and the
// dimensions and spatial reference it was made with.
#pragma once

#include "corvane/corvane.h"
#include "model/curve.h"
#include "model/object.h"
#include "model/spatial_reference.h"

namespace model {

enum class SegmentKind : int32_t {
    Line = KX_SEGMENT_TYPE_LINE,
    CubicBezier = KX_SEGMENT_TYPE_CUBIC_BEZIER,
    EllipticArc = KX_SEGMENT_TYPE_ELLIPTIC_ARC,
};

class Segment : public Object {
public:
    Segment(SegmentValue value, Dims dims, SpatialReferencePtr sr)
        : Object(ClassTag::Segment), value(value), dims(dims), spatial_reference(std::move(sr)) {}

    SegmentKind kind() const { return static_cast<SegmentKind>(value.curve.index() + 1); }

    SegmentValue value;
    Dims dims;
    SpatialReferencePtr spatial_reference;
};

}  // namespace model
