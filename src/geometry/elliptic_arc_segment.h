// The owner of an engine elliptic arc (circular arcs included): constructors and parameter getters.
// Angles are in radians; lengths in the units of the coordinates.
#pragma once

#include <string_view>

#include "geometry/point.h"
#include "geometry/segment.h"

namespace geometry::elliptic_arc_segment {

namespace detail {
point::Point center_point(KX_SegmentHandle segment);
bool is_circular(KX_SegmentHandle segment);
bool is_counter_clockwise(KX_SegmentHandle segment);
double start_angle(KX_SegmentHandle segment);
double end_angle(KX_SegmentHandle segment);
double central_angle(KX_SegmentHandle segment);
double rotation_angle(KX_SegmentHandle segment);
double semi_major_axis(KX_SegmentHandle segment);
double minor_major_ratio(KX_SegmentHandle segment);
}  // namespace detail

// The getters, shared by the owner and by the view that narrowing gives.
template <typename Self>
class EllipticArcOps {
public:
    point::Point center_point() const { return detail::center_point(raw()); }
    bool is_circular() const { return detail::is_circular(raw()); }
    bool is_counter_clockwise() const { return detail::is_counter_clockwise(raw()); }
    double start_angle() const { return detail::start_angle(raw()); }
    double end_angle() const { return detail::end_angle(raw()); }
    double central_angle() const { return detail::central_angle(raw()); }
    double rotation_angle() const { return detail::rotation_angle(raw()); }
    double semi_major_axis() const { return detail::semi_major_axis(raw()); }
    double minor_major_ratio() const { return detail::minor_major_ratio(raw()); }

private:
    KX_SegmentHandle raw() const { return static_cast<const Self&>(*this).handle(); }
};

class EllipticArcSegment : public handle::Owner<EllipticArcSegment, &bindings::CorvaneFFI::KX_Segment_destroy,
                                                "EllipticArcSegment", "Segment">,
                           public EllipticArcOps<EllipticArcSegment> {
public:
    using BasicOwner::BasicOwner;
    static constexpr segment::SegmentType kind = segment::SegmentType::EllipticArc;
    static constexpr std::string_view type_name = "geometry::elliptic_arc_segment::EllipticArcSegment";
    using Ref = handle::View<KX_SegmentHandle, EllipticArcOps>;

    // Points and spatial reference (null for none) are borrowed; the engine's error is returned.
    static Result<EllipticArcSegment> with_start_and_end_points(const point::Point& start, const point::Point& end,
                                                                bool is_minor, bool is_counter_clockwise,
                                                                const spatial_reference::SpatialReference* sr,
                                                                double rotation_angle, double semi_major_axis,
                                                                double minor_major_ratio);
    static Result<EllipticArcSegment> with_circular_elliptic_arc_with_center(
        const point::Point& start, const point::Point& end, const point::Point& center, bool is_minor,
        bool is_counter_clockwise, const spatial_reference::SpatialReference* sr);
    static Result<EllipticArcSegment> with_circular_elliptic_arc_with_start_end_and_interior(
        const point::Point& start, const point::Point& end, const point::Point& interior,
        const spatial_reference::SpatialReference* sr);
};

}  // namespace geometry::elliptic_arc_segment
