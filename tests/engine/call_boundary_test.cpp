// Every function of the C interface exists and answers: the uniform stubs, the defaults of the
// functions not implemented yet, a null error record everywhere, and the call boundary turning
// engine failures into reported errors.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>

#include "error_sink.h"

namespace {

// Calls `f` with every argument zero (null handles and pointers) and `rec` last.
template <typename R, typename... A>
R call_with_zeros(R (*f)(A...), const KX_ErrorCallbackRecord* rec) {
    return [&]<size_t... I>(std::index_sequence<I...>) {
        return f(std::tuple_element_t<I, std::tuple<A...>>{}..., rec);
    }(std::make_index_sequence<sizeof...(A) - 1>{});
}

template <typename R, typename... A>
void expect_not_implemented(R (*function)(A...), const std::string& name) {
    ErrorSink sink;
    if constexpr (std::is_void_v<R>)
        call_with_zeros(function, sink.rec());
    else
        EXPECT_EQ(call_with_zeros(function, sink.rec()), R{}) << name;
    EXPECT_EQ(sink.errors(), (std::vector<Reported>{{4, "Not implemented.", name + " is not implemented."}}));
    call_with_zeros(function, nullptr);
}

class EngineFunctions : public ::testing::Test {
protected:
    void SetUp() override { KXT_reset(); }
    void TearDown() override { EXPECT_EQ(KXT_live_objects("*"), 0); }
};

TEST_F(EngineFunctions, EveryStubReportsThatItIsNotSupported) {
    int stubs = 0;
#define KX_FN(ret, cls, method, params)
#define KX_STUB(cls, method)                                                                               \
    {                                                                                                      \
        ErrorSink sink;                                                                                    \
        EXPECT_EQ(KX_##cls##_##method(sink.rec()), nullptr);                                               \
        EXPECT_EQ(sink.errors(), (std::vector<Reported>{                                                   \
                                     {4, "Not supported.", "KX_" #cls "_" #method " is not supported by this engine."}})); \
        EXPECT_EQ(KX_##cls##_##method(nullptr), nullptr);                                                  \
        ++stubs;                                                                                           \
    }
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
    EXPECT_EQ(stubs, 635 - 191);
}

// Against the engine's boundary with no function body of its own: every function the module
// calls has a default that reports "not implemented" and returns its zero value, with or
// without an error record. The runtime environment, errors and strings are never defaults.
TEST_F(EngineFunctions, EveryCalledFunctionHasADefaultThatReportsNotImplemented) {
    void* library = dlopen(CORVANE_DEFAULTS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    int defaults = 0;
    auto check = [&](auto* function, std::string_view cls, const std::string& name) {
        if (cls == "Error" || cls == "String" || cls == "VornixRuntimeEnvironment") return;
        ASSERT_NE(function, nullptr) << name;
        expect_not_implemented(function, name);
        ++defaults;
    };
#define KX_FN(ret, cls, method, params)                                                            \
    check(reinterpret_cast<decltype(&KX_##cls##_##method)>(dlsym(library, "KX_" #cls "_" #method)), \
          #cls, "KX_" #cls "_" #method);
#define KX_STUB(cls, method)
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
    EXPECT_EQ(defaults, 191 - 8);
}

}  // namespace
