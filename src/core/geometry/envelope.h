// The model envelope. A NaN xmin is the empty envelope; no order of minimum and maximum is
// enforced. The ids are written into the text but never sent to the engine.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry/errors.h"
#include "core/geometry/result_sr.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/envelope.h"
#include "geometry/geometry.h"

namespace core::geometry {

struct VeltGeometryEnvelope {
    std::optional<double> zmin, zmax, mmin, mmax;
    std::optional<SpatialReference> sr;
    std::optional<uint32_t> idmin, idmax;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;

    bool is_empty() const { return std::isnan(xmin); }
    void set_sr(std::optional<SpatialReference> value) { sr = std::move(value); }

    // {"spatialReference"?, "xmin", "ymin", "xmax", "ymax", "zmin"?, "zmax"?, "mmin"?, "mmax"?,
    // "idmin"?, "idmax"?}; every value null when xmin is NaN.
    void write_veltjson(std::string& out) const;

    GeoResult<::geometry::envelope::Envelope> as_envelope(EngineSrMemo* memo = nullptr) const;
    GeoResult<::geometry::geometry::GeometryOwned> as_geometry_owned(EngineSrMemo* memo = nullptr) const;
    static VeltGeometryEnvelope from_immutable_envelope(::geometry::envelope::Envelope envelope, const ResultSr& sr = {});
    static GeoResult<VeltGeometryEnvelope> try_from_owned(::geometry::geometry::GeometryOwned geometry);
};

}  // namespace core::geometry
