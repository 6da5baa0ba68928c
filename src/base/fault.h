// A fault: an internal error that ordinary error values do not cover (a null handle from the
// engine, an unexpected engine error in a getter or destructor, a poisoned inner lock, a failed
// engine load). It unwinds to the nearest Python entry point, which raises PanicException.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace core {

class Fault : public std::runtime_error {
public:
    explicit Fault(const std::string& message) : std::runtime_error(message) { ++live(); }
    Fault(const Fault& other) : std::runtime_error(other) { ++live(); }
    Fault& operator=(const Fault&) = default;
    ~Fault() override { --live(); }

    // How many faults exist on this thread (thrown and not yet handled, or kept). A lock released
    // while an exception unwinds compares two readings to tell a fault from a failed allocation.
    static uint64_t alive() noexcept { return live(); }

private:
    static uint64_t& live() noexcept {
        thread_local uint64_t count = 0;
        return count;
    }
};

// Stops the current call with the given message.
[[noreturn]] inline void stop(const std::string& message) { throw Fault(message); }

}  // namespace core
