#include "python/binding/entry.h"

#include <cstdio>
#include <cstdlib>

namespace binding::detail {

void raise_escaped(const char* what) noexcept {
    try {
        panic(what != nullptr ? what : "unknown C++ exception").restore();
    } catch (...) {
        // Even the panic could not be raised: nothing sound is left to report to.
        std::fputs("uncaught panic at ffi boundary\n", stderr);
        std::abort();
    }
}

}  // namespace binding::detail
