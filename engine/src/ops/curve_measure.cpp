#include "ops/curve_measure.h"

#include <GeographicLib/EllipticFunction.hpp>

#include <algorithm>
#include <cmath>

#include "ops/curve_densify.h"

namespace ops {
namespace {

using model::located;
using model::Vertex;

bool all_located(const model::Part& part) { return std::all_of(part.points.begin(), part.points.end(), located); }

double chord(const Vertex& a, const Vertex& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);  // as GEOS measures a segment
}

double chords_length(const std::vector<Vertex>& v, bool ring) {
    double sum = 0.0;
    for (size_t i = 1; i < v.size(); ++i) sum += chord(v[i - 1], v[i]);
    if (ring && v.size() > 1) sum += chord(v.back(), v.front());
    return sum;
}

// A measure of a straight part's vertices in one pass: a vertex without x or y (NaN) makes every
// sum over them NaN, and only then are the located vertices picked out and measured again.
template <typename Measure>
double over_located(const model::Part& part, Measure&& measure) {
    const double all = measure(part.points);
    if (!std::isnan(all) || all_located(part)) return all;
    return measure(straight_vertices(part));
}

// The arc's length: on its circle r |sweep|; on an ellipse x = a cos t, y = b sin t the element
// is a sqrt(1 - e^2 cos^2 t) dt, an incomplete elliptic integral of the second kind in t + pi/2.
double arc_length(const model::EllipticArc& arc) {
    const double a = arc.semi_major;
    if (arc.circular()) return a * std::abs(arc.central);
    const GeographicLib::EllipticFunction e(1.0 - arc.ratio * arc.ratio);
    const double t0 = arc.start + M_PI / 2, t1 = t0 + arc.central;
    return a * std::abs(e.E(t1) - e.E(t0));
}


}  // namespace

double shoelace(std::span<const Vertex> v) {
    return shoelace_visiting(v, [](const Vertex&) {});
}

double part_length(const model::Part& part) {
    if (!model::has_curves(part))
        return over_located(part, [&](const std::vector<Vertex>& v) { return chords_length(v, part.ring); });
    if (!all_located(part)) return chords_length(straight_vertices(part), part.ring);
    double sum = 0.0;
    std::vector<Vertex> chords;
    for (uint64_t i = 0, n = model::segment_count(part); i < n; ++i) {
        const model::SegmentValue s = model::segment_at(part, i);
        if (const auto* arc = std::get_if<model::EllipticArc>(&s.curve)) {
            sum += arc_length(*arc);
            continue;
        }
        chords.assign(1, s.start);
        append_chords(s, chords);
        sum += chords_length(chords, false);
    }
    return sum;
}

double ring_area(const model::Part& part) {
    if (!model::has_curves(part)) return over_located(part, shoelace);
    if (!all_located(part)) return shoelace(straight_vertices(part));
    // The polygon of the vertices and Bezier chords, with each arc's segment added on the side
    // it bulges to: a clockwise arc bulges to the left, outside a clockwise ring.
    std::vector<Vertex> vertices{part.points.front()};
    double arcs = 0.0;
    for (uint64_t i = 0, n = model::segment_count(part); i < n; ++i) {
        const model::SegmentValue s = model::segment_at(part, i);
        if (const auto* arc = std::get_if<model::EllipticArc>(&s.curve)) {
            const double t = std::abs(arc->central);
            const double segment = arc->semi_major * arc->semi_major * arc->ratio / 2 * (t - std::sin(t));
            arcs += arc->central < 0 ? segment : -segment;
            vertices.push_back(s.end);
        } else {
            append_chords(s, vertices);
        }
    }
    vertices.pop_back();  // the closing segment ended on the first vertex
    return shoelace(vertices) + arcs;
}

}  // namespace ops
