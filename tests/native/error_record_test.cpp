// Engine errors through the error record, against the real engine with faults injected by its
// test hooks: the failure policies, the last error winning, engine strings, and an error that
// cannot itself be read.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine_hooks.h"
#include "engine_test.h"
#include "fresh_process.h"
#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "geometry/error.h"

using geometry::Error;
using geometry::bindings::ffi;

namespace {

class EngineCall : public EngineTest {
protected:
    static const EngineHooks& hooks() { return EngineHooks::get(); }

    static geometry::Result<uint8_t> has_z() {
        return geometry::call([](const KX_ErrorCallbackRecord* rec) { return ffi().KX_Geometry_getHasZ(nullptr, rec); });
    }
    static Error injected(const char* function) {
        return Error{KX_ERROR_INJECTED, std::string("Injected failure in ") + function + ".", "Raised by a test hook."};
    }
    static KX_StringHandle install_directory_handle() {
        return ffi().KX_VornixRuntimeEnvironment_getInstallDirectory(nullptr);
    }
};

TEST_F(EngineCall, ReturnsTheReportedErrorAsValue) {
    hooks().fail_next("KX_Geometry_getHasZ", KXT_FAIL_REPORT_ERROR);
    EXPECT_EQ(has_z(), std::unexpected(injected("KX_Geometry_getHasZ")));
}

TEST_F(EngineCall, KeepsTheLastOfTwoErrorsReportedInOneCall) {
    hooks().fail_next("KX_Geometry_getHasZ", KXT_FAIL_REPORT_TWICE);
    EXPECT_EQ(has_z(), std::unexpected(Error{KX_ERROR_INJECTED, "second", ""}));
}

TEST_F(EngineCall, StopPolicyEndsWithTheRecordForm) {
    hooks().fail_next("KX_Geometry_getHasZ", KXT_FAIL_REPORT_ERROR);
    EXPECT_EQ(stop_message([] {
                  geometry::call_or_stop("KX_Geometry_getHasZ", [](const KX_ErrorCallbackRecord* rec) {
                      return ffi().KX_Geometry_getHasZ(nullptr, rec);
                  });
              }),
              "Internal error: Unexpected error returned from internal function KX_Geometry_getHasZ: "
              "Error { code: 1000, msg: \"Injected failure in KX_Geometry_getHasZ.\", additional_msg: \"Raised "
              "by a test hook.\" }");
}

TEST_F(EngineCall, ReadsAnEngineStringAndDestroysIt) {
    const auto engine = std::filesystem::path(geometry::runtime_loader::find_library_path());
    EXPECT_EQ(geometry::string_from_handle(install_directory_handle()), engine.parent_path().string());
}

TEST_F(EngineCall, StringReadingStopsOnEngineErrors) {
    hooks().fail_next("KX_String_getByteArray", KXT_FAIL_REPORT_ERROR);
    EXPECT_EQ(stop_message([&] { geometry::string_from_handle(install_directory_handle()); }),
              "Internal error: Failed to get byte array from String handle: " +
                  injected("KX_String_getByteArray").record_form());

    KX_StringHandle handle = install_directory_handle();
    hooks().fail_next("KX_String_destroy", KXT_FAIL_REPORT_ERROR);
    EXPECT_EQ(stop_message([&] { geometry::string_from_handle(handle); }),
              "Internal error: Failed to destroy String handle: " + injected("KX_String_destroy").record_form());
    ffi().KX_String_destroy(handle, nullptr);  // the engine refused to destroy it
}

TEST_F(EngineCall, AnErrorThatCannotBeReadStillFailsTheCall) {
    hooks().fail_next("KX_Geometry_getHasZ", KXT_FAIL_REPORT_ERROR);
    hooks().fail_next("KX_String_getByteArray", KXT_FAIL_REPORT_ERROR);
    EXPECT_EQ(has_z(), std::unexpected(Error{KX_ERROR_INJECTED, "The engine error could not be read.",
                                            "Internal error: Failed to get byte array from String handle: " +
                                                injected("KX_String_getByteArray").record_form()}));
}

// The error callback is installed by the start alone; counting its installations counts starts.
// In a fresh process, so that the start observed is the process's first.
using StartUp = FreshProcessTest;

TEST_F(StartUp, EnvironmentStartsOnce) {
    EXPECT_IN_FRESH_PROCESS(
        [] {
            static int starts = 0;
            static decltype(ffi().KX_VornixRuntimeEnvironment_setErrorCallback) install = nullptr;
            SlotPatch<&geometry::bindings::CorvaneFFI::KX_VornixRuntimeEnvironment_setErrorCallback> counted(
                [](KX_ErrorCallback callback, void* user_data, const KX_ErrorCallbackRecord* rec) {
                    ++starts;
                    install(callback, user_data, rec);
                });
            install = counted.original();
            for (int i = 0; i < 3; ++i) geometry::environment::init();
            return "starts: " + std::to_string(starts) + "\n";
        },
        "starts: 1\n");
}

using DiscardedErrors = FreshProcessTest;

TEST_F(DiscardedErrors, AreWrittenToStandardErrorAsOneLine) {
    EXPECT_IN_FRESH_PROCESS(
        [] {
            geometry::environment::init();
            EngineHooks::get().raise_global_error(7, "spatial reference unknown.", "wkid 1234..");
            EngineHooks::get().fail_next("KX_String_getByteArray", KXT_FAIL_REPORT_ERROR);
            EngineHooks::get().raise_global_error(7, "lost", "");
            return std::string("live objects: ") + std::to_string(EngineHooks::get().live_objects("*")) + "\n";
        },
        "WARNING: Unexpected error occurred in corvane and was discarded Spatial reference unknown: Wkid 1234\n"
        "WARNING: Unexpected error occurred in corvane and was discarded The engine error could not be read: "
        "Internal error: Failed to get byte array from String handle: Error { code: 1000, msg: \"Injected "
        "failure in KX_String_getByteArray.\", additional_msg: \"Raised by a test hook.\" }\n"
        "live objects: 0\n");
}

}  // namespace
