#include "core/geometry/velt_coord.h"

#include "core/geometry/number_text.h"

namespace core::geometry {

double* VeltCoord::flat_slot(std::size_t idx) {
    switch (idx) {
        case 0: return &x_;
        case 1: return &y_;
        case 2: return has_z(dims_) ? &z_ : &m_;
        default: return &m_;
    }
}

double VeltCoord::flat(std::size_t idx) const { return *const_cast<VeltCoord*>(this)->flat_slot(idx); }

GeoResult<VeltCoord> VeltCoord::mod_z(double z) const {
    if (!has_z(dims_))
        return std::unexpected(VeltGeoErr(ErrorKind::InvalidDims, "Tried to set z value on coord with dims: " +
                                                                      std::string(lower_name(dims_))));
    VeltCoord copy = *this;
    copy.z_ = z;
    return copy;
}

GeoResult<VeltCoord> VeltCoord::mod_m(double m) const {
    if (!has_m(dims_))
        return std::unexpected(VeltGeoErr(ErrorKind::InvalidDims, "Tried to set m value on coord with dims: " +
                                                                      std::string(lower_name(dims_))));
    VeltCoord copy = *this;
    copy.m_ = m;
    return copy;
}

GeoResult<VeltCoord> VeltCoord::mod_idx(std::size_t idx, double value) const {
    if (idx >= flat_len(dims_))
        return std::unexpected(VeltGeoErr(
            ErrorKind::InvalidDims, "Failed index based access to coord with dims: " + std::string(lower_name(dims_)) +
                                        ", buffer representation len: " + std::to_string(flat_len(dims_)) +
                                        ", idx: " + std::to_string(idx)));
    VeltCoord copy = *this;
    *copy.flat_slot(idx) = value;
    return copy;
}

void VeltCoord::write_veltjson(std::string& out) const {
    out += '[';
    for (std::size_t i = 0; i < flat_len(dims_); ++i) {
        if (i > 0) out += ", ";
        write_number(out, flat(i));
    }
    out += ']';
}

}  // namespace core::geometry
