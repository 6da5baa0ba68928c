#include "model/proj_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace model::proj {
namespace {

FILE* stream(PROJ_FILE_HANDLE* handle) { return reinterpret_cast<FILE*>(handle); }

// O_NONBLOCK makes opening a FIFO return at once; the descriptor is then checked to be a regular
// file before anything is read from it, so no path can be swapped in between a check and the open.
PROJ_FILE_HANDLE* open_regular(PJ_CONTEXT*, const char* path, PROJ_OPEN_ACCESS access, void*) {
    int flags = O_CLOEXEC | O_NONBLOCK;
    const char* mode = "rb";
    if (access == PROJ_OPEN_ACCESS_READ_UPDATE) flags |= O_RDWR, mode = "r+b";
    else if (access == PROJ_OPEN_ACCESS_CREATE) flags |= O_RDWR | O_CREAT | O_TRUNC, mode = "w+b";
    else flags |= O_RDONLY;
    const int fd = ::open(path, flags, 0666);
    if (fd < 0) return nullptr;
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    FILE* file = ::fdopen(fd, mode);
    if (file == nullptr) ::close(fd);
    return reinterpret_cast<PROJ_FILE_HANDLE*>(file);
}

size_t read(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void* buffer, size_t size, void*) {
    return std::fread(buffer, 1, size, stream(handle));
}

size_t write(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, const void* buffer, size_t size, void*) {
    return std::fwrite(buffer, 1, size, stream(handle));
}

int seek(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, long long offset, int whence, void*) {
    return ::fseeko(stream(handle), static_cast<off_t>(offset), whence) == 0;
}

unsigned long long tell(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void*) {
    const off_t position = ::ftello(stream(handle));
    return position < 0 ? 0 : static_cast<unsigned long long>(position);
}

void close(PJ_CONTEXT*, PROJ_FILE_HANDLE* handle, void*) { std::fclose(stream(handle)); }

// Directories count too: PROJ asks about its own folders through the same call.
int exists(PJ_CONTEXT*, const char* path, void*) {
    struct stat status {};
    return ::stat(path, &status) == 0 && (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode));
}

int make_directory(PJ_CONTEXT*, const char* path, void*) { return ::mkdir(path, 0755) == 0 || errno == EEXIST; }

int remove(PJ_CONTEXT*, const char* path, void*) { return ::unlink(path) == 0; }

int rename(PJ_CONTEXT*, const char* from, const char* to, void*) { return std::rename(from, to) == 0; }

}  // namespace

const PROJ_FILE_API& regular_file_api() {
    static const PROJ_FILE_API api{1, open_regular, read, write, seek, tell, close, exists, make_directory, remove, rename};
    return api;
}

}  // namespace model::proj
