// Shared, mutex-guarded cells: how model values are shared between Python objects and views.
#pragma once

#include <memory>
#include <string_view>
#include <utility>

#include "base/fault.h"
#include "core/geometry/errors.h"
#include "base/poison_mutex.h"

namespace core::geometry {

template <typename T>
using Shared = std::shared_ptr<core::PoisonMutex<T>>;

template <typename T>
Shared<T> make_shared_cell(T value) {
    return std::make_shared<core::PoisonMutex<T>>(std::move(value));
}

namespace detail {
// The cell locked for writing, or for reading only (const access; a failed allocation unwinding
// through the guard does not poison the cell).
template <bool Reading, typename T>
auto take(core::PoisonMutex<T>& cell) {
    if constexpr (Reading)
        return cell.read();
    else
        return cell.lock();
}
template <bool Reading, typename T>
using GuardOf = typename decltype(take<Reading>(std::declval<core::PoisonMutex<T>&>()))::value_type;
}  // namespace detail

// Locks an inner cell; a poisoned one is a fault with the given message.
template <bool Reading = false, typename T>
detail::GuardOf<Reading, T> lock_or_stop(core::PoisonMutex<T>& cell, std::string_view message) {
    auto guard = detail::take<Reading>(cell);
    if (!guard) core::stop(std::string(message));
    return std::move(*guard);
}
template <typename T>
detail::GuardOf<true, T> read_or_stop(core::PoisonMutex<T>& cell, std::string_view message) {
    return lock_or_stop<true>(cell, message);
}

// Locks a Python object's own model cell: a poisoned one is a Lock error, an ordinary error, and the
// mutex stays poisoned for the next caller.
template <bool Reading = false, typename T>
GeoResult<detail::GuardOf<Reading, T>> lock_model(core::PoisonMutex<T>& cell) {
    auto guard = detail::take<Reading>(cell);
    if (!guard) return std::unexpected(VeltGeoErr::poisoned_lock());
    return std::move(*guard);
}

}  // namespace core::geometry
