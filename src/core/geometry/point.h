// The model point. A NaN x is the empty point; there is no separate flag.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry/errors.h"
#include "core/geometry/result_sr.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/geometry.h"
#include "geometry/point.h"

namespace core::geometry {

struct VeltGeometryPoint {
    double x = 0;
    double y = 0;
    std::optional<double> z;
    std::optional<double> m;
    std::optional<SpatialReference> sr;
    // Set by no reader; kept for the shape of the value.
    std::optional<int32_t> id;

    bool is_empty() const { return std::isnan(x); }
    void set_sr(std::optional<SpatialReference> value) { sr = std::move(value); }

    // {"spatialReference"?, "x", "y", "z"?, "m"?}; every number null when x is NaN.
    void write_veltjson(std::string& out) const;

    GeoResult<::geometry::point::Point> as_point(EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::geometry::GeometryOwned> as_geometry_owned(EngineSrMemo* memo = nullptr) const;
    GeoResult<std::string> to_json() const;
    static VeltGeometryPoint from_immutable_point(::geometry::point::Point point, const ResultSr& sr = {});
    static GeoResult<VeltGeometryPoint> try_from_owned(::geometry::geometry::GeometryOwned geometry);
};

}  // namespace core::geometry
