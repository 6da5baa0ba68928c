#include "core/geometry/coord_dims.h"

#include <array>

namespace core::geometry {

namespace {
constexpr std::array<std::string_view, 4> kUpper{"XY", "XYZ", "XYM", "XYZM"};
constexpr std::array<std::string_view, 4> kLower{"xy", "xyz", "xym", "xyzm"};
}  // namespace

std::string_view upper_name(CoordDims dims) { return kUpper[code(dims)]; }
std::string_view lower_name(CoordDims dims) { return kLower[code(dims)]; }

}  // namespace core::geometry
