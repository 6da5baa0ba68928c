// The one wrapper around the body of every C entry point (module function, method, getter,
// setter, slot, module initialiser). Python errors returned by the body are set in the
// interpreter; a fault or any other C++ exception becomes PanicException, so no C++ exception
// ever unwinds into the interpreter. A fault deferred during the body (a failed engine destroy in
// a destructor) is the call's stop too, raised when the body returns.
#pragma once

#include <exception>
#include <new>
#include <string>
#include <type_traits>

#include "base/fault.h"
#include "base/pending_fault.h"
#include "python/binding/panic.h"
#include "python/binding/stack_room.h"

namespace binding {

namespace detail {
// Sets the exception for a C++ exception that escaped an entry point's body; `what` is null when
// the exception carried no message. A fault deferred before it was thrown came first and is
// raised instead; the escaped one is then written to standard error. A failed allocation is
// MemoryError, an ordinary Exception: it left nothing broken behind.
void raise_escaped(const core::PendingScope& pending, const char* what, bool out_of_memory) noexcept;

// Raises RecursionError when the thread's stack is nearly used up (see stack_room.h).
bool refused_for_depth() noexcept;

// Runs `body`, unless the stack is too deep for it; what it throws becomes the Python exception
// (see raise_escaped), and false.
template <typename Body>
bool ran(const core::PendingScope& pending, Body&& body) noexcept {
    if (refused_for_depth()) return false;
    try {
        body();
        return true;
    } catch (const std::bad_alloc& error) {
        raise_escaped(pending, error.what(), true);
    } catch (const std::exception& error) {
        raise_escaped(pending, error.what(), false);
    } catch (...) {
        raise_escaped(pending, nullptr, false);
    }
    return false;
}
}  // namespace detail

// Runs `body` (returning PyResult<Ref>) and gives a new reference or null with an exception set.
template <typename Body>
PyObject* guard(Body&& body) noexcept {
    const core::PendingScope pending;
    PyObject* object = nullptr;
    detail::ran(pending, [&] {
        PyResult<Ref> result = body();
        pending.raise();
        if (!result)
            std::move(result.error()).restore();
        else if (!*result)
            PyErr_SetString(PyExc_SystemError, "entry point returned no object");
        else
            object = result->release();
    });
    return object;
}

// The same for slots that report by status (setters, item assignment): 0 or -1.
template <typename Body>
int guard_status(Body&& body) noexcept {
    const core::PendingScope pending;
    int status = -1;
    detail::ran(pending, [&] {
        PyResult<void> result = body();
        pending.raise();
        if (!result)
            std::move(result.error()).restore();
        else
            status = 0;
    });
    return status;
}

}  // namespace binding
