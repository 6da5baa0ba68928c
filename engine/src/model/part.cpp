#include "model/part.h"

#include <string>

#include "api/engine_error.h"

namespace model {
namespace {

[[noreturn]] void out_of_range(const char* what, uint64_t index, uint64_t size) {
    throw api::EngineError(api::kIndexOutOfRange, std::string("Index of ") + what + " out of range.",
                           "Index " + std::to_string(index) + " of " + std::to_string(size) + ".");
}

}  // namespace

void add_point(Part& part, const Vertex& v, Dims dims) {
    if (!part.points.empty()) part.curves.emplace_back(Line{});
    part.points.push_back(v);
    part.dims |= dims;
}

void add_segment(Part& part, const SegmentValue& segment, Dims dims) {
    if (part.points.empty()) {
        part.points.push_back(segment.start);
    } else if (!same_xy(part.points.back(), segment.start)) {
        throw api::EngineError(api::kGeometryError, "The segment does not start at the last point of the part.");
    }
    part.points.push_back(segment.end);
    part.curves.push_back(segment.curve);
    part.dims |= dims;
}

void close_ring(Part& part) {
    if (part.points.empty()) return;
    if (part.points.size() >= 2 && same_xy(part.points.back(), part.points.front()))
        part.points.pop_back();
    else
        part.curves.emplace_back(Line{});
}

bool has_curves(const Part& part) {
    for (const auto& c : part.curves)
        if (is_curve(c)) return true;
    return false;
}

uint64_t segment_count(const Part& part) { return part.curves.size(); }

SegmentValue segment_at(const Part& part, uint64_t index) {
    if (index >= part.curves.size()) out_of_range("segment", index, part.curves.size());
    const auto& end = part.points[(index + 1) % part.points.size()];
    return SegmentValue{part.points[index], end, part.curves[index]};
}

int64_t segment_ending_at(const Part& part, uint64_t point, bool ring) {
    if (point >= part.points.size()) out_of_range("point", point, part.points.size());
    if (point > 0) return static_cast<int64_t>(point - 1);
    return ring ? static_cast<int64_t>(part.curves.size()) - 1 : -1;
}

}  // namespace model
