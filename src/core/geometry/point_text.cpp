// VeltJSON text of points and envelopes.
#include "core/geometry/envelope.h"
#include "core/geometry/point.h"
#include "core/geometry/veltjson.h"

namespace core::geometry {

namespace {

template <typename T>
void write_optional_member(std::string& out, bool& first, std::string_view name, const std::optional<T>& value,
                           bool empty) {
    if (!value) return;
    write_member_name(out, first, name);
    write_num_if_not_empty(out, *value, empty);
}

}  // namespace

void VeltGeometryPoint::write_veltjson(std::string& out) const {
    const bool empty = is_empty();
    bool first = true;
    out += '{';
    write_sr_member(out, first, sr);
    write_optional_member(out, first, "x", std::optional(x), empty);
    write_optional_member(out, first, "y", std::optional(y), empty);
    write_optional_member(out, first, "z", z, empty);
    write_optional_member(out, first, "m", m, empty);
    out += '}';
}

void VeltGeometryEnvelope::write_veltjson(std::string& out) const {
    const bool empty = is_empty();
    bool first = true;
    out += '{';
    write_sr_member(out, first, sr);
    write_optional_member(out, first, "xmin", std::optional(xmin), empty);
    write_optional_member(out, first, "ymin", std::optional(ymin), empty);
    write_optional_member(out, first, "xmax", std::optional(xmax), empty);
    write_optional_member(out, first, "ymax", std::optional(ymax), empty);
    write_optional_member(out, first, "zmin", zmin, empty);
    write_optional_member(out, first, "zmax", zmax, empty);
    write_optional_member(out, first, "mmin", mmin, empty);
    write_optional_member(out, first, "mmax", mmax, empty);
    write_optional_member(out, first, "idmin", idmin, empty);
    write_optional_member(out, first, "idmax", idmax, empty);
    out += '}';
}

}  // namespace core::geometry
