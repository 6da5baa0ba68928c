// The one wrapper around the body of every C entry point (module function, method, getter,
// setter, slot, module initialiser). Python errors returned by the body are set in the
// interpreter; a fault or any other C++ exception becomes PanicException, so no C++ exception
// ever unwinds into the interpreter. A fault deferred during the body (a failed engine destroy in
// a destructor) is the call's stop too, raised when the body returns.
#pragma once

#include <exception>
#include <string>
#include <type_traits>

#include "base/fault.h"
#include "base/pending_fault.h"
#include "python/binding/panic.h"

namespace binding {

namespace detail {
// Sets the exception for a C++ exception that escaped an entry point's body; `what` is null when
// the exception carried no message. A fault deferred before it was thrown came first and is
// raised instead; the escaped one is then written to standard error.
void raise_escaped(const core::PendingScope& pending, const char* what) noexcept;
}  // namespace detail

// Runs `body` (returning PyResult<Ref>) and gives a new reference or null with an exception set.
template <typename Body>
PyObject* guard(Body&& body) noexcept {
    const core::PendingScope pending;
    try {
        PyResult<Ref> result = body();
        pending.raise();
        if (!result) {
            std::move(result.error()).restore();
            return nullptr;
        }
        if (!*result) {
            PyErr_SetString(PyExc_SystemError, "entry point returned no object");
            return nullptr;
        }
        return result->release();
    } catch (const std::exception& error) {
        detail::raise_escaped(pending, error.what());
    } catch (...) {
        detail::raise_escaped(pending, nullptr);
    }
    return nullptr;
}

// The same for slots that report by status (setters, item assignment): 0 or -1.
template <typename Body>
int guard_status(Body&& body) noexcept {
    const core::PendingScope pending;
    try {
        PyResult<void> result = body();
        pending.raise();
        if (!result) {
            std::move(result.error()).restore();
            return -1;
        }
        return 0;
    } catch (const std::exception& error) {
        detail::raise_escaped(pending, error.what());
    } catch (...) {
        detail::raise_escaped(pending, nullptr);
    }
    return -1;
}

}  // namespace binding
