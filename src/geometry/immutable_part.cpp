#include "geometry/immutable_part.h"

namespace geometry::immutable_part {

immutable_point_collection::ImmutablePointCollection ImmutablePart::get_points() const {
    return handle::create_or_stop<immutable_point_collection::ImmutablePointCollection>(
        NAMED_ENGINE_CALL(ImmutablePart_getPoints, handle()));
}

uint64_t ImmutablePart::point_count() const {
    return call_or_stop(NAMED_ENGINE_CALL(ImmutablePart_getPointCount, handle()));
}

bool ImmutablePart::is_empty() const { return call_or_stop(NAMED_ENGINE_CALL(ImmutablePart_getIsEmpty, handle())) != 0; }

bool ImmutablePart::has_curves() const {
    return call_or_stop(NAMED_ENGINE_CALL(ImmutablePart_getHasCurves, handle())) != 0;
}

Result<point::Point> ImmutablePart::get_point(uint64_t index) const {
    return handle::create<point::Point>(ENGINE_CALL(ImmutablePart_getPoint, handle(), index));
}

Result<segment::SegmentOwned> ImmutablePart::get_segment(uint64_t index) const {
    return handle::create<segment::SegmentOwned>(ENGINE_CALL(ImmutablePart_getSegment, handle(), index));
}

Result<int64_t> ImmutablePart::get_segment_index_from_end_point_index(uint64_t point_index) const {
    return call(ENGINE_CALL(ImmutablePart_getSegmentIndexFromEndPointIndex, handle(), point_index));
}

}  // namespace geometry::immutable_part
