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
using model::located;
using model::Vertex;

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

bool clean_ring(const model::Part& ring, std::vector<Vertex>& scratch) {
    if (!std::all_of(ring.points.begin(), ring.points.end(), located)) return false;
    const auto& vertices = straight_vertices(ring, scratch);
    if (vertices.size() < 3) return false;
    for (size_t i = 0; i < vertices.size(); ++i)
        if (model::same_xy(vertices[i], vertices[(i + 1) % vertices.size()])) return false;
    return true;
}

// What a polygon needs from simplify. Valid: every ring clean and the polygon valid as GEOS reads
// it; misturned: the rings, then, that run against their role (exteriors run clockwise, holes
// counter-clockwise); form: the GEOS form checked.
struct PolygonCheck {
    bool valid = false;
    std::vector<size_t> misturned;
    GeosPtr form;
};

PolygonCheck check_polygon(const model::Multipart& polygon) {
    PolygonCheck check;
    std::vector<Vertex> scratch;
    if (!std::all_of(polygon.parts.begin(), polygon.parts.end(),
                     [&](const model::Part& ring) { return clean_ring(ring, scratch); }))
        return check;
    check.valid = true;
    if (polygon.parts.empty()) return check;
    PolygonForm form = polygon_form(polygon);
    check.valid = !form.united && GEOSisValid_r(geos(), form.geometry.get()) == 1;
    for (size_t i = 0; check.valid && i < polygon.parts.size(); ++i)
        if ((ring_area(polygon.parts[i]) > 0) != form.exterior[i]) check.misturned.push_back(i);
    check.form = std::move(form.geometry);
    return check;
}

// A full turn of an arc has equal ends, and a circle crossing the interface by its ends is read
// back counter-clockwise whichever way it ran: a ring holding one is not turned round but repaired
// into chords.
bool holds_full_turn(const model::Part& ring) {
    return std::any_of(ring.curves.begin(), ring.curves.end(), [](const auto& entry) {
        const auto* arc = std::get_if<model::EllipticArc>(&entry.second);
        return arc != nullptr && std::abs(arc->central) >= 2 * M_PI;
    });
}

// A valid polygon whose only fault is the winding of some rings needs nothing GEOS computes: those
// rings are run the other way round, with their curves, z and m, and the roles GEOS validated are
// the ones the winding now gives. Null where a ring to turn holds a full turn.
GeometryPtr turned_round(const model::Multipart& polygon, const std::vector<size_t>& misturned) {
    if (std::any_of(misturned.begin(), misturned.end(), [&](size_t i) { return holds_full_turn(polygon.parts[i]); }))
        return nullptr;
    auto out = std::make_unique<model::Multipart>(polygon);
    for (size_t i : misturned) model::reverse_ring(out->parts[i]);
    return out;
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
            const PolygonCheck check = check_polygon(polygon);
            if (check.valid && check.misturned.empty()) return g.clone();
            if (check.valid) {
                // GEOS's verdict of validity rests on products of coordinates that overflow past
                // its magnitude: refused there as the repair is, never turned round on its word.
                check_magnitude(check.form.get(), "repair");
                if (auto turned = turned_round(polygon, check.misturned)) return turned;
            }
            return valid_polygon(polygon);
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
        case GeometryKind::Polygon: {
            const PolygonCheck check = check_polygon(static_cast<const model::Multipart&>(g));
            return check.valid && check.misturned.empty();
        }
        default:
            return true;
    }
}

}  // namespace ops
