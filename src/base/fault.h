// A fault: an internal error that ordinary error values do not cover (a null handle from the
// engine, an unexpected engine error in a getter or destructor, a poisoned inner lock, a failed
// engine load). It unwinds to the nearest Python entry point, which raises PanicException.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace core {

// This thread's fault counters, kept together so that a lock guard finds both with one
// thread-local lookup and keeps their address for its release (a guard never changes thread).
struct FaultCounts {
    uint64_t alive = 0;     // faults that exist on this thread (thrown and not yet handled, or kept)
    uint64_t deferred = 0;  // every fault deferred on this thread, kept or written
};

inline FaultCounts& fault_counts() noexcept {
    thread_local FaultCounts counts;
    return counts;
}

class Fault : public std::runtime_error {
public:
    explicit Fault(const std::string& message) : std::runtime_error(message) { ++fault_counts().alive; }
    Fault(const Fault& other) : std::runtime_error(other) { ++fault_counts().alive; }
    Fault& operator=(const Fault&) = default;
    ~Fault() override { --fault_counts().alive; }

    // How many faults exist on this thread (thrown and not yet handled, or kept). A lock released
    // while an exception unwinds compares two readings to tell a fault from a failed allocation.
    static uint64_t alive() noexcept { return fault_counts().alive; }
};

// Stops the current call with the given message.
[[noreturn]] inline void stop(const std::string& message) { throw Fault(message); }

}  // namespace core
