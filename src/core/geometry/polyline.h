// The model polyline: straight paths and curved paths, no length rule on either.
#pragma once

#include "core/geometry/multipart_geometry.h"
#include "core/geometry/result_sr.h"
#include "geometry/polyline.h"
#include "geometry/polyline_builder.h"

namespace core::geometry {

class VeltGeometryPolyline : public VeltMultipartGeometry {
public:
    VeltGeometryPolyline(bool has_z, bool has_m, std::optional<SpatialReference> sr)
        : VeltMultipartGeometry(Shape::Paths, has_z, has_m, std::move(sr)) {}

    static GeoResult<VeltGeometryPolyline> try_new_with_curves(bool has_z, bool has_m,
                                                               std::vector<Shared<VeltPart>> paths,
                                                               std::vector<Shared<VeltCurvePart>> curve_paths,
                                                               std::optional<SpatialReference> sr) {
        return build(VeltGeometryPolyline(has_z, has_m, std::move(sr)), std::move(paths), std::move(curve_paths));
    }

    GeoResult<void> push_path(Shared<VeltPart> part) { return push_straight(std::move(part)); }
    GeoResult<void> push_curve_path(Shared<VeltCurvePart> part) { return push_curved(std::move(part)); }
    GeoResult<void> set_paths(Shared<PartCollection> paths) { return set_straight(std::move(paths)); }
    GeoResult<void> set_curve_paths(Shared<CurvePartCollection> paths) { return set_curved(std::move(paths)); }
    const Shared<PartCollection>& paths() const { return straight(); }
    const Shared<CurvePartCollection>& curve_paths() const { return curved(); }

    // {"hasZ"?, "hasM"?, "spatialReference"?, "curvePaths"? (when it holds a part), "paths"}.
    void write_veltjson(std::string& out) const { VeltMultipartGeometry::write_veltjson(out); }

    GeoResult<::geometry::polyline_builder::PolylineBuilder> as_mutable_polyline(EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::polyline::Polyline> as_polyline(EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::geometry::GeometryOwned> as_geometry_owned(EngineSrMemo* memo = nullptr) const;
    GeoResult<std::string> to_json() const;
    static GeoResult<VeltGeometryPolyline> from_immutable_polyline(::geometry::polyline::Polyline polyline,
                                                                   const ResultSr& sr = {});
    static GeoResult<VeltGeometryPolyline> try_from_owned(::geometry::geometry::GeometryOwned geometry);
};

}  // namespace core::geometry
