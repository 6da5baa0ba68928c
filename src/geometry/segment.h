// SegmentOwned, the owner of an engine segment of any kind, and the engine's segment kind codes.
#pragma once

#include <concepts>
#include <cstdint>
#include <string_view>
#include <utility>

#include "corvane/corvane.h"
#include "geometry/handle.h"

namespace geometry::segment {

// The engine's segment kinds (KX_Segment_getObjectType); circular arcs are elliptic arcs.
enum class SegmentType : int32_t {
    Line = KX_SEGMENT_TYPE_LINE,
    CubicBezier = KX_SEGMENT_TYPE_CUBIC_BEZIER,
    EllipticArc = KX_SEGMENT_TYPE_ELLIPTIC_ARC,
};

// A typed segment: its kind code, its name in the conversion error and its borrowed view.
template <typename T>
concept TypedSegment = requires {
    { T::kind } -> std::convertible_to<SegmentType>;
    { T::type_name } -> std::convertible_to<std::string_view>;
    typename T::Ref;
};

class SegmentOwned
    : public handle::Owner<SegmentOwned, &bindings::CorvaneFFI::KX_Segment_destroy, "SegmentOwned", "Segment"> {
public:
    using BasicOwner::BasicOwner;

    // A typed segment goes on as a segment of any kind: the handle moves, no engine call.
    template <TypedSegment T>
    static SegmentOwned from(T&& typed) {
        return from_handle(std::move(typed).release());
    }
};

}  // namespace geometry::segment
