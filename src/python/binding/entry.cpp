#include "python/binding/entry.h"

namespace binding::detail {

void raise_escaped(const core::PendingScope& pending, const char* what, bool out_of_memory) noexcept {
    if (what == nullptr) what = "unknown C++ exception";
    try {
        if (auto first = pending.take()) {
            core::write_unraised_fault(what);
            panic(first->what()).restore();
            return;
        }
        if (out_of_memory) {
            PyErr_NoMemory();
            return;
        }
        panic(what).restore();
    } catch (...) {
        // Not even the panic could be made: memory ran out on the way. The interpreter's own
        // MemoryError needs no allocation.
        PyErr_NoMemory();
    }
}

bool refused_for_depth() noexcept {
    if (stack_has_room()) return false;
    PyErr_SetString(PyExc_RecursionError, "maximum recursion depth exceeded (the C stack is nearly used up)");
    return true;
}

}  // namespace binding::detail
