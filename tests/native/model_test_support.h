// Helpers shared by the data-model tests.
#pragma once

#include <cmath>
#include <string>

#include "core/geometry/shared.h"
#include "core/geometry/velt_coord.h"

namespace model_test {

inline bool same_value(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

// Equal dimensions and ordinates, NaN equal to NaN.
inline bool same_coord(const core::geometry::VeltCoord& a, const core::geometry::VeltCoord& b) {
    if (a.dims() != b.dims()) return false;
    for (std::size_t i = 0; i < core::geometry::flat_len(a.dims()); ++i)
        if (!same_value(a.flat(i), b.flat(i))) return false;
    return true;
}

template <typename T>
std::string text_of(const T& value) {
    std::string out;
    value.write_veltjson(out);
    return out;
}

}  // namespace model_test
