// Curve segments: the constructors and what the getters give back, narrowing by segment kind,
// and the constructors' error values.
#include <cmath>
#include <numbers>
#include <string>

#include "engine_test.h"
#include "geometry/downcast.h"
#include "geometry/mutable_part_collection.h"
#include "geometry/polyline_builder.h"

namespace {

using namespace geometry;
using cubic_bezier_segment::CubicBezierSegment;
using elliptic_arc_segment::EllipticArcSegment;
using point::Point;

class SegmentTest : public EngineTest {};

TEST_F(SegmentTest, CubicBezierKeepsItsControlPoints) {
    auto bezier = *CubicBezierSegment::with_start_point_control_point1_control_point2_end_point_spatial_reference(
        Point::with_x_y(0, 0), Point::with_x_y(1, 2), Point::with_x_y(3, 2), Point::with_x_y(4, 0), nullptr);
    EXPECT_EQ(bezier.control_point1().x(), 1);
    EXPECT_EQ(bezier.control_point2().x(), 3);
}

TEST_F(SegmentTest, CircularArcFromCenterReadsBack) {
    auto arc = *EllipticArcSegment::with_circular_elliptic_arc_with_center(
        Point::with_x_y(1, 0), Point::with_x_y(0, 1), Point::with_x_y(0, 0), true, true, nullptr);
    EXPECT_TRUE(arc.is_circular());
    EXPECT_TRUE(arc.is_counter_clockwise());
    EXPECT_DOUBLE_EQ(arc.semi_major_axis(), 1);
    EXPECT_DOUBLE_EQ(arc.minor_major_ratio(), 1);
    EXPECT_NEAR(arc.central_angle(), std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(arc.end_angle() - arc.start_angle(), arc.central_angle(), 1e-12);
    auto center = arc.center_point();
    EXPECT_EQ(center.x(), 0);
    EXPECT_EQ(center.y(), 0);
}

TEST_F(SegmentTest, ArcsFromEndpointsAndFromAnInteriorPoint) {
    auto ellipse = *EllipticArcSegment::with_start_and_end_points(Point::with_x_y(2, 0), Point::with_x_y(-2, 0), true,
                                                                  false, nullptr, 0, 2, 0.5);
    EXPECT_FALSE(ellipse.is_circular());
    EXPECT_FALSE(ellipse.is_counter_clockwise());
    EXPECT_DOUBLE_EQ(ellipse.minor_major_ratio(), 0.5);

    auto through = *EllipticArcSegment::with_circular_elliptic_arc_with_start_end_and_interior(
        Point::with_x_y(1, 0), Point::with_x_y(-1, 0), Point::with_x_y(0, 1), nullptr);
    EXPECT_TRUE(through.is_circular());
    EXPECT_NEAR(through.semi_major_axis(), 1, 1e-12);
}

TEST_F(SegmentTest, ConstructorErrorsAreReturned) {
    fail_next("KX_EllipticArcSegment_createCircularEllipticArcWithCenter");
    auto refused = EllipticArcSegment::with_circular_elliptic_arc_with_center(
        Point::with_x_y(1, 0), Point::with_x_y(0, 1), Point::with_x_y(0, 0), true, true, nullptr);
    ASSERT_FALSE(refused.has_value());
    EXPECT_EQ(refused.error().msg, "Injected failure in KX_EllipticArcSegment_createCircularEllipticArcWithCenter.");

    fail_next("KX_CubicBezierSegment_create", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([] {
                  (void)CubicBezierSegment::
                      with_start_point_control_point1_control_point2_end_point_spatial_reference(
                          Point::with_x_y(0, 0), Point::with_x_y(1, 2), Point::with_x_y(3, 2), Point::with_x_y(4, 0),
                          nullptr);
              }),
              "Internal error: Unexpected null handle returned from core Segment for CubicBezierSegment");
}

// Reads the one segment of a two-vertex part made with `add`.
template <typename Add>
segment::SegmentOwned segment_of(Add add) {
    auto part = mutable_part::MutablePart::with_spatial_reference(nullptr);
    add(part);
    auto builder = polyline_builder::PolylineBuilder::with_spatial_reference(nullptr);
    auto parts = mutable_part_collection::MutablePartCollection::with_spatial_reference(nullptr);
    parts.add_part(part);
    builder.set_parts(parts);
    auto polyline = *downcast::downcast<polyline::Polyline>(builder.to_geometry());
    return *(*polyline.parts().get_part(0)).get_segment(0);
}

TEST_F(SegmentTest, NarrowingTriesEachKindAndLeavesTheSegmentUsable) {
    auto arc = segment_of([](const mutable_part::MutablePart& part) {
        part.add_segment(*EllipticArcSegment::with_circular_elliptic_arc_with_center(
            Point::with_x_y(1, 0), Point::with_x_y(0, 1), Point::with_x_y(0, 0), true, true, nullptr));
    });
    auto as_line = downcast::downcast_ref<line_segment::LineSegment>(arc);
    ASSERT_FALSE(as_line.has_value());
    EXPECT_EQ(as_line.error(), Error::new_conversion_error("SegmentOwned", "geometry::line_segment::LineSegment"));
    EXPECT_FALSE(downcast::downcast_ref<CubicBezierSegment>(arc).has_value());
    auto as_arc = downcast::downcast_ref<EllipticArcSegment>(arc);
    ASSERT_TRUE(as_arc.has_value());
    EXPECT_TRUE(as_arc->is_circular());

    auto line = segment_of([](const mutable_part::MutablePart& part) {
        part.add_point_x_y(0, 0);
        part.add_point_x_y(1, 1);
    });
    EXPECT_TRUE(downcast::downcast_ref<line_segment::LineSegment>(line).has_value());

    for (int32_t mode : {KXT_FAIL_BAD_CODE, KXT_FAIL_REPORT_ERROR}) {
        fail_next("KX_Segment_getObjectType", mode);
        const auto message = stop_message([&] {
            auto narrowed = downcast::downcast_ref<EllipticArcSegment>(arc);
            EXPECT_FALSE(narrowed.has_value());
        });
        if (mode == KXT_FAIL_REPORT_ERROR)
            EXPECT_EQ(without_record(message),
                      "Internal error: Unexpectedly failed to get object type for downcast_ref of SegmentOwned");
        else
            EXPECT_EQ(message, "(no stop)");
    }
}

TEST_F(SegmentTest, TypedSegmentMovesIntoSegmentOwned) {
    auto arc = *EllipticArcSegment::with_circular_elliptic_arc_with_center(
        Point::with_x_y(1, 0), Point::with_x_y(0, 1), Point::with_x_y(0, 0), true, true, nullptr);
    const auto raw = arc.handle();
    const auto before = live_objects("Segment");
    auto general = segment::SegmentOwned::from(std::move(arc));
    EXPECT_EQ(general.handle(), raw);
    EXPECT_EQ(live_objects("Segment"), before);
    fail_next("KX_Segment_destroy");
    EXPECT_EQ(without_record(stop_message([&] { segment::SegmentOwned doomed = std::move(general); })),
              "Internal error: Unexpected error while destroying internal handle to SegmentOwned");
    bindings::ffi().KX_Segment_destroy(raw, nullptr);
}

}  // namespace
