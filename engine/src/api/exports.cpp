// Every function of the C interface is exported. The functions the module never calls are the
// uniform stubs below, which only report that they are not supported. Every function the module
// calls has its definition among the engine's sources: the table below names each one, so a
// function left out is an undefined reference and the library does not link (it is linked with
// --no-undefined), rather than a library the module would refuse to load.
#include "api/execute.h"

#define KX_STUB(cls, method)                                                                   \
    extern "C" void* KX_##cls##_##method(const KX_ErrorCallbackRecord* rec) {                  \
        api::report(rec, model::kNotImplemented, "Not supported.",                               \
                    "KX_" #cls "_" #method " is not supported by this engine.");               \
        return nullptr;                                                                        \
    }
#define KX_FN(ret, cls, method, params)
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB

namespace {

#define KX_FN(ret, cls, method, params) reinterpret_cast<const void*>(&KX_##cls##_##method),
#define KX_STUB(cls, method)
[[gnu::used]] const void* const kCalledFunctions[] = {
#include "corvane/functions.def"
};
#undef KX_FN
#undef KX_STUB

}  // namespace
