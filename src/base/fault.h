// A fault: an internal error that ordinary error values do not cover (a null handle from the
// engine, an unexpected engine error in a getter or destructor, a poisoned inner lock, a failed
// engine load). It unwinds to the nearest Python entry point, which raises PanicException.
#pragma once

#include <stdexcept>
#include <string>

namespace core {

class Fault : public std::runtime_error {
public:
    explicit Fault(const std::string& message) : std::runtime_error(message) {}
};

// Stops the current call with the given message.
[[noreturn]] inline void stop(const std::string& message) { throw Fault(message); }

}  // namespace core
