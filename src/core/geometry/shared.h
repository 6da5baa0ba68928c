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

// Locks an inner cell; a poisoned one is a fault with the given message.
template <typename T>
typename core::PoisonMutex<T>::Guard lock_or_stop(core::PoisonMutex<T>& cell, std::string_view message) {
    auto guard = cell.lock();
    if (!guard) core::stop(std::string(message));
    return std::move(*guard);
}

// Locks a Python object's own model cell: a poisoned one is a Lock error, an ordinary error, and the
// mutex stays poisoned for the next caller.
template <typename T>
GeoResult<typename core::PoisonMutex<T>::Guard> lock_model(core::PoisonMutex<T>& cell) {
    auto guard = cell.lock();
    if (!guard) return std::unexpected(VeltGeoErr::poisoned_lock());
    return std::move(*guard);
}

}  // namespace core::geometry
