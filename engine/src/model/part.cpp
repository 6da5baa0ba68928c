#include "model/part.h"

#include <algorithm>
#include <string>

#include "model/engine_error.h"

namespace model {
namespace {

[[noreturn]] void out_of_range(const char* what, uint64_t index, uint64_t size) {
    throw model::EngineError(model::kIndexOutOfRange, std::string("Index of ") + what + " out of range.",
                           "Index " + std::to_string(index) + " of " + std::to_string(size) + ".");
}

Curve curve_at(const Part& part, uint64_t index) {
    auto it = std::lower_bound(part.curves.begin(), part.curves.end(), index,
                               [](const auto& entry, uint64_t i) { return entry.first < i; });
    return it != part.curves.end() && it->first == index ? it->second : Curve{Line{}};
}

}  // namespace

void add_segment(Part& part, const SegmentValue& segment, Dims dims) {
    if (part.points.empty()) {
        part.points.push_back(segment.start);
    } else if (!same_xy(part.points.back(), segment.start)) {
        throw model::EngineError(model::kGeometryError, "The segment does not start at the last point of the part.");
    }
    part.points.push_back(segment.end);
    if (is_curve(segment.curve)) part.curves.emplace_back(part.points.size() - 2, segment.curve);
    part.dims |= dims;
}

void close_ring(Part& part) {
    // A straight ring of three vertices closed by its third ([a, b, a], a ring collapsed to a
    // line) keeps that vertex: open, it would be a ring of two that its own text cannot rebuild.
    const bool keep_closing = part.points.size() == 3 && !has_curves(part);
    if (part.points.size() >= 2 && !keep_closing && same_xy(part.points.back(), part.points.front()))
        part.points.pop_back();
    part.ring = true;
}

void reverse_ring(Part& ring) {
    const uint64_t n = ring.points.size();
    if (n < 2) return;
    std::reverse(ring.points.begin() + 1, ring.points.end());
    for (auto& [index, curve] : ring.curves) {
        index = n - 1 - index;
        curve = reversed(curve);
    }
    std::reverse(ring.curves.begin(), ring.curves.end());
}

bool has_curves(const Part& part) { return !part.curves.empty(); }

uint64_t segment_count(const Part& part) {
    const uint64_t n = part.points.size();
    return part.ring || n == 0 ? n : n - 1;
}

SegmentValue segment_at(const Part& part, uint64_t index) {
    if (index >= segment_count(part)) out_of_range("segment", index, segment_count(part));
    const auto& end = part.points[(index + 1) % part.points.size()];
    return SegmentValue{part.points[index], end, curve_at(part, index)};
}

int64_t segment_ending_at(const Part& part, uint64_t point) {
    if (point >= part.points.size()) out_of_range("point", point, part.points.size());
    if (point > 0) return static_cast<int64_t>(point - 1);
    return part.ring ? static_cast<int64_t>(part.points.size()) - 1 : -1;
}

}  // namespace model
