// Every function of the C interface exists and answers: the uniform stubs, the defaults of the
// functions not implemented yet, a null error record everywhere, and the call boundary turning
// engine failures into reported errors.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <tuple>
#include <type_traits>

#include "error_sink.h"

namespace {

// Calls the function at `address` (of type F) with every argument zero (null handles and
// pointers) and `rec` last; true when it returned its zero value.
template <typename F>
bool returns_zero(void* address, const KX_ErrorCallbackRecord* rec) {
    return []<typename R, typename... A>(R (*f)(A...), const KX_ErrorCallbackRecord* rec) {
        return [&]<size_t... I>(std::index_sequence<I...>) {
            if constexpr (std::is_void_v<R>) {
                f(std::tuple_element_t<I, std::tuple<A...>>{}..., rec);
                return true;
            } else {
                return f(std::tuple_element_t<I, std::tuple<A...>>{}..., rec) == R{};
            }
        }(std::make_index_sequence<sizeof...(A) - 1>{});
    }(reinterpret_cast<F>(address), rec);
}

// One row per function of the C interface, in slot order (one table, so that the checks below
// are written once and not once per function).
struct Function {
    const char* cls;
    std::string name;
    bool called_by_module;
    bool (*returns_zero)(void* address, const KX_ErrorCallbackRecord* rec);
};

const std::vector<Function>& functions() {
    static const std::vector<Function> table = {
#define KX_FN(ret, cls, method, params) {#cls, "KX_" #cls "_" #method, true, &returns_zero<decltype(&KX_##cls##_##method)>},
#define KX_STUB(cls, method) {#cls, "KX_" #cls "_" #method, false, &returns_zero<decltype(&KX_##cls##_##method)>},
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
    };
    return table;
}

class EngineFunctions : public ::testing::Test {
protected:
    void SetUp() override { KXT_reset(); }
    void TearDown() override { EXPECT_EQ(KXT_live_objects("*"), 0); }

    // Each function reports exactly `expected` through a record, returns its zero value, and
    // accepts a null record.
    static void expect_reports(void* address, const Function& f, const Reported& expected) {
        ASSERT_NE(address, nullptr) << f.name;
        ErrorSink sink;
        EXPECT_TRUE(f.returns_zero(address, sink.rec())) << f.name;
        EXPECT_EQ(sink.errors(), std::vector<Reported>{expected}) << f.name;
        EXPECT_TRUE(f.returns_zero(address, nullptr)) << f.name;
    }
};

TEST_F(EngineFunctions, EveryStubReportsThatItIsNotSupported) {
    void* engine = dlopen(nullptr, RTLD_LAZY);
    int stubs = 0;
    for (const auto& f : functions()) {
        if (f.called_by_module) continue;
        expect_reports(dlsym(engine, f.name.c_str()), f, {KX_ERROR_NOT_IMPLEMENTED, "Not supported.", f.name + " is not supported by this engine."});
        ++stubs;
    }
    EXPECT_EQ(stubs, 635 - 191);
}

// Against the engine's boundary with no function body of its own: every function the module
// calls has a default that reports "not implemented". The runtime environment, errors and
// strings are never defaults.
TEST_F(EngineFunctions, EveryCalledFunctionHasADefaultThatReportsNotImplemented) {
    void* library = dlopen(CORVANE_DEFAULTS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    int defaults = 0;
    for (const auto& f : functions()) {
        const std::string_view cls = f.cls;
        if (!f.called_by_module || cls == "Error" || cls == "String" || cls == "VornixRuntimeEnvironment") continue;
        expect_reports(dlsym(library, f.name.c_str()), f, {4, "Not implemented.", f.name + " is not implemented."});
        ++defaults;
    }
    EXPECT_EQ(defaults, 191 - 8);
}

}  // namespace
