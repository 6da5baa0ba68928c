// The model multipoint: one shared part of vertices, whose dimensions are the multipoint's.
#pragma once

#include <optional>
#include <string>

#include "core/geometry/errors.h"
#include "core/geometry/part.h"
#include "core/geometry/shared.h"
#include "core/geometry/result_sr.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/geometry.h"
#include "geometry/multipoint.h"
#include "geometry/multipoint_builder.h"

namespace core::geometry {

class VeltGeometryMultipoint {
public:
    VeltGeometryMultipoint(Shared<VeltPart> points, std::optional<SpatialReference> sr)
        : sr_(std::move(sr)), points_(std::move(points)) {}

    bool has_z() const;
    bool has_m() const;
    CoordDims dims() const;
    bool is_empty() const;
    const Shared<VeltPart>& points() const { return points_; }
    // Refused with MismatchingDimensions when the new part's dimensions differ; then nothing changes.
    GeoResult<void> set_points(Shared<VeltPart> points);
    const std::optional<SpatialReference>& sr() const { return sr_; }
    void set_sr(std::optional<SpatialReference> sr) { sr_ = std::move(sr); }

    // {"hasZ": true?, "hasM": true?, "spatialReference"?, "points": [...]}.
    void write_veltjson(std::string& out) const;

    GeoResult<::geometry::multipoint_builder::MultipointBuilder> as_mutable_multipoint(
        EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::multipoint::Multipoint> as_multipoint(EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::geometry::GeometryOwned> as_geometry_owned(EngineSrMemo* memo = nullptr) const;
    GeoResult<std::string> to_json() const;
    static VeltGeometryMultipoint from_immutable_multipoint(::geometry::multipoint::Multipoint multipoint,
                                                            const ResultSr& sr = {});
    static GeoResult<VeltGeometryMultipoint> try_from_owned(::geometry::geometry::GeometryOwned geometry);

private:
    std::optional<SpatialReference> sr_;
    Shared<VeltPart> points_;
};

}  // namespace core::geometry
