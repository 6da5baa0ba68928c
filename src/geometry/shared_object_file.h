// The test that a file is a complete ELF shared object of this machine, made before the dynamic
// loader maps it: the loader maps segments without comparing them with the file's size, so a
// truncated or half-copied library ends the process with SIGBUS when a page past its end is
// touched, instead of failing to load.
#pragma once

#include <expected>
#include <string>

namespace geometry::shared_object_file {

// Nothing when the file at `path` cannot be opened or is no regular file (the loader refuses it
// with its own message), or has an ELF header of this machine's class, byte order and
// machine, is a shared object, and holds its program headers, every loadable segment and its
// section header table; otherwise why not, in the loader's manner ("<path>: <reason>").
std::expected<void, std::string> check(const std::string& path);

}  // namespace geometry::shared_object_file
