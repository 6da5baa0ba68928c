#include "python/console.h"

#include <unistd.h>

#include <cerrno>

namespace vornix {

void write_stdout(std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;  // a closed or full stdout loses the warning, never the import
        text.remove_prefix(size_t(written));
    }
}

}  // namespace vornix
