// The eager load that the module start-up asks for: it stores the path for the library search
// (runtime_loader.h) and forces the function table (bindings.h), which asks that search for the
// library to open. Kept apart from both so that neither the search nor the table includes the other.
#pragma once

#include <expected>
#include <string>

namespace geometry::runtime_loader {

// An I/O error of the file-system test of `init_with_library`.
struct IoError {
    enum class Kind { NotFound, Other };
    Kind kind;
    std::string message;
};

// A missing `path` gives IoError NotFound "Could not find dynamic library at <path>" and stores
// nothing; a file-system test that fails otherwise gives that error (Kind Other). An existing path
// is stored, the engine table is forced (a failed load stops; a table bound earlier stays as it
// is) and the runtime environment started.
std::expected<void, IoError> init_with_library(const std::string& path);

}  // namespace geometry::runtime_loader
