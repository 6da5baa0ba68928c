// The engine's runtime environment, its errors and strings, and the test hooks the module's
// tests rely on.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "error_sink.h"

namespace {

class RuntimeApi : public ::testing::Test {
protected:
    void SetUp() override { KXT_reset(); }
    void TearDown() override {
        KXT_reset();
        KX_VornixRuntimeEnvironment_setErrorCallback(nullptr, nullptr, nullptr);
        EXPECT_EQ(KXT_live_objects("*"), 0);
    }
};

const Reported kInjected{KX_ERROR_INJECTED, "Injected failure in KX_Geometry_getObjectType.", "Raised by a test hook."};

TEST_F(RuntimeApi, InstallDirectoryIsTheEngineLibrarysFolder) {
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&KX_Error_getCode), &info), 0);
    ErrorSink sink;
    EXPECT_EQ(take_text(KX_VornixRuntimeEnvironment_getInstallDirectory(sink.rec())),
              std::filesystem::path(info.dli_fname).parent_path().string());
    EXPECT_TRUE(sink.errors().empty());
}

TEST_F(RuntimeApi, GlobalErrorsGoToTheInstalledCallbackOnly) {
    KXT_raise_global_error(1, "before any callback", "");  // dropped
    ErrorSink global;
    ErrorSink own;
    KX_VornixRuntimeEnvironment_setErrorCallback(&ErrorSink::collect, &global, own.rec());
    KXT_raise_global_error(7, "Unknown wkid.", "wkid 1");
    EXPECT_EQ(global.errors(), (std::vector<Reported>{{KX_ERROR_SPATIAL_REFERENCE, "Unknown wkid.", "wkid 1"}}));
    EXPECT_TRUE(own.errors().empty());
}

TEST_F(RuntimeApi, ErrorAndStringFunctionsNeverFailTheirCallers) {
    ErrorSink global;
    KX_VornixRuntimeEnvironment_setErrorCallback(&ErrorSink::collect, &global, nullptr);
    // As the module calls them: a null record, so a bad handle only gives zero values.
    EXPECT_EQ(KX_Error_getCode(nullptr, nullptr), 0);
    EXPECT_EQ(KX_Error_getMessage(nullptr, nullptr), nullptr);
    KX_Error_destroy(nullptr, nullptr);
    size_t size = 99;
    EXPECT_EQ(KX_String_getByteArray(nullptr, &size, nullptr), nullptr);
    KX_String_destroy(nullptr, nullptr);
    EXPECT_TRUE(global.errors().empty()) << "never through the process-wide callback";
}

TEST_F(RuntimeApi, BadHandlesAreReportedNotFollowed) {
    ErrorSink sink;
    KX_StringHandle text = KX_VornixRuntimeEnvironment_getInstallDirectory(nullptr);
    EXPECT_EQ(KX_Error_getCode(reinterpret_cast<KX_ErrorHandle>(text), sink.rec()), 0);
    EXPECT_EQ(KX_Error_getMessage(nullptr, sink.rec()), nullptr);
    EXPECT_EQ(sink.errors(), (std::vector<Reported>{{KX_ERROR_INVALID_HANDLE, "Invalid handle.", "Expected a handle to Error."},
                                                    {KX_ERROR_INVALID_ARGUMENT, "Null handle.", ""}}));
    KX_String_destroy(text, nullptr);
}

TEST_F(RuntimeApi, LiveObjectsAreCountedPerClass) {
    KX_StringHandle text = KX_VornixRuntimeEnvironment_getInstallDirectory(nullptr);
    EXPECT_EQ(KXT_live_objects("String"), 1);
    EXPECT_EQ(KXT_live_objects("*"), 1);
    EXPECT_EQ(KXT_live_objects("Geometry"), 0);
    EXPECT_EQ(KXT_live_objects("NoSuchClass"), -1);
    KX_String_destroy(text, nullptr);
    EXPECT_EQ(KXT_live_objects("String"), 0);
}

struct InjectionCase {
    int32_t mode;
    int32_t returned;
    std::vector<Reported> reported;
};

class FaultInjection : public RuntimeApi, public ::testing::WithParamInterface<InjectionCase> {};

TEST_P(FaultInjection, FailsTheNextCallOnlyInTheArmedWay) {
    const auto& c = GetParam();
    KXT_fail_next("KX_Geometry_getObjectType", c.mode);
    ErrorSink sink;
    EXPECT_EQ(KX_Geometry_getObjectType(nullptr, sink.rec()), c.returned);
    EXPECT_EQ(sink.errors(), c.reported);

    ErrorSink next;  // consumed: the next call runs the function itself (a null handle here)
    EXPECT_EQ(KX_Geometry_getObjectType(nullptr, next.rec()), 0);
    ASSERT_EQ(next.errors().size(), 1u);
    EXPECT_NE(next.errors()[0].code, KX_ERROR_INJECTED);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, FaultInjection,
    ::testing::Values(InjectionCase{KXT_FAIL_REPORT_ERROR, 0, {kInjected}},
                      InjectionCase{KXT_FAIL_REPORT_TWICE, 0, {{KX_ERROR_INJECTED, "first", ""}, {KX_ERROR_INJECTED, "second", ""}}},
                      InjectionCase{KXT_FAIL_RETURN_NULL, 0, {}},
                      InjectionCase{KXT_FAIL_BAD_CODE, 99, {}}));

TEST_F(RuntimeApi, ResetDisarmsEveryInjection) {
    KXT_fail_next("KX_Geometry_getObjectType", KXT_FAIL_BAD_CODE);
    KXT_reset();
    EXPECT_EQ(KX_Geometry_getObjectType(nullptr, nullptr), 0);
}

}  // namespace
