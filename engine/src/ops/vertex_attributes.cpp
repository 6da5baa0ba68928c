#include "ops/vertex_attributes.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"
#include "ops/curve_densify.h"
#include "ops/segment_foot.h"

namespace ops {
namespace {

using model::located;
using model::Vertex;

// The finalizer of splitmix64: every input bit reaches the low bits that pick a slot of the table.
uint64_t mixed(uint64_t h) {
    h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ULL;
    h = (h ^ (h >> 27)) * 0x94D049BB133111EBULL;
    return h ^ (h >> 31);
}

size_t hash_of(const Vertex& v) {
    // + 0.0 folds -0 into 0, which compare equal but hash apart.
    return static_cast<size_t>(mixed(std::bit_cast<uint64_t>(v.x + 0.0) ^ mixed(std::bit_cast<uint64_t>(v.y + 0.0))));
}

// z only where GEOS gave none, unless `passage` says which of several input vertices at this
// position the result vertex is: GEOS's noding gives every passage the z of one of them.
void take(Vertex& v, const Vertex& from, bool passage = false) {
    if (std::isnan(v.z) || (passage && !std::isnan(from.z))) v.z = from.z;
    v.m = from.m;
}

}  // namespace

VertexAttributes::VertexAttributes(const std::vector<const model::Geometry*>& inputs, NewVertices new_vertices)
    : new_vertices_(new_vertices) {
    size_t vertices = 0;
    for (const auto* g : inputs)
        if (const auto* m = dynamic_cast<const model::Multipart*>(g))
            for (const auto& part : m->parts) vertices += part.points.size();
    vertices_.reserve(vertices);  // curves' chords may add more
    for (const auto* g : inputs) add(*g);
    file_positions();
    if (new_vertices_ == NewVertices::Interpolated) file_segments();
}

void VertexAttributes::add_run(std::span<const Vertex> vertices, bool ring) {
    const auto begin = static_cast<uint32_t>(vertices_.size());
    for (const auto& v : vertices) {
        if (!located(v)) continue;
        vertices_.push_back(v);
        scale_ = std::max({scale_, std::abs(v.x), std::abs(v.y)});
    }
    if (vertices_.size() > begin) runs_.push_back({begin, static_cast<uint32_t>(vertices_.size()), ring});
}

void VertexAttributes::add(const model::Geometry& g) {
    switch (g.kind()) {
        case model::GeometryKind::Point:
            add_run({&static_cast<const model::Point&>(g).vertex, 1}, false);
            break;
        case model::GeometryKind::Multipoint:
            for (const auto& v : static_cast<const model::Multipoint&>(g).points) add_run({&v, 1}, false);
            break;
        case model::GeometryKind::Polyline:
        case model::GeometryKind::Polygon: {
            std::vector<Vertex> scratch;
            for (const auto& part : static_cast<const model::Multipart&>(g).parts) add_run(straight_vertices(part, scratch), part.ring);
            break;
        }
        case model::GeometryKind::Envelope:
            break;
    }
}

size_t VertexAttributes::slot_of(const Vertex& v) const {
    const uint64_t hash = hash_of(v), fingerprint = hash >> 32 << 32;
    const size_t mask = table_.size() - 1;
    size_t slot = hash & mask;
    for (; table_[slot] != 0; slot = (slot + 1) & mask) {
        const uint64_t entry = table_[slot];
        if ((entry & ~uint64_t{0xFFFFFFFF}) == fingerprint && model::same_xy(vertices_[first_of_[(entry & 0xFFFFFFFF) - 1]], v))
            break;
    }
    return slot;
}

void VertexAttributes::file_positions() {
    if (vertices_.empty()) return;
    table_.assign(std::bit_ceil(2 * vertices_.size()), 0);
    std::vector<uint32_t> number(vertices_.size());
    std::vector<uint32_t> count;
    for (uint32_t i = 0; i < vertices_.size(); ++i) {
        const size_t slot = slot_of(vertices_[i]);
        if (table_[slot] == 0) {
            first_of_.push_back(i);
            count.push_back(0);
            table_[slot] = hash_of(vertices_[i]) >> 32 << 32 | first_of_.size();
        }
        number[i] = static_cast<uint32_t>((table_[slot] & 0xFFFFFFFF) - 1);
        ++count[number[i]];
    }
    // Each position's occurrences together, in input order.
    occurrence_begin_.assign(first_of_.size() + 1, 0);
    for (size_t k = 0; k < count.size(); ++k) occurrence_begin_[k + 1] = occurrence_begin_[k] + count[k];
    occurrences_.resize(vertices_.size());
    std::vector<uint32_t> next(occurrence_begin_.begin(), occurrence_begin_.end() - 1);
    for (uint32_t i = 0; i < vertices_.size(); ++i) occurrences_[next[number[i]]++] = i;
}

void VertexAttributes::file_segments() {
    std::vector<Bounds> boxes;
    boxes.reserve(vertices_.size());
    segments_.reserve(vertices_.size());
    for (const auto& run : runs_) {
        if (run.end - run.begin < 2) continue;
        const uint32_t last = run.ring ? run.end : run.end - 1;
        for (uint32_t i = run.begin; i < last; ++i) {
            const uint32_t j = i + 1 < run.end ? i + 1 : run.begin;
            const Vertex &a = vertices_[i], &b = vertices_[j];
            const double dx = b.x - a.x, dy = b.y - a.y;
            if (dx * dx + dy * dy == 0) continue;  // no direction to measure along
            segments_.push_back({i, j});
            boxes.push_back({std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)});
        }
    }
    segment_boxes_.emplace(boxes);
}

VertexAttributes::Occurrences VertexAttributes::occurrences(const Vertex& v) const {
    if (table_.empty() || !located(v)) return {};
    const uint64_t entry = table_[slot_of(v)];
    if (entry == 0) return {};
    const uint32_t k = static_cast<uint32_t>((entry & 0xFFFFFFFF) - 1);
    return Occurrences(occurrences_).subspan(occurrence_begin_[k], occurrence_begin_[k + 1] - occurrence_begin_[k]);
}

const VertexAttributes::Run& VertexAttributes::run_of(uint32_t vertex) const {
    return *std::prev(std::upper_bound(runs_.begin(), runs_.end(), vertex, [](uint32_t i, const Run& r) { return i < r.begin; }));
}

VertexAttributes::Pick VertexAttributes::pick(Occurrences found, Position at, bool forward) const {
    if (found.size() == 1 || at < 0) return {found.front(), 2 * static_cast<Position>(found.front()), false};
    const Run& run = run_of(static_cast<uint32_t>(at / 2));
    const auto first = std::lower_bound(found.begin(), found.end(), run.begin);
    const auto end = std::lower_bound(first, found.end(), run.end);
    if (first == end) return {found.front(), -1, false};  // the walk has left the part it stood in
    if (end - first == 1) return {found.front(), 2 * static_cast<Position>(*first), false};
    uint32_t k = 0;
    if (forward) {
        const auto after = std::upper_bound(first, end, at, [](Position p, uint32_t i) { return p < 2 * static_cast<Position>(i); });
        if (after != end) k = *after;
        else if (run.ring) k = *first;
        else k = found.front();
    } else {
        const auto before = std::lower_bound(first, end, at, [](uint32_t i, Position p) { return 2 * static_cast<Position>(i) < p; });
        if (before != first) k = *std::prev(before);
        else if (run.ring) k = *std::prev(end);
        else k = found.front();
    }
    return {k, 2 * static_cast<Position>(k), true};
}

std::optional<std::pair<Vertex, VertexAttributes::Position>> VertexAttributes::interpolated(const Vertex& v) const {
    if (!segment_boxes_ || !located(v)) return std::nullopt;
    const double tolerance = 1e-9 * std::max(scale_, 1.0);
    double best = std::numeric_limits<double>::infinity();
    uint32_t nearest = 0;
    // The boxes are widened well past the rounding of the distance, so every segment a scan of
    // them all would take is visited; the nearest wins, and on a tie the first in input order.
    segment_boxes_->visit(v.x, v.y, 2 * tolerance, [&](uint32_t s) {
        const double d = segment_foot(vertices_[segments_[s].a], vertices_[segments_[s].b], v.x, v.y).distance;
        if (d <= tolerance && (d < best || (d == best && s < nearest))) {
            best = d;
            nearest = s;
        }
    });
    if (best == std::numeric_limits<double>::infinity()) return std::nullopt;
    const Vertex &a = vertices_[segments_[nearest].a], &b = vertices_[segments_[nearest].b];
    const double f = segment_foot(a, b, v.x, v.y).along;
    return std::pair{Vertex{v.x, v.y, a.z + (b.z - a.z) * f, a.m + (b.m - a.m) * f},
                     2 * static_cast<Position>(segments_[nearest].a) + 1};
}

bool VertexAttributes::place_each(std::span<Vertex> part) const {
    found_.assign(part.size(), {});
    certain_.assign(part.size(), -1);
    bool passed_again = false;
    for (size_t i = 0; i < part.size(); ++i) {
        found_[i] = occurrences(part[i]);
        if (found_[i].size() == 1) {
            take(part[i], vertices_[found_[i].front()]);
            certain_[i] = 2 * static_cast<Position>(found_[i].front());
        } else if (found_[i].empty()) {
            const auto on_segment = interpolated(part[i]);
            part[i].m = model::kNaN;
            if (!on_segment) continue;
            take(part[i], on_segment->first);
            certain_[i] = on_segment->second;
        } else {
            passed_again = true;
        }
    }
    return passed_again;
}

bool VertexAttributes::runs_forward(size_t anchor, bool ring) const {
    const size_t n = certain_.size();
    const Position from = certain_[anchor];
    const Run& run = run_of(static_cast<uint32_t>(from / 2));
    const Position span = 2 * static_cast<Position>(run.end - run.begin);
    for (size_t step = 1; step < n; ++step) {
        const size_t i = (anchor + step) % n;
        if (!ring && i < anchor) break;
        const Position to = certain_[i];
        // Two new vertices on one segment, or a place in another part, tell no direction.
        if (to < 0 || to == from || to / 2 < run.begin || to / 2 >= run.end) continue;
        return run.ring ? (to - from + span) % span <= span / 2 : to > from;
    }
    return true;
}

void VertexAttributes::match_passages(std::span<Vertex> part, bool ring) const {
    const size_t n = part.size();
    const auto anchor = static_cast<size_t>(std::ranges::find_if(certain_, [](Position p) { return p >= 0; }) - certain_.begin());
    const bool forward = anchor == n || runs_forward(anchor, ring);
    const auto step = [&](size_t i, Position& at, bool onwards) {
        if (found_[i].size() < 2) {
            if (certain_[i] >= 0) at = certain_[i];
            return;
        }
        const Pick p = pick(found_[i], at, onwards);
        take(part[i], vertices_[p.vertex], p.passage);
        if (p.position >= 0) at = p.position;
    };
    // From the anchor onwards (round a ring), then for a path back from it to its start.
    const size_t start = anchor < n ? anchor : 0;
    Position at = -1;
    for (size_t k = 0; k < n; ++k) {
        const size_t i = (start + k) % n;
        if (!ring && i < start) break;
        step(i, at, forward);
    }
    at = certain_[start];
    if (!ring)
        for (size_t i = start; i-- > 0;) step(i, at, !forward);
}

void VertexAttributes::restore(std::span<Vertex> part, bool ring) const {
    const bool closed = ring && part.size() >= 2 && model::same_xy(part.front(), part.back());
    const auto open = part.first(closed ? part.size() - 1 : part.size());
    if (place_each(open)) match_passages(open, ring);
    if (closed) take(part.back(), part.front());
}

}  // namespace ops
