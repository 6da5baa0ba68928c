// An engine part (a path or a ring) under construction: vertices and curve segments appended in
// order. Points and segments given to it stay with the caller; the engine copies them.
#pragma once

#include <optional>
#include <span>

#include "geometry/point.h"
#include "geometry/spatial_reference.h"

namespace geometry::mutable_part {

// A curve segment owner that can be appended (an elliptic arc or a cubic Bezier curve).
template <typename S>
concept AppendableSegment = requires(const S& s) {
    { s.handle() } -> std::same_as<KX_SegmentHandle>;
};

class MutablePart : public handle::Owner<MutablePart, &bindings::CorvaneFFI::KX_MutablePart_destroy, "MutablePart",
                                         "MutablePart"> {
public:
    using BasicOwner::BasicOwner;

    // Empty, with the spatial reference (null for none).
    static MutablePart with_spatial_reference(const spatial_reference::SpatialReference* sr);

    void add_point(const point::Point& point) const;
    void add_point_x_y(double x, double y) const;
    // The engine appends by coordinates only without m; a vertex with m goes through a temporary
    // point, destroyed again before this returns.
    void add_point_x_y_z_m(double x, double y, std::optional<double> z, std::optional<double> m) const;
    // One addPointXY call per vertex, or addPointXYZ when `zs` is given (as long as `xs`): the
    // straight vertices of a part without m, in order.
    void add_points(std::span<const double> xs, std::span<const double> ys, std::span<const double> zs = {}) const;
    template <AppendableSegment S>
    void add_segment(const S& segment) const {
        add_segment_handle(segment.handle());
    }

private:
    void add_segment_handle(KX_SegmentHandle segment) const;
};

}  // namespace geometry::mutable_part
