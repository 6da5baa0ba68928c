// The start-up warnings go to the process's standard output (file descriptor 1), not through
// Python's sys.stdout, so that they appear even before Python's streams are set up or when they
// are replaced.
#pragma once

#include <string_view>

namespace vornix {

// Writes `text` to file descriptor 1 at once (unbuffered, so each warning is flushed as written).
void write_stdout(std::string_view text);

}  // namespace vornix
