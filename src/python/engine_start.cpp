#include "python/engine_start.h"

#include "geometry/runtime_loader_init.h"

namespace vornix {

namespace {
std::string debug_text(const geometry::runtime_loader::IoError& error) {
    using Kind = geometry::runtime_loader::IoError::Kind;
    const char* kind = error.kind == Kind::NotFound ? "NotFound" : "Other";
    return std::string("IoError { kind: ") + kind + ", message: \"" + error.message + "\" }";
}
}  // namespace

std::expected<void, std::string> load_engine(const std::string& path) {
    auto loaded = geometry::runtime_loader::init_with_library(path);
    if (!loaded) return std::unexpected(debug_text(loaded.error()));
    return {};
}

}  // namespace vornix
