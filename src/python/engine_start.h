// The early load of the engine that the module start-up tries from the interpreter's prefix.
#pragma once

#include <expected>
#include <string>

namespace vornix {

// Opens the engine at `path`, binds its functions and starts its runtime environment. Gives the
// debug text of the I/O error that kept it from being tried ("IoError { kind: NotFound, message:
// \"...\" }"). A library that is there but cannot be opened or bound stops with a core::Fault.
std::expected<void, std::string> load_engine(const std::string& path);

}  // namespace vornix
