// VeltCoord: one vertex, tagged by its dimensions. A plain value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "core/geometry/coord_dims.h"
#include "core/geometry/errors.h"
#include "geometry/point.h"

namespace core::geometry {

class VeltCoord {
public:
    static constexpr VeltCoord xy(double x, double y) { return {CoordDims::XY, x, y, 0, 0}; }
    static constexpr VeltCoord xyz(double x, double y, double z) { return {CoordDims::XYZ, x, y, z, 0}; }
    static constexpr VeltCoord xym(double x, double y, double m) { return {CoordDims::XYM, x, y, 0, m}; }
    static constexpr VeltCoord xyzm(double x, double y, double z, double m) {
        return {CoordDims::XYZM, x, y, z, m};
    }
    // The variant by which of z and m are given.
    static constexpr VeltCoord of(double x, double y, std::optional<double> z, std::optional<double> m) {
        return {dims_of(z.has_value(), m.has_value()), x, y, z.value_or(0), m.value_or(0)};
    }

    CoordDims dims() const { return dims_; }
    double x() const { return x_; }
    double y() const { return y_; }
    std::optional<double> z() const { return has_z(dims_) ? std::optional(z_) : std::nullopt; }
    std::optional<double> m() const { return has_m(dims_) ? std::optional(m_) : std::nullopt; }
    // Ordinate idx of the flat form [x, y, z?, m?]; idx must be below flat_len(dims()).
    double flat(std::size_t idx) const;

    // Copies with one ordinate replaced, or InvalidDims when the vertex has no such ordinate.
    GeoResult<VeltCoord> mod_z(double z) const;
    GeoResult<VeltCoord> mod_m(double m) const;
    GeoResult<VeltCoord> mod_idx(std::size_t idx, double value) const;

    // [x, y], [x, y, z], [x, y, m] or [x, y, z, m].
    void write_veltjson(std::string& out) const;

    // A new engine point of the vertex's ordinates, without spatial reference.
    ::geometry::point::Point as_point() const;

private:
    constexpr VeltCoord(CoordDims dims, double x, double y, double z, double m)
        : dims_(dims), x_(x), y_(y), z_(z), m_(m) {}
    double* flat_slot(std::size_t idx);

    CoordDims dims_;
    double x_, y_, z_, m_;
};

}  // namespace core::geometry
