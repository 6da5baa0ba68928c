// Faults met where nothing may be thrown. Destructors never throw: an owner may live inside a
// std::optional, a std::expected, a std::vector or any other type whose destructor is noexcept,
// where a throw ends the process. A failed destroy is therefore kept as this thread's pending
// fault and raised at the next fault check: the end of the Python entry point that the call runs
// in (tp_dealloc reports it as unraisable). A lock released after a fault was deferred is
// poisoned as if the fault had unwound through it.
//
// The first fault of a call is its stop. A later one, or one deferred while another fault is
// unwinding, cannot be raised as well and is written to standard error.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/fault.h"
#include "base/fd_writer.h"

namespace core {

namespace detail {

struct PendingFaults {
    std::optional<Fault> first;
};

inline PendingFaults& pending_faults() noexcept {
    thread_local PendingFaults state;
    return state;
}

}  // namespace detail

// Writes a fault that cannot be raised to standard error, in one line.
inline void write_unraised_fault(std::string_view message) noexcept {
    try {
        write_fd(STDERR_FILENO, "WARNING: fault while another fault was unwinding: " + std::string(message) + "\n");
    } catch (...) {
        // A line that cannot even be formatted is lost.
    }
}

// Keeps the fault `message` for the next fault check of this thread.
inline void defer(std::string_view message) noexcept {
    auto& state = detail::pending_faults();
    ++fault_counts().deferred;
    try {
        if (!state.first && std::uncaught_exceptions() == 0) {
            state.first.emplace(std::string(message));
            return;
        }
    } catch (...) {
    }
    write_unraised_fault(message);
}

// How many faults this thread has deferred so far; a scope compares two readings.
inline uint64_t deferred_count() noexcept { return fault_counts().deferred; }

// The part of the pending fault that belongs to one scope (an entry point, a deallocation): a
// fault that was already pending when the scope began is left for the scope around it.
class PendingScope {
public:
    PendingScope() noexcept : outer_pending_(detail::pending_faults().first.has_value()) {}

    // The fault deferred within this scope, taken; none when there is none or an outer one waits.
    std::optional<Fault> take() const noexcept {
        if (outer_pending_) return std::nullopt;
        return std::exchange(detail::pending_faults().first, std::nullopt);
    }

    // Stops with the fault deferred within this scope, if any.
    void raise() const {
        if (auto fault = take()) throw std::move(*fault);
    }

private:
    bool outer_pending_;
};

}  // namespace core
