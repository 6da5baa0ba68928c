// Stops as the native tests see them: the message a stop carries, and a lock poisoned the way a
// stop poisons it.
#pragma once

#include <string>
#include <utility>

#include "base/fault.h"
#include "base/pending_fault.h"

// The message of the stop that `f` ends with, or "(no stop)". A fault that `f` deferred counts,
// as at a Python entry point.
template <typename F>
std::string stop_message(F&& f) {
    const core::PendingScope pending;
    try {
        std::forward<F>(f)();
        pending.raise();
    } catch (const core::Fault& fault) {
        if (auto first = pending.take()) return first->what();
        return fault.what();
    }
    return "(no stop)";
}

// A stop message without the record form of the engine error it carries.
inline std::string without_record(const std::string& message) {
    const auto at = message.find(": Error {");
    return at == std::string::npos ? message : message.substr(0, at);
}

// Poisons a lock the way a stop does: its guard released while the stop unwinds.
template <typename Lockable>
void poison(Lockable& lockable) {
    try {
        auto guard = lockable.lock();
        core::stop("a stop while the lock is held");
    } catch (const core::Fault&) {
    }
}
