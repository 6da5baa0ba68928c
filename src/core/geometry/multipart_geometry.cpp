#include "core/geometry/multipart_geometry.h"

#include "core/geometry/veltjson.h"

namespace core::geometry {

namespace {

VeltGeoErr ring_error(std::string text) { return VeltGeoErr(ErrorKind::Ring, std::move(text)); }

}  // namespace

VeltMultipartGeometry::VeltMultipartGeometry(Shape shape, bool has_z, bool has_m, std::optional<SpatialReference> sr)
    : shape_(shape),
      sr_(std::move(sr)),
      straight_(make_shared_cell(PartCollection(has_z, has_m))),
      curved_(make_shared_cell(CurvePartCollection(has_z, has_m))) {}

CoordDims VeltMultipartGeometry::dims() const { return read_or_stop(*straight_, "Rings lock poisoned")->dims(); }
bool VeltMultipartGeometry::has_z() const { return core::geometry::has_z(dims()); }
bool VeltMultipartGeometry::has_m() const { return core::geometry::has_m(dims()); }

bool VeltMultipartGeometry::is_empty() const {
    const bool no_straight = read_or_stop(*straight_, "Lock poisoned")->is_empty();
    const bool no_curved = read_or_stop(*curved_, "Lock poisoned")->is_empty();
    return no_straight && no_curved;
}

GeoResult<void> VeltMultipartGeometry::check_ring(const Shared<VeltPart>& part) const {
    const std::size_t len = read_or_stop(*part, "Lock poisoned")->len();
    if (len < 3) return std::unexpected(ring_error("Linear ring requires len >= 3, but got: " + std::to_string(len)));
    return {};
}

GeoResult<void> VeltMultipartGeometry::check_ring(const Shared<VeltCurvePart>& part) const {
    auto guard = read_or_stop(*part, "Lock poisoned");
    const std::size_t len = guard->len();
    if (len < 2)
        return std::unexpected(
            ring_error("Curved ring requires at least 2 vertices, but got: " + std::to_string(len)));
    if (len == 2 && is_line(guard->get(1)->second))
        return std::unexpected(ring_error(
            "Curved ring with only two vertices requires a curved segment in order to enclose an area"));
    return {};
}

GeoResult<void> VeltMultipartGeometry::push_straight(Shared<VeltPart> part) {
    if (shape_ == Shape::Rings)
        if (auto checked = check_ring(part); !checked) return checked;
    return lock_or_stop(*straight_, "Rings lock poisoned")->push_line(std::move(part));
}

GeoResult<void> VeltMultipartGeometry::push_curved(Shared<VeltCurvePart> part) {
    if (shape_ == Shape::Rings)
        if (auto checked = check_ring(part); !checked) return checked;
    return lock_or_stop(*curved_, "curveRings lock poisoned")->push_line(std::move(part));
}

template <typename C>
GeoResult<void> VeltMultipartGeometry::replace(Shared<C>& field, Shared<C> collection) {
    const CoordDims expected = dims();
    const CoordDims got = read_or_stop(*collection, "Lock poisoned")->dims();
    if (expected != got) return std::unexpected(VeltGeoErr::mismatching_dimensions(expected, got));
    field = std::move(collection);
    return {};
}

GeoResult<void> VeltMultipartGeometry::set_straight(Shared<PartCollection> collection) {
    return replace(straight_, std::move(collection));
}
GeoResult<void> VeltMultipartGeometry::set_curved(Shared<CurvePartCollection> collection) {
    return replace(curved_, std::move(collection));
}

void VeltMultipartGeometry::write_veltjson(std::string& out) const {
    const bool rings = shape_ == Shape::Rings;
    bool first = true;
    out += '{';
    write_dims_veltjson(has_z(), has_m(), out, first);
    write_sr_member(out, first, sr_);
    auto curved = read_or_stop(*curved_, rings ? "Curve rings lock poisoned" : "Curve paths lock poisoned");
    if (!curved->is_empty()) {
        write_member_name(out, first, rings ? "curveRings" : "curvePaths");
        curved->write_veltjson(out);
    }
    write_member_name(out, first, rings ? "rings" : "paths");
    read_or_stop(*straight_, "Rings lock poisoned")->write_veltjson(out);
    out += '}';
}

}  // namespace core::geometry
