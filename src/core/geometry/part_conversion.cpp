// Straight and curve parts, and their collections, into and out of engine parts.
#include <cmath>
#include <numbers>

#include "core/geometry/curvepart.h"
#include "core/geometry/engine_sr.h"
#include "core/geometry/multipart.h"
#include "geometry/cubic_bezier_segment.h"
#include "geometry/downcast.h"
#include "geometry/elliptic_arc_segment.h"
#include "geometry/immutable_point_collection_iter.h"
#include "geometry/line_segment.h"

namespace core::geometry {

namespace {

using ::geometry::mutable_part::MutablePart;
using ::geometry::point::Point;


void add_vertex(const MutablePart& part, const VeltCoord& coord) {
    part.add_point_x_y_z_m(coord.x(), coord.y(), coord.z(), coord.m());
}

template <typename S>
GeoResult<void> append_segment(const MutablePart& part, ::geometry::Result<S> segment) {
    if (!segment) return std::unexpected(VeltGeoErr::from_engine(segment.error()));
    part.add_segment(*segment);
    return {};
}

CurveData elliptic_arc_of(const ::geometry::elliptic_arc_segment::EllipticArcSegment::Ref& arc) {
    const Point center = arc.center_point();
    const double cx = center.x();
    const double cy = center.y();
    const double central = arc.central_angle();
    if (arc.is_circular()) {
        const double t = (arc.start_angle() + arc.end_angle()) * 0.5;
        const double a = arc.semi_major_axis();
        return CircularArc{cx + a * std::cos(t), cy + a * std::sin(t)};
    }
    return EllipticArc{cx,
                       cy,
                       arc.rotation_angle(),
                       arc.semi_major_axis(),
                       arc.minor_major_ratio(),
                       std::fabs(central) < std::numbers::pi,
                       !arc.is_counter_clockwise()};
}

}  // namespace

// ---- into the engine ------------------------------------------------------------------------------

::geometry::point::Point VeltCoord::as_point() const { return Point::with_x_y_z_m(x_, y_, z(), m()); }

// Vertices without m go in by coordinates, one engine call each straight from the arrays; with m,
// each goes through a temporary point.
GeoResult<MutablePart> VeltPart::as_mutable_part(const EngineSr& sr) const {
    MutablePart part = MutablePart::with_spatial_reference(borrow(sr));
    if (ms_) {
        for (std::size_t i = 0; i < len(); ++i) add_vertex(part, *get(i));
    } else {
        part.add_points(xs_, ys_, zs_ ? std::span<const double>(*zs_) : std::span<const double>());
    }
    return part;
}

GeoResult<void> add_to_mutable_part(const CurveData& curve, const MutablePart& part, const VeltCoord& start,
                                    const VeltCoord& end, const EngineSr& sr) {
    using ::geometry::cubic_bezier_segment::CubicBezierSegment;
    using ::geometry::elliptic_arc_segment::EllipticArcSegment;
    if (is_line(curve)) {
        add_vertex(part, end);
        return {};
    }
    const Point start_point = start.as_point();
    const Point end_point = end.as_point();
    const auto* borrowed = borrow(sr);
    if (const auto* arc = std::get_if<CircularArc>(&curve)) {
        const Point interior = Point::with_x_y(arc->interior_x, arc->interior_y);
        return append_segment(part, EllipticArcSegment::with_circular_elliptic_arc_with_start_end_and_interior(
                                        start_point, end_point, interior, borrowed));
    }
    if (const auto* arc = std::get_if<EllipticArc>(&curve)) {
        return append_segment(part, EllipticArcSegment::with_start_and_end_points(start_point, end_point, arc->minor,
                                                                                  !arc->clockwise, borrowed,
                                                                                  arc->rotation, arc->axis, arc->ratio));
    }
    const auto& bezier = std::get<BezierCurve>(curve);
    const Point control1 = Point::with_x_y(bezier.ctrl1_x, bezier.ctrl1_y);
    const Point control2 = Point::with_x_y(bezier.ctrl2_x, bezier.ctrl2_y);
    return append_segment(
        part, CubicBezierSegment::with_start_point_control_point1_control_point2_end_point_spatial_reference(
                  start_point, control1, control2, end_point, borrowed));
}

GeoResult<MutablePart> VeltCurvePart::as_mutable_part(const EngineSr& sr) const {
    MutablePart part = MutablePart::with_spatial_reference(borrow(sr));
    if (is_empty()) return part;
    auto previous = get(0)->first;
    add_vertex(part, previous);
    for (std::size_t i = 1; i < len(); ++i) {
        auto [coord, curve] = *get(i);
        if (auto added = add_to_mutable_part(curve, part, previous, coord, sr); !added)
            return std::unexpected(std::move(added.error()));
        previous = coord;
    }
    return part;
}

template <typename P>
GeoResult<void> DimensionedCollection<P>::add_parts_to(
    const ::geometry::mutable_part_collection::MutablePartCollection& collection, const EngineSr& sr) const {
    for (const auto& line : lines_) {
        auto part = read_or_stop(*line, "Lock poisoned")->as_mutable_part(sr);
        if (!part) return std::unexpected(std::move(part.error()));
        collection.add_part(*part);
    }
    return {};
}

template class DimensionedCollection<VeltPart>;
template class DimensionedCollection<VeltCurvePart>;

// ---- out of the engine ----------------------------------------------------------------------------

VeltPart VeltPart::from_points(const ::geometry::immutable_point_collection::ImmutablePointCollection& points,
                               bool has_z, bool has_m) {
    VeltPart result(has_z, has_m);
    points.for_each_vertex(has_z, has_m, [&](double x, double y, double z, double m) { result.push_coord(x, y, z, m); });
    return result;
}

VeltPart VeltPart::from_immutable_part(::geometry::immutable_part::ImmutablePart part, bool has_z, bool has_m) {
    return from_points(part.points(), has_z, has_m);
}

GeoResult<CurveData> from_segment(const ::geometry::segment::SegmentOwned& segment) {
    using ::geometry::downcast::downcast_ref;
    if (downcast_ref<::geometry::line_segment::LineSegment>(segment)) return Line{};
    if (auto arc = downcast_ref<::geometry::elliptic_arc_segment::EllipticArcSegment>(segment))
        return elliptic_arc_of(*arc);
    if (auto bezier = downcast_ref<::geometry::cubic_bezier_segment::CubicBezierSegment>(segment)) {
        const Point control1 = bezier->control_point1();
        const Point control2 = bezier->control_point2();
        return BezierCurve{control1.x(), control1.y(), control2.x(), control2.y()};
    }
    return std::unexpected(VeltGeoErr(ErrorKind::CorvaneLibrary, "Got segment of invalid type from corvane"));
}

GeoResult<VeltCurvePart::Vertex> VeltCurvePart::convert_segment_helper(
    const ::geometry::immutable_part::ImmutablePart& part, uint64_t index) {
    auto point = part.get_point(index);
    if (!point)
        ::geometry::stop_unexpected(ENGINE_FUNCTION_NAME(ImmutablePart_getPoint), point.error());
    const VeltCoord coord = VeltCoord::of(point->x(), point->y(), point->z(), point->m());
    auto segment_index = part.get_segment_index_from_end_point_index(index);
    if (!segment_index)
        ::geometry::stop_unexpected(ENGINE_FUNCTION_NAME(ImmutablePart_getSegmentIndexFromEndPointIndex),
                                    segment_index.error());
    if (*segment_index == -1) return Vertex{coord, Line{}};
    auto segment = part.get_segment(static_cast<uint64_t>(*segment_index));
    if (!segment) return std::unexpected(VeltGeoErr::from_engine(segment.error()));
    auto curve = from_segment(*segment);
    if (!curve) return std::unexpected(std::move(curve.error()));
    return Vertex{coord, *curve};
}

GeoResult<VeltCurvePart> VeltCurvePart::from_immutable_part(::geometry::immutable_part::ImmutablePart part,
                                                            bool has_z, bool has_m) {
    VeltCurvePart result(has_z, has_m);
    const uint64_t count = part.point_count();
    for (uint64_t i = 0; i < count; ++i) {
        auto vertex = convert_segment_helper(part, i);
        if (!vertex) return std::unexpected(std::move(vertex.error()));
        if (auto pushed = result.push(vertex->first, vertex->second); !pushed)
            return std::unexpected(std::move(pushed.error()));
    }
    return result;
}

GeoResult<VeltCurvePart> VeltCurvePart::from_immutable_ring(::geometry::immutable_part::ImmutablePart part,
                                                            bool has_z, bool has_m) {
    VeltCurvePart result(has_z, has_m);
    if (part.is_empty()) return result;
    const uint64_t count = part.point_count();
    auto first = convert_segment_helper(part, 0);
    if (!first) return std::unexpected(std::move(first.error()));
    // Point 0 ends the closing segment; the model keeps that curve on a repeated last vertex.
    const auto [start, closing] = *first;
    (void)result.push(start, Line{});
    for (uint64_t i = 1; i < count; ++i) {
        auto vertex = convert_segment_helper(part, i);
        if (!vertex) return std::unexpected(std::move(vertex.error()));
        (void)result.push(vertex->first, vertex->second);
    }
    if (!is_line(closing)) (void)result.push(start, closing);
    return result;
}

}  // namespace core::geometry
