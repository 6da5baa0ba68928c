#include "python/binding/entry.h"

#include <cstdio>
#include <cstdlib>

namespace binding::detail {

void raise_escaped(const core::PendingScope& pending, const char* what) noexcept {
    if (what == nullptr) what = "unknown C++ exception";
    try {
        if (auto first = pending.take()) {
            core::write_unraised_fault(what);
            panic(first->what()).restore();
            return;
        }
        panic(what).restore();
    } catch (...) {
        // Even the panic could not be raised: nothing sound is left to report to.
        std::fputs("uncaught panic at ffi boundary\n", stderr);
        std::abort();
    }
}

}  // namespace binding::detail
