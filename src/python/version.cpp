#include "python/version.h"

#include <string_view>

namespace vornix {

namespace {
constexpr std::string_view kPackageVersion = "1.0.284";

void replace_all(std::string& text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}
}  // namespace

std::string python_version_of(std::string package_version) {
    replace_all(package_version, "-alpha", "a");
    replace_all(package_version, "-beta", "b");
    replace_all(package_version, "-rc", "rc");
    return package_version;
}

const std::string& get_vornix_geometry_version() {
    static const std::string version = python_version_of(std::string(kPackageVersion));
    return version;
}

}  // namespace vornix
