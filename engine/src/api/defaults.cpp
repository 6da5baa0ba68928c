// Every function of the C interface exists. The functions the module calls get a weak default
// here that reports "not implemented" until the engine defines them (a strong definition
// elsewhere in the library replaces it at link time); the functions the module never calls are
// uniform stubs that only report that they are not supported.
#include "api/execute.h"

#pragma GCC diagnostic ignored "-Wunused-parameter"

#define KX_FN(ret, cls, method, params)                                                         \
    extern "C" __attribute__((weak)) ret KX_##cls##_##method params {                          \
        return api::execute<ret>(rec, "KX_" #cls "_" #method, []() -> ret {                    \
            throw model::EngineError(model::kNotImplemented, "Not implemented.",                   \
                                   "KX_" #cls "_" #method " is not implemented.");             \
        });                                                                                    \
    }
#define KX_STUB(cls, method)                                                                   \
    extern "C" void* KX_##cls##_##method(const KX_ErrorCallbackRecord* rec) {                  \
        api::report(rec, model::kNotImplemented, "Not supported.",                               \
                    "KX_" #cls "_" #method " is not supported by this engine.");               \
        return nullptr;                                                                        \
    }
#include "corvane/functions.def"
