#include "python/console.h"

#include <unistd.h>

#include "base/fd_writer.h"

namespace vornix {

void write_stdout(std::string_view text) { core::write_fd(STDOUT_FILENO, text); }

}  // namespace vornix
