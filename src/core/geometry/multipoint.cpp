#include "core/geometry/multipoint.h"

#include "core/geometry/veltjson.h"

namespace core::geometry {

CoordDims VeltGeometryMultipoint::dims() const { return read_or_stop(*points_, "Rings lock poisoned")->dims(); }
bool VeltGeometryMultipoint::has_z() const { return core::geometry::has_z(dims()); }
bool VeltGeometryMultipoint::has_m() const { return core::geometry::has_m(dims()); }
bool VeltGeometryMultipoint::is_empty() const { return read_or_stop(*points_, "Lock poisoned")->is_empty(); }

GeoResult<void> VeltGeometryMultipoint::set_points(Shared<VeltPart> points) {
    const CoordDims expected = dims();
    const CoordDims got = read_or_stop(*points, "Lock poisoned")->dims();
    if (expected != got) return std::unexpected(VeltGeoErr::mismatching_dimensions(expected, got));
    points_ = std::move(points);
    return {};
}

// The points are locked once, for the dimension flags and the vertices alike: the text of a
// multipoint whose points are poisoned stops with their own name.
void VeltGeometryMultipoint::write_veltjson(std::string& out) const {
    auto points = read_or_stop(*points_, "Points lock poisoned");
    bool first = true;
    out += '{';
    write_dims_veltjson(points->has_z(), points->has_m(), out, first);
    write_sr_member(out, first, sr_);
    write_member_name(out, first, "points");
    points->write_veltjson(out);
    out += '}';
}

}  // namespace core::geometry
