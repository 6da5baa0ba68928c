// The module's version as Python writes version numbers.
#pragma once

#include <string>

namespace vornix {

// "1.0.284"; a package pre-release "-alpha", "-beta" or "-rc" is written "a", "b", "rc".
const std::string& get_vornix_geometry_version();

// The rewriting of one package version.
std::string python_version_of(std::string package_version);

}  // namespace vornix
