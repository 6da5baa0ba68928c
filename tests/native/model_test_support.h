// Helpers shared by the data-model tests.
#pragma once

#include <cmath>
#include <string>

#include "base/fault.h"
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

// Poisons a cell the way a fault does: a guard released while the fault unwinds.
template <typename T>
void poison(core::PoisonMutex<T>& cell) {
    try {
        auto guard = cell.lock();
        core::stop("fault while the cell is locked");
    } catch (const core::Fault&) {
    }
}

// The message of the fault that `f` raises, or "" when it raises none.
template <typename F>
std::string fault_of(F&& f) {
    try {
        f();
    } catch (const core::Fault& fault) {
        return fault.what();
    }
    return "";
}

}  // namespace model_test
