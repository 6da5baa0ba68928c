// The four dimension combinations of a vertex. The code (has_z + 2 * has_m) is what is compared
// wherever a part enters a collection or a geometry.
#pragma once

#include <cstdint>
#include <string_view>

namespace core::geometry {

enum class CoordDims : uint8_t { XY = 0, XYZ = 1, XYM = 2, XYZM = 3 };

constexpr CoordDims dims_of(bool has_z, bool has_m) {
    return static_cast<CoordDims>(static_cast<uint8_t>(has_z) + 2 * static_cast<uint8_t>(has_m));
}
constexpr uint8_t code(CoordDims dims) { return static_cast<uint8_t>(dims); }
constexpr bool has_z(CoordDims dims) { return (code(dims) & 1) != 0; }
constexpr bool has_m(CoordDims dims) { return (code(dims) & 2) != 0; }
// Number of ordinates in the flat form [x, y, z?, m?].
constexpr std::size_t flat_len(CoordDims dims) { return 2 + has_z(dims) + has_m(dims); }

// "XY", "XYZ", "XYM", "XYZM": the names in dimension-mismatch messages.
std::string_view upper_name(CoordDims dims);
// "xy", "xyz", "xym", "xyzm": the names in coordinate-edit messages.
std::string_view lower_name(CoordDims dims);

}  // namespace core::geometry
