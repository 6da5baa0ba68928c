// The process-wide one-time states, each in a fresh process: the engine table (a failed load is
// final) and the runtime environment (a failed start is final).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "engine_hooks.h"
#include "fresh_process.h"
#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "geometry/error.h"
#include "geometry/runtime_loader.h"
#include "geometry/runtime_loader_init.h"

namespace loader = geometry::runtime_loader;

namespace {

const std::string kBuild = CORVANE_BUILD_DIR;
const std::string kEngine = kBuild + "/corvane_bin/linux-x86_64/libcorvane.so";
const std::string kMissingName = kBuild + "/fixtures/libcorvane_missing_name.so";
const std::string kNullName = kBuild + "/fixtures/libcorvane_null_name.so";
const std::string kPoisonedTable = "LazyLock instance has previously been poisoned";

// Forces the table with GEOMETRY_LIB_PATH set to `library`, then every later way into the engine.
std::string load_through_environment_variable(const std::string& library) {
    ::setenv("GEOMETRY_LIB_PATH", library.c_str(), 1);
    std::string transcript = "load: " + stop_message([] { geometry::bindings::ffi(); }) + "\n";
    transcript += "again: " + stop_message([] { geometry::bindings::ffi(); }) + "\n";
    transcript += "environment: " + stop_message([] { geometry::environment::init(); }) + "\n";
    transcript += "eager: " + stop_message([] { (void)loader::init_with_library(kEngine); }) + "\n";
    return transcript;
}

std::string after_failed_load(const std::string& load_error) {
    return "load: " + load_error + "\nagain: " + kPoisonedTable + "\nenvironment: " + kPoisonedTable +
           "\neager: " + kPoisonedTable + "\n";
}

using EngineTable = FreshProcessTest;

TEST_F(EngineTable, LibraryMissingOneNameCannotBeUsedAtAll) {
    EXPECT_IN_FRESH_PROCESS([] { return load_through_environment_variable(kMissingName); },
                            after_failed_load("Failed to load corvane library at " + kMissingName +
                                              ": Could not obtain symbol from the library: " + kMissingName +
                                              ": undefined symbol: KX_Vector_removeAll"));
}

TEST_F(EngineTable, NameResolvingToNullFailsTheLoad) {
    EXPECT_IN_FRESH_PROCESS([] { return load_through_environment_variable(kNullName); },
                            after_failed_load("Failed to load corvane library at " + kNullName + ": The symbol is NULL"));
}

TEST_F(EngineTable, EnvironmentVariableNamingAFolderIsOpenedAndFails) {
    const std::string folder = kBuild + "/fixtures";
    EXPECT_IN_FRESH_PROCESS([&] { return load_through_environment_variable(folder); },
                            after_failed_load("Failed to load corvane library at " + folder +
                                              ": Could not open library: " + folder +
                                              ": cannot read file data: Is a directory"));
}

TEST_F(EngineTable, StoredPathIsOpenedUntestedAndShownLossily) {
    EXPECT_IN_FRESH_PROCESS(
        [] {
            loader::set_library_path("/nonexistent/\xff/libcorvane.so");
            return "found: " + loader::find_library_path() + "\nload: " + stop_message([] { geometry::bindings::ffi(); }) + "\n";
        },
        "found: /nonexistent/\xff/libcorvane.so\n"
        "load: Failed to load corvane library at /nonexistent/\uFFFD/libcorvane.so: Could not open library: "
        "/nonexistent/\uFFFD/libcorvane.so: cannot open shared object file: No such file or directory\n");
}

TEST_F(EngineTable, EagerLoadBindsOnceAndLaterPathsChangeNothing) {
    EXPECT_IN_FRESH_PROCESS(
        [] {
            std::string transcript;
            transcript += "first: " + std::to_string(loader::init_with_library(kEngine).has_value()) + "\n";
            transcript += "second: " + std::to_string(loader::init_with_library(kMissingName).has_value()) + "\n";
            transcript += "stored: " + loader::find_library_path() + "\n";
            const auto directory = geometry::call_or_stop("KX_VornixRuntimeEnvironment_getInstallDirectory",
                                                          [](const KX_ErrorCallbackRecord* rec) {
                return geometry::bindings::ffi().KX_VornixRuntimeEnvironment_getInstallDirectory(rec);
            });
            transcript += "engine: " + geometry::string_from_handle(directory) + "\n";
            return transcript;
        },
        "first: 1\nsecond: 1\nstored: " + kMissingName + "\nengine: " + kBuild + "/corvane_bin/linux-x86_64\n");
}

using RuntimeEnvironment = FreshProcessTest;

TEST_F(RuntimeEnvironment, FailedStartIsFinal) {
    EXPECT_IN_FRESH_PROCESS(
        [] {
            EngineHooks::get().fail_next("KX_VornixRuntimeEnvironment_getInstallDirectory", KXT_FAIL_REPORT_ERROR);
            std::string transcript = "start: " + stop_message(geometry::environment::init) + "\n";
            transcript += "again: " + stop_message(geometry::environment::init) + "\n";
            transcript += "eager: " + stop_message([] { (void)loader::init_with_library(kEngine); }) + "\n";
            return transcript;
        },
        "start: Internal error: Failed to initialize runtime environment: Error { code: 1000, msg: \"Injected "
        "failure in KX_VornixRuntimeEnvironment_getInstallDirectory.\", additional_msg: \"Raised by a test "
        "hook.\" }\n"
        "again: Once instance has previously been poisoned\n"
        "eager: Once instance has previously been poisoned\n");
}

}  // namespace
