#include "ops/overlay.h"

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "model/extent.h"
#include "ops/geos_form.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

using model::GeometryKind;

GEOSGeometry* run(Overlay op, const GEOSGeometry* a, const GEOSGeometry* b) {
    switch (op) {
        case Overlay::Intersection:
            return GEOSIntersection_r(geos(), a, b);
        case Overlay::Union:
            return GEOSUnion_r(geos(), a, b);
        case Overlay::Difference:
            return GEOSDifference_r(geos(), a, b);
        case Overlay::SymmetricDifference:
            return GEOSSymDifference_r(geos(), a, b);
    }
    return nullptr;
}

[[noreturn]] void mixed_dimensions(const char* what) {
    throw model::EngineError(model::kGeometryError, std::string("The geometries of a ") + what + " must have one dimension.",
                           "Points, polylines and polygons cannot be combined with each other.");
}

GeometryKind result_kind(Overlay op, const model::Geometry& a, const model::Geometry& b) {
    const int da = dimension_of(a.kind()), db = dimension_of(b.kind());
    switch (op) {
        case Overlay::Intersection: {
            const int d = std::min(da, db);
            const bool point = (da == d && a.kind() == GeometryKind::Point) || (db == d && b.kind() == GeometryKind::Point);
            return point ? GeometryKind::Point : kind_of_dimension(d);
        }
        case Overlay::Difference:
            return a.kind() == GeometryKind::Envelope ? GeometryKind::Polygon : a.kind();
        case Overlay::Union:
        case Overlay::SymmetricDifference:
            // An empty input has no dimension to mix: the result is the other input's kind, and
            // of two empties the higher dimension's, as GEOS makes it.
            if (da != db && is_empty(a) && is_empty(b)) return kind_of_dimension(std::max(da, db));
            if (da != db && is_empty(b)) return kind_of_dimension(da);
            if (da != db && is_empty(a)) return kind_of_dimension(db);
            if (da != db) mixed_dimensions(op == Overlay::Union ? "union" : "symmetric difference");
            return kind_of_dimension(da);
    }
    return a.kind();
}

GeosPtr computed(Overlay op, const GEOSGeometry* a, const GEOSGeometry* b) {
    return with_repair("overlay", [op](const GEOSGeometry* x, const GEOSGeometry* y) { return run(op, x, y); }, a, b);
}

bool inside(const model::Envelope& outer, const model::Envelope& inner) {
    auto lo = [](const model::Range& r) { return std::min(r.min, r.max); };
    auto hi = [](const model::Range& r) { return std::max(r.min, r.max); };
    return lo(outer.x) <= lo(inner.x) && hi(inner.x) <= hi(outer.x) && lo(outer.y) <= lo(inner.y) &&
           hi(inner.y) <= hi(outer.y);
}

bool empty_envelope(const model::Envelope& e) {
    return std::isnan(e.x.min) || std::isnan(e.x.max) || std::isnan(e.y.min) || std::isnan(e.y.max);
}

GeometryPtr clip_envelope(const model::Envelope& g, const model::Envelope& e, const ResultShape& shape) {
    auto lo = [](const model::Range& r) { return std::min(r.min, r.max); };
    auto hi = [](const model::Range& r) { return std::max(r.min, r.max); };
    model::Range x{std::max(lo(g.x), lo(e.x)), std::min(hi(g.x), hi(e.x))};
    model::Range y{std::max(lo(g.y), lo(e.y)), std::min(hi(g.y), hi(e.y))};
    auto out = std::make_unique<model::Envelope>(g);
    if (empty_envelope(g) || empty_envelope(e) || x.min > x.max || y.min > y.max) {
        out->x = out->y = out->z = out->m = model::Range{};
    } else {
        out->x = x;
        out->y = y;
    }
    out->set_spatial_reference(shape.spatial_reference);
    return out;
}

}  // namespace

GeometryPtr overlay(Overlay op, const model::Geometry& a, const model::Geometry& b) {
    const ResultShape shape = shape_of(result_kind(op, a, b), a, b);
    require_finite(a);
    require_finite(b);
    GeosPtr r = computed(op, geos_form(a), geos_form(b));
    return result_of(r.get(), shape, {&a, &b});
}

Geometries intersections(const model::Geometry& a, const model::Geometry& b) {
    const ResultShape base = shape_of(GeometryKind::Multipoint, a, b);
    require_finite(a);
    require_finite(b);
    GeosPtr r = computed(Overlay::Intersection, geos_form(a), geos_form(b));
    Geometries out;
    for (int d = 0; d <= 2; ++d) {
        ResultShape shape = base;
        shape.kind = kind_of_dimension(d);
        GeometryPtr part = result_of(r.get(), shape, {&a, &b});
        if (!is_empty(*part)) out.push_back(std::move(part));
    }
    return out;
}

GeometryPtr clip(const model::Geometry& g, const model::Envelope& e) {
    const GeometryKind kind = g.kind();
    ResultShape shape = shape_of(kind, g, e);
    shape.dims = g.dims;
    if (kind == GeometryKind::Envelope) return clip_envelope(static_cast<const model::Envelope&>(g), e, shape);
    const auto extent = model::extent_of(g);
    if (!empty_envelope(e) && !empty_envelope(*extent) && inside(e, *extent)) {
        GeometryPtr whole = g.clone();
        whole->set_spatial_reference(shape.spatial_reference);
        return whole;
    }
    if (empty_envelope(e) || empty_envelope(*extent)) return empty_geometry(shape);
    require_finite(g);
    require_finite(e);
    GeosPtr gg = to_geos(g);
    const double x0 = std::min(e.x.min, e.x.max), x1 = std::max(e.x.min, e.x.max);
    const double y0 = std::min(e.y.min, e.y.max), y1 = std::max(e.y.min, e.y.max);
    // GEOS's rectangle clipper closes each piece of a polygon along the rectangle's edges by
    // measuring it against every other piece, which grows with the square of the pieces (a comb
    // of 15,000 teeth clipped across them takes some twenty seconds); the overlay finds the same
    // area in n log n. Lines keep the clipper, which is linear for them.
    GeosPtr r = kind == GeometryKind::Polygon
                    ? computed(Overlay::Intersection, gg.get(), to_geos(e).get())
                    : with_repair("clip", [&](const GEOSGeometry* x, const GEOSGeometry*) {
                          return GEOSClipByRect_r(geos(), x, x0, y0, x1, y1);
                      }, gg.get());
    return result_of(r.get(), shape, {&g}, VertexAttributes::NewVertices::Interpolated);
}

GeometryPtr union_all(const std::vector<const model::Geometry*>& geometries) {
    if (geometries.empty())
        throw model::EngineError(model::kInvalidArgument, "No geometries to unite.", "The union of nothing is not defined.");
    // The dimension of the first geometry that is not empty: empties have none to mix. Of empties
    // alone, the highest, as GEOS unites them.
    const auto located = std::find_if(geometries.begin(), geometries.end(), [](const auto* g) { return !is_empty(*g); });
    const auto dimension = [](const auto* g) { return dimension_of(g->kind()); };
    const int d = located != geometries.end() ? dimension(*located)
                                              : dimension(*std::ranges::max_element(geometries, {}, dimension));
    const ResultShape shape = shape_of(kind_of_dimension(d), geometries);
    std::vector<GeosPtr> members;
    for (const auto* g : geometries) {
        // Empties add nothing; GEOS's unary union of a polygon and an empty point reads the
        // point's missing coordinate (a crash), so they never reach it.
        if (is_empty(*g)) continue;
        if (dimension_of(g->kind()) != d) mixed_dimensions("union");
        require_finite(*g);
        members.push_back(to_geos(*g));
    }
    if (members.empty()) return empty_geometry(shape);
    return united(std::move(members), shape, geometries);
}

}  // namespace ops
