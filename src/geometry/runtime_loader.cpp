#include "geometry/runtime_loader.h"

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "base/fault.h"
#include "base/kept_texts.h"
#include "geometry/unicode.h"

namespace geometry::runtime_loader {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLibraryName = "libcorvane.so";

detail::PathStore& library_path_store() {
    static detail::PathStore store;
    return store;
}

// Exists when its status can be read, following links: a folder or any other kind counts.
bool status_readable(const fs::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0;
}

// The parent folder, trailing separators ignored; none for the root.
std::optional<fs::path> parent_of(const fs::path& path) {
    fs::path trimmed = path;
    while (trimmed.has_relative_path() && !trimmed.has_filename()) trimmed = trimmed.parent_path();
    if (!trimmed.has_relative_path()) return std::nullopt;
    return trimmed.parent_path();
}

// `start` and every ancestor up to the root, in that order.
std::vector<fs::path> ancestors(const fs::path& start) {
    std::vector<fs::path> result{start};
    for (auto parent = parent_of(start); parent && !parent->empty(); parent = parent_of(*parent))
        result.push_back(*parent);
    return result;
}

std::vector<fs::path> candidates_near_executable(const std::optional<fs::path>& executable) {
    std::vector<fs::path> candidates;
    if (!executable) return candidates;
    const auto dir = parent_of(*executable);
    if (!dir) return candidates;
    candidates.push_back(*dir / kLibraryName);
    candidates.push_back(*dir / "deps" / kLibraryName);
    if (const auto grand = parent_of(*dir)) {
        candidates.push_back(*grand / "deps" / kLibraryName);
        candidates.push_back(*grand / "lib" / kLibraryName);
    }
    for (const auto& folder : ancestors(*dir))
        candidates.push_back(folder / "corvane_bin" / "linux-x86_64" / kLibraryName);
    return candidates;
}

std::optional<fs::path> current_executable() {
    std::error_code ec;
    auto path = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return std::nullopt;
    return path;
}

[[noreturn]] void stop_poisoned() {
    core::stop(core::kept_texts::library_path_poisoned);
}

}  // namespace

namespace detail {

void store_path(PathStore& store, const std::string& path) {
    auto guard = store.lock();
    if (!guard) stop_poisoned();
    **guard = path;
}

std::optional<std::string> stored_path(PathStore& store) {
    auto guard = store.lock();
    if (!guard) stop_poisoned();
    return **guard;
}

std::string search(const std::optional<std::string>& environment_value,
                   const std::optional<fs::path>& executable, const fs::path& build_directory) {
    if (environment_value && unicode::is_valid_utf8(*environment_value) && status_readable(*environment_value))
        return *environment_value;
    for (const auto& candidate : candidates_near_executable(executable))
        if (status_readable(candidate)) return candidate.string();
    for (const auto& folder : ancestors(build_directory)) {
        auto candidate = folder / "corvane_bin" / "linux-x86_64" / kLibraryName;
        if (status_readable(candidate)) return candidate.string();
    }
    return kLibraryName;
}

}  // namespace detail

void set_library_path(const std::string& path) { detail::store_path(library_path_store(), path); }

std::string find_library_path() {
    if (auto stored = detail::stored_path(library_path_store())) return *stored;
    const char* value = std::getenv("GEOMETRY_LIB_PATH");
    std::optional<std::string> environment_value;
    if (value != nullptr) environment_value = value;
    return detail::search(environment_value, current_executable(), CORVANE_BUILD_DIR);
}

}  // namespace geometry::runtime_loader
