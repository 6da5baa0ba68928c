// Every function of the C interface that the module never calls is exported as a uniform stub that
// reports that it is not supported, through a record or with none. (A function that the module
// calls and the engine does not define keeps the library from linking.)
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error_sink.h"

namespace {

// The names of the stubs, in slot order.
const std::vector<std::string>& stubs() {
    static const std::vector<std::string> names = {
#define KX_FN(ret, cls, method, params)
#define KX_STUB(cls, method) "KX_" #cls "_" #method,
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
    };
    return names;
}

TEST(EngineFunctions, EveryStubReportsThatItIsNotSupported) {
    using Stub = void* (*)(const KX_ErrorCallbackRecord*);
    void* engine = dlopen(nullptr, RTLD_LAZY);
    for (const std::string& name : stubs()) {
        const auto stub = reinterpret_cast<Stub>(dlsym(engine, name.c_str()));
        ASSERT_NE(stub, nullptr) << name;
        ErrorSink sink;
        EXPECT_EQ(stub(sink.rec()), nullptr) << name;
        EXPECT_EQ(sink.errors(), (std::vector<Reported>{{KX_ERROR_NOT_IMPLEMENTED, "Not supported.", name + " is not supported by this engine."}})) << name;
        EXPECT_EQ(stub(nullptr), nullptr) << name;
    }
    EXPECT_EQ(stubs().size(), 635u - 191u);
    EXPECT_EQ(KXT_live_objects("*"), 0);
}

}  // namespace
