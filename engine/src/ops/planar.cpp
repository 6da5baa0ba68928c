#include "ops/planar.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/engine_error.h"
#include "model/envelope.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {

ResultShape shape_of(model::GeometryKind kind, const model::Geometry& g) {
    return ResultShape{kind, g.dims, g.spatial_reference()};
}

ResultShape shape_of(model::GeometryKind kind, const model::Geometry& a, const model::Geometry& b) {
    model::Dims dims = a.dims;
    dims |= b.dims;
    return ResultShape{kind, dims, common_spatial_reference(a, b)};
}

GeometryPtr result_of(const GEOSGeometry* g, const ResultShape& shape, const std::vector<const model::Geometry*>& inputs,
                      VertexAttributes::NewVertices new_vertices) {
    if (!shape.dims.has_z && !shape.dims.has_m) return from_geos(g, shape, VertexAttributes());
    return from_geos(g, shape, VertexAttributes(inputs, new_vertices));
}

GeometryPtr result_of(const GEOSGeometry* g, const ResultShape& shape,
                      std::initializer_list<const model::Geometry*> inputs,
                      VertexAttributes::NewVertices new_vertices) {
    return result_of(g, shape, std::vector<const model::Geometry*>(inputs), new_vertices);
}

ResultShape shape_of(model::GeometryKind kind, const std::vector<const model::Geometry*>& inputs) {
    ResultShape shape{kind, {}, common_spatial_reference(inputs)};
    for (const auto* g : inputs) shape.dims |= g->dims;
    return shape;
}

GeometryPtr united(std::vector<GeosPtr> members, const ResultShape& shape,
                   const std::vector<const model::Geometry*>& inputs) {
    GeosPtr all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members));
    GeosPtr r = unary_union(all.get());
    return result_of(r.get(), shape, inputs);
}

GeosPtr unary_union(const GEOSGeometry* g) {
    return with_repair("union", [](const GEOSGeometry* x, const GEOSGeometry*) { return GEOSUnaryUnion_r(geos(), x); }, g);
}

bool is_empty(const model::Geometry& g) {
    using model::located;
    switch (g.kind()) {
        case model::GeometryKind::Point:
            return !located(static_cast<const model::Point&>(g).vertex);
        case model::GeometryKind::Envelope: {
            const auto& e = static_cast<const model::Envelope&>(g);
            return std::isnan(e.x.min) || std::isnan(e.x.max) || std::isnan(e.y.min) || std::isnan(e.y.max);
        }
        case model::GeometryKind::Multipoint: {
            const auto& p = static_cast<const model::Multipoint&>(g).points;
            return std::none_of(p.begin(), p.end(), located);
        }
        case model::GeometryKind::Polyline:
        case model::GeometryKind::Polygon:
            for (const auto& part : static_cast<const model::Multipart&>(g).parts)
                if (std::any_of(part.points.begin(), part.points.end(), located)) return false;
            return true;
    }
    return true;
}

std::optional<Bounds> geos_bounds(const GEOSGeometry* g) {
    GEOSContextHandle_t ctx = geos();
    Bounds b{};
    if (GEOSisEmpty_r(ctx, g) != 0 || GEOSGeom_getXMin_r(ctx, g, &b.xmin) == 0 || GEOSGeom_getYMin_r(ctx, g, &b.ymin) == 0 ||
        GEOSGeom_getXMax_r(ctx, g, &b.xmax) == 0 || GEOSGeom_getYMax_r(ctx, g, &b.ymax) == 0)
        return std::nullopt;
    return b;
}

void check_magnitude(const GEOSGeometry* g, const char* operation) {
    const auto bounds = geos_bounds(g);
    if (!bounds) {
        if (GEOSisEmpty_r(geos(), g) == 1) return;
        geos_failed(operation);
    }
    for (double b : {bounds->xmin, bounds->ymin, bounds->xmax, bounds->ymax})
        if (!(std::fabs(b) <= kGeosMagnitude))
            throw model::EngineError(model::kGeometryError, std::string("Coordinates are too large for the ") + operation + ".",
                                     "Planar operations take coordinates up to 1e100 in magnitude.");
}

GeosPtr make_valid(const GEOSGeometry* g) {
    check_magnitude(g, "repair");
    const GeosMakeValidParams params(GEOSMakeValidParams_create_r(geos()));
    if (!params || GEOSMakeValidParams_setMethod_r(geos(), params.get(), GEOS_MAKE_VALID_STRUCTURE) == 0 ||
        GEOSMakeValidParams_setKeepCollapsed_r(geos(), params.get(), 0) == 0)
        geos_failed("repairing an invalid geometry");
    return geos_check(GEOSMakeValidWithParams_r(geos(), g, params.get()), "repairing an invalid geometry");
}

}  // namespace ops
