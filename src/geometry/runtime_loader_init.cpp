#include "geometry/runtime_loader_init.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "geometry/runtime_loader.h"
#include "geometry/unicode.h"

namespace geometry::runtime_loader {

std::expected<void, IoError> init_with_library(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        const int error = errno;
        if (error == ENOENT)
            return std::unexpected(IoError{IoError::Kind::NotFound,
                                           "Could not find dynamic library at " + unicode::lossy(path)});
        return std::unexpected(
            IoError{IoError::Kind::Other, std::string(std::strerror(error)) + " (os error " + std::to_string(error) + ")"});
    }
    set_library_path(path);
    bindings::ffi();
    environment::init();
    return {};
}

}  // namespace geometry::runtime_loader
