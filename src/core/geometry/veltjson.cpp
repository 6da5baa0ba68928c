#include "core/geometry/veltjson.h"

#include "core/geometry/number_text.h"

namespace core::geometry {

void cond_comma(std::string& out, bool& first) {
    if (first) {
        first = false;
        return;
    }
    out += ", ";
}

void write_member_name(std::string& out, bool& first, std::string_view name) {
    cond_comma(out, first);
    out += '"';
    out += name;
    out += "\": ";
}

void write_dims_veltjson(bool has_z, bool has_m, std::string& out, bool& first) {
    if (has_z) {
        write_member_name(out, first, "hasZ");
        out += "true";
    }
    if (has_m) {
        write_member_name(out, first, "hasM");
        out += "true";
    }
}

void write_num_if_not_empty(std::string& out, double value, bool empty) {
    if (empty)
        out += "null";
    else
        write_number(out, value);
}

void write_num_if_not_empty(std::string& out, uint32_t value, bool empty) {
    out += empty ? std::string("null") : std::to_string(value);
}

void write_sr_member(std::string& out, bool& first, const std::optional<SpatialReference>& sr) {
    if (!sr) return;
    write_member_name(out, first, "spatialReference");
    sr->write_veltjson(out);
}

}  // namespace core::geometry
