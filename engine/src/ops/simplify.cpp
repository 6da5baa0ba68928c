#include "ops/simplify.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <utility>

#include "model/multipart.h"
#include "model/multipoint.h"
#include "ops/curve_densify.h"
#include "ops/curve_measure.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::GeometryKind;
using model::Vertex;

bool located(const Vertex& v) { return !std::isnan(v.x) && !std::isnan(v.y); }

model::Multipoint distinct_points(const model::Multipoint& mp) {
    model::Multipoint out({}, mp.dims);
    out.set_spatial_reference(mp.spatial_reference());
    std::set<std::pair<double, double>> seen;
    for (const auto& v : mp.points)
        if (located(v) && seen.emplace(v.x + 0.0, v.y + 0.0).second) out.points.push_back(v);
    return out;
}

// A path without vertices lacking x or y and without zero-length straight segments; none when
// no segment remains.
std::optional<model::Part> clean_path(const model::Part& part) {
    model::Part out;
    out.dims = part.dims;
    int64_t last_kept = -1;
    for (size_t i = 0; i < part.points.size(); ++i) {
        const Vertex& v = part.points[i];
        if (!located(v)) continue;
        if (out.points.empty()) {
            out.points.push_back(v);
            last_kept = static_cast<int64_t>(i);
            continue;
        }
        const bool follows = last_kept == static_cast<int64_t>(i) - 1;
        const model::Curve curve = follows ? model::segment_at(part, i - 1).curve : model::Curve{model::Line{}};
        if (!model::is_curve(curve) && model::same_xy(out.points.back(), v)) continue;
        out.points.push_back(v);
        if (model::is_curve(curve)) out.curves.emplace_back(out.points.size() - 2, curve);
        last_kept = static_cast<int64_t>(i);
    }
    if (out.points.size() < 2) return std::nullopt;
    return out;
}

model::Multipart clean_polyline(const model::Multipart& polyline) {
    model::Multipart out(GeometryKind::Polyline, {}, polyline.dims);
    out.set_spatial_reference(polyline.spatial_reference());
    for (const auto& part : polyline.parts)
        if (auto p = clean_path(part)) out.parts.push_back(std::move(*p));
    return out;
}

bool same_sizes(const model::Multipart& a, const model::Multipart& b) {
    if (a.parts.size() != b.parts.size()) return false;
    for (size_t i = 0; i < a.parts.size(); ++i)
        if (a.parts[i].points.size() != b.parts[i].points.size()) return false;
    return true;
}

bool clean_ring(const model::Part& ring) {
    if (!std::all_of(ring.points.begin(), ring.points.end(), located)) return false;
    const auto vertices = straight_vertices(ring);
    if (vertices.size() < 3) return false;
    for (size_t i = 0; i < vertices.size(); ++i)
        if (model::same_xy(vertices[i], vertices[(i + 1) % vertices.size()])) return false;
    return true;
}

// Whether every ring runs the way results are written: exteriors clockwise, holes counter-clockwise.
bool written_winding(const model::Multipart& polygon, const std::vector<bool>& exterior) {
    for (size_t i = 0; i < polygon.parts.size(); ++i)
        if ((ring_area(polygon.parts[i]) > 0) != exterior[i]) return false;
    return true;
}

// Valid, every ring clean, and wound as results are written.
bool simple_polygon(const model::Multipart& polygon) {
    if (!std::all_of(polygon.parts.begin(), polygon.parts.end(), clean_ring)) return false;
    if (polygon.parts.empty()) return true;
    const PolygonForm form = polygon_form(polygon);
    return !form.united && GEOSisValid_r(geos(), form.geometry.get()) == 1 && written_winding(polygon, form.exterior);
}

// The polygon with its curves as chords and each run of vertices at one place as one vertex. Done
// here rather than by GEOS, whose remover leaks the rings it has built when one of them collapses
// (chords of an arc too small to part its vertices).
model::Multipart without_repeated_vertices(const model::Multipart& polygon) {
    model::Multipart out(GeometryKind::Polygon, {}, polygon.dims);
    for (const auto& part : polygon.parts) {
        std::vector<Vertex> vertices = straight_vertices(part);
        vertices.erase(std::unique(vertices.begin(), vertices.end(), model::same_xy), vertices.end());
        while (vertices.size() > 1 && model::same_xy(vertices.front(), vertices.back())) vertices.pop_back();
        out.parts.push_back(model::Part{std::move(vertices), {}, true, part.dims});
    }
    return out;
}

GeometryPtr valid_polygon(const model::Multipart& polygon) {
    require_finite(polygon);
    GeosPtr g = to_geos(without_repeated_vertices(polygon));
    GeosPtr valid = make_valid(g.get());
    return result_of(valid.get(), shape_of(GeometryKind::Polygon, polygon), {&polygon});
}

}  // namespace

GeometryPtr simplify(const model::Geometry& g) {
    switch (g.kind()) {
        case GeometryKind::Multipoint:
            return std::make_unique<model::Multipoint>(distinct_points(static_cast<const model::Multipoint&>(g)));
        case GeometryKind::Polyline:
            return std::make_unique<model::Multipart>(clean_polyline(static_cast<const model::Multipart&>(g)));
        case GeometryKind::Polygon: {
            const auto& polygon = static_cast<const model::Multipart&>(g);
            return simple_polygon(polygon) ? g.clone() : valid_polygon(polygon);
        }
        default:
            return g.clone();
    }
}

bool is_simple(const model::Geometry& g) {
    switch (g.kind()) {
        case GeometryKind::Multipoint: {
            const auto& mp = static_cast<const model::Multipoint&>(g);
            return distinct_points(mp).points.size() == mp.points.size();
        }
        case GeometryKind::Polyline: {
            const auto& polyline = static_cast<const model::Multipart&>(g);
            return same_sizes(clean_polyline(polyline), polyline);
        }
        case GeometryKind::Polygon:
            return simple_polygon(static_cast<const model::Multipart&>(g));
        default:
            return true;
    }
}

}  // namespace ops
