// The model polygon: straight rings and curved rings. The ring rules hold for every ring pushed
// (construction and reading engine polygons), not for collections put in by replacement nor for
// edits through the views.
#pragma once

#include "core/geometry/multipart_geometry.h"
#include "core/geometry/result_sr.h"
#include "geometry/polygon.h"
#include "geometry/polygon_builder.h"
#include "geometry/polyline.h"

namespace core::geometry {

class VeltGeometryPolygon : public VeltMultipartGeometry {
public:
    VeltGeometryPolygon(bool has_z, bool has_m, std::optional<SpatialReference> sr)
        : VeltMultipartGeometry(Shape::Rings, has_z, has_m, std::move(sr)) {}

    static GeoResult<VeltGeometryPolygon> try_new_with_curves(bool has_z, bool has_m,
                                                              std::vector<Shared<VeltPart>> rings,
                                                              std::vector<Shared<VeltCurvePart>> curve_rings,
                                                              std::optional<SpatialReference> sr) {
        return build(VeltGeometryPolygon(has_z, has_m, std::move(sr)), std::move(rings), std::move(curve_rings));
    }

    // A straight ring needs 3 vertices, a curved one 2, and a curved one of 2 a curve at vertex 1.
    GeoResult<void> push_ring(Shared<VeltPart> part) { return push_straight(std::move(part)); }
    GeoResult<void> push_curve_ring(Shared<VeltCurvePart> part) { return push_curved(std::move(part)); }
    GeoResult<void> set_rings(Shared<PartCollection> rings) { return set_straight(std::move(rings)); }
    GeoResult<void> set_curve_rings(Shared<CurvePartCollection> rings) { return set_curved(std::move(rings)); }
    const Shared<PartCollection>& rings() const { return straight(); }
    const Shared<CurvePartCollection>& curve_rings() const { return curved(); }

    // {"hasZ"?, "hasM"?, "spatialReference"?, "curveRings"? (when it holds a part), "rings"}.
    void write_veltjson(std::string& out) const { VeltMultipartGeometry::write_veltjson(out); }

    GeoResult<::geometry::polygon_builder::PolygonBuilder> as_mutable_polygon(EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::polygon::Polygon> as_polygon(EngineSrMemo* memo = nullptr) const;
    // The rings, curved first, as the paths of an engine polyline built as a model polyline builds
    // its own: each path holds its ring's vertices as stored, without a closing vertex.
    GeoResult<::geometry::polyline::Polyline> to_polyline() const;
    GeoResult<::geometry::geometry::GeometryOwned> as_geometry_owned(EngineSrMemo* memo = nullptr) const;
    GeoResult<std::string> to_json() const;
    static GeoResult<VeltGeometryPolygon> from_immutable_polygon(::geometry::polygon::Polygon polygon,
                                                                 const ResultSr& sr = {});
    static GeoResult<VeltGeometryPolygon> try_from_owned(::geometry::geometry::GeometryOwned geometry);
};

}  // namespace core::geometry
