// CorvaneFFI: the table of the engine's functions, one slot per function in the engine's slot
// order, bound by name once per process (RUNTIME_FFI). Every engine call of the module goes
// through `bindings::ffi()`, which forces the table first.
#pragma once

#include "corvane/corvane.h"

namespace geometry::bindings {

struct CorvaneFFI {
#define KX_FN(ret, cls, method, params) ret(*KX_##cls##_##method) params;
#define KX_STUB(cls, method) void* (*KX_##cls##_##method)(const KX_ErrorCallbackRecord*);
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
};

// The names of the slots, in slot order.
extern const char* const kFunctionNames[];
extern const size_t kFunctionCount;

// Forces the table: loads and binds the engine on first use (the library search of
// runtime_loader), then returns the bound table. A failed load is a fault, and every later call
// faults with "LazyLock instance has previously been poisoned".
const CorvaneFFI& ffi();

}  // namespace geometry::bindings
