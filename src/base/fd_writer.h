// Writing straight to a file descriptor, below the buffering of C and of Python, for the few texts
// that must appear even where the process's streams are replaced or not set up yet.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <string_view>

namespace core {

// Writes all of `text` to `fd` at once. A closed or full descriptor loses the text, never the
// caller's work.
inline void write_fd(int fd, std::string_view text) noexcept {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

}  // namespace core
