// The index rule of the part containers: negative positions count from the end, the position just
// past the end is valid only for the operations that add an element, and there is no clamping.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/locked.h"

namespace vornix::python {

// IndexError "Index {} out of bounds, {} has {} elements" with the index as the caller passed it.
binding::PyErr gen_py_idx_err(int64_t index, uint64_t len, std::string_view name);

// The resolved position, or none when it is outside the rule.
std::optional<uint64_t> resolve_index(int64_t index, uint64_t len, bool allow_end);

// Resolves `index`, runs `op(i)` -> GeoResult<std::optional<R>> on the resolved position and gives
// its value; a position outside the rule, or an operation that finds no element there, is the
// IndexError; a model error is raised as its kind's exception.
template <typename Op>
auto py_index(int64_t index, uint64_t len, std::string_view name, bool allow_end, Op&& op)
    -> binding::PyResult<typename std::invoke_result_t<Op, uint64_t>::value_type::value_type> {
    std::optional<uint64_t> i = resolve_index(index, len, allow_end);
    if (!i) return binding::fail(gen_py_idx_err(index, len, name));
    auto outcome = op(*i);
    if (!outcome) return binding::fail(to_py_err(std::move(outcome.error())));
    if (!*outcome) return binding::fail(gen_py_idx_err(index, len, name));
    return std::move(**outcome);
}

// What an operation at a position finds: none when the position holds nothing (the IndexError).
using Done = std::optional<std::monostate>;

// The length of a container in a shared cell, read in one short lock.
template <typename T>
binding::PyResult<uint64_t> locked_length(const core::geometry::Shared<T>& cell) {
    return raise_geo(with_locked(cell, [](T& value) -> uint64_t { return value.len(); }));
}

// py_index on a container in a shared cell: its length read in one short lock, then
// `op(value, i)` -> Done or GeoResult<Done> run at the resolved position in another, its model
// error raised only once the cell is released.
template <typename T, typename Op>
binding::PyResult<void> at_position(const core::geometry::Shared<T>& cell, int64_t index, std::string_view name,
                                    bool allow_end, Op&& op) {
    auto len = locked_length(cell);
    if (!len) return binding::fail(std::move(len.error()));
    auto done = py_index(index, *len, name, allow_end, [&](uint64_t i) -> GeoResult<Done> {
        auto outcome = with_locked(cell, [&](T& value) { return op(value, i); });
        if (!outcome) return std::unexpected(std::move(outcome.error()));
        return std::move(*outcome);
    });
    if (!done) return binding::fail(std::move(done.error()));
    return {};
}

}  // namespace vornix::python
