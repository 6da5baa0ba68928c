// One read-only part (a path or a ring) of an engine polyline or polygon.
#pragma once

#include <cstdint>

#include "geometry/immutable_point_collection_iter.h"
#include "geometry/point.h"
#include "geometry/segment.h"

namespace geometry::immutable_part {

class ImmutablePart : public handle::Owner<ImmutablePart, &bindings::CorvaneFFI::KX_ImmutablePart_destroy,
                                           "ImmutablePart", "ImmutablePart"> {
public:
    using BasicOwner::BasicOwner;

    immutable_point_collection::ImmutablePointCollection get_points() const;
    immutable_point_collection::ImmutablePointCollection points() const { return get_points(); }
    uint64_t point_count() const;
    bool is_empty() const;
    bool has_curves() const;

    // Indexes go to the engine untested; its errors are returned.
    Result<point::Point> get_point(uint64_t index) const;
    Result<segment::SegmentOwned> get_segment(uint64_t index) const;
    // The segment that ends at the point, -1 when none does.
    Result<int64_t> get_segment_index_from_end_point_index(uint64_t point_index) const;
};

}  // namespace geometry::immutable_part
