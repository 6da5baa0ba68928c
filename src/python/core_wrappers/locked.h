// One short step on a shared model cell: lock it, run the operation, release it. A poisoned cell is
// the lock error (kind 6), returned as a value so that the caller raises it after the release. An
// operation that takes the value as const reads it only, under a lock that a failed allocation
// does not poison.
#pragma once

#include <type_traits>

#include "core/geometry/shared.h"

namespace vornix::python {

template <typename T, typename Op>
auto with_locked(const core::geometry::Shared<T>& cell, Op&& op)
    -> core::geometry::GeoResult<std::invoke_result_t<Op, T&>> {
    auto guard = core::geometry::lock_model<std::is_invocable_v<Op, const T&>>(*cell);
    if (!guard) return std::unexpected(std::move(guard.error()));
    if constexpr (std::is_void_v<std::invoke_result_t<Op, T&>>) {
        op(**guard);
        return {};
    } else {
        return op(**guard);
    }
}

}  // namespace vornix::python
