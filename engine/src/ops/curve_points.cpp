#include "ops/curve_points.h"

#include "ops/curve_densify.h"

namespace ops {

model::Part straightened(const model::Part& part, const std::function<bool(uint64_t)>& keep) {
    if (!model::has_curves(part)) return part;
    model::Part result;
    result.ring = part.ring;
    result.dims = part.dims;
    const uint64_t segments = model::segment_count(part);
    if (!part.points.empty()) result.points.push_back(part.points.front());
    for (uint64_t i = 0; i < segments; ++i) {
        const model::SegmentValue segment = model::segment_at(part, i);
        if (model::is_curve(segment.curve) && keep && keep(i)) {
            result.curves.emplace_back(result.points.size() - 1, segment.curve);
            result.points.push_back(segment.end);
        } else {
            append_chords(segment, result.points);
        }
    }
    // The closing segment of a ring ends at the first vertex, which is not stored twice.
    if (part.ring && segments > 0) result.points.pop_back();
    return result;
}

}  // namespace ops
