// Shared steps of the VeltJSON object writers: ", " between members, ": " after a member name.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/geometry/spatial_reference.h"

namespace core::geometry {

// Writes ", " before every member but the first.
void cond_comma(std::string& out, bool& first);
// The separator, the quoted name and ": ".
void write_member_name(std::string& out, bool& first, std::string_view name);
// "hasZ": true and "hasM": true, each only when set.
void write_dims_veltjson(bool has_z, bool has_m, std::string& out, bool& first);
// null when empty, else the number.
void write_num_if_not_empty(std::string& out, double value, bool empty);
void write_num_if_not_empty(std::string& out, uint32_t value, bool empty);
// The "spatialReference" member, only when present.
void write_sr_member(std::string& out, bool& first, const std::optional<SpatialReference>& sr);

}  // namespace core::geometry
