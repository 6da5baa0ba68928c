// Where the engine library is: the stored library path (GEOMETRY_LIB_PATH) and the search for
// libcorvane.so. The function table asks it for the library to open; the eager load of the module
// start-up is in runtime_loader_init.h, above both.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "base/poison_mutex.h"

namespace geometry::runtime_loader {

// Stores `path` as the process's library path, replacing any earlier one. A poisoned store stops
// with "Failed to acquire lock on GEOMETRY_LIB_PATH: PoisonError { .. }".
void set_library_path(const std::string& path);

// The library to open, first found of: the stored path (returned untested), the environment
// variable GEOMETRY_LIB_PATH (when valid UTF-8 and existing), beside the executable and its
// deps/lib folders, corvane_bin/linux-x86_64 in the executable's folder and every ancestor, the
// same under the build folder and its ancestors, and at last the bare "libcorvane.so" for the
// dynamic loader's own search. Never fails; a poisoned store stops as in set_library_path.
std::string find_library_path();

namespace detail {

// The search of find_library_path after the stored path, with its inputs made explicit:
// the environment variable's raw value, the executable's path, the build folder.
std::string search(const std::optional<std::string>& environment_value,
                   const std::optional<std::filesystem::path>& executable,
                   const std::filesystem::path& build_directory);

using PathStore = core::PoisonMutex<std::optional<std::string>>;
void store_path(PathStore& store, const std::string& path);
std::optional<std::string> stored_path(PathStore& store);

}  // namespace detail
}  // namespace geometry::runtime_loader
