#include "geometry/shared_object_file.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "geometry/unicode.h"

namespace geometry::shared_object_file {
namespace {

#if defined(__x86_64__)
constexpr uint16_t kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr uint16_t kMachine = EM_AARCH64;
#else
#error "the machine of the engine library is not known for this architecture"
#endif
static_assert(sizeof(void*) == 8, "the engine library is a 64-bit ELF file");
constexpr unsigned char kByteOrder = std::endian::native == std::endian::little ? ELFDATA2LSB : ELFDATA2MSB;

class File {
public:
    explicit File(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() {
        if (fd_ >= 0) ::close(fd_);
    }
    // The size of a regular file that could be opened, or nothing.
    std::optional<uint64_t> regular_size() const {
        struct stat status {};
        if (fd_ < 0 || ::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
        return static_cast<uint64_t>(status.st_size);
    }
    // Reads exactly `length` bytes at `offset`.
    bool read(uint64_t offset, void* out, size_t length) const {
        auto* bytes = static_cast<char*>(out);
        while (length > 0) {
            const ssize_t got = ::pread(fd_, bytes, length, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            bytes += got, offset += static_cast<uint64_t>(got), length -= static_cast<size_t>(got);
        }
        return true;
    }

private:
    int fd_;
};

// Whether `count` entries of `entry_size` bytes from `offset` lie within `size` bytes, without
// overflow.
bool within(uint64_t offset, uint64_t count, uint64_t entry_size, uint64_t size) {
    if (offset > size) return false;
    return entry_size == 0 || count <= (size - offset) / entry_size;
}

const char* header_problem(const Elf64_Ehdr& header) {
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) return "invalid ELF header";
    if (header.e_ident[EI_CLASS] != ELFCLASS64) return "wrong ELF class";
    if (header.e_ident[EI_DATA] != kByteOrder) return "wrong byte order";
    if (header.e_ident[EI_VERSION] != EV_CURRENT) return "unknown ELF version";
    if (header.e_type != ET_DYN) return "not a shared object";
    if (header.e_machine != kMachine) return "built for another machine";
    if (header.e_phentsize != sizeof(Elf64_Phdr)) return "invalid program header size";
    if (header.e_shnum != 0 && header.e_shentsize != sizeof(Elf64_Shdr)) return "invalid section header size";
    return nullptr;
}

const char* layout_problem(const File& file, const Elf64_Ehdr& header, uint64_t size) {
    if (!within(header.e_phoff, header.e_phnum, sizeof(Elf64_Phdr), size))
        return "file too short: the program headers lie past its end";
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    if (!file.read(header.e_phoff, segments.data(), segments.size() * sizeof(Elf64_Phdr)))
        return "cannot read the program headers";
    for (const Elf64_Phdr& segment : segments)
        if (segment.p_type == PT_LOAD && !within(segment.p_offset, 1, segment.p_filesz, size))
            return "file too short: a loadable segment lies past its end";
    // An extended section count keeps the table's first entry at least.
    const uint64_t sections = header.e_shoff == 0 ? 0 : (header.e_shnum == 0 ? 1 : header.e_shnum);
    if (!within(header.e_shoff, sections, sizeof(Elf64_Shdr), size))
        return "file too short: the section header table lies past its end";
    return nullptr;
}

}  // namespace

std::expected<void, std::string> check(const std::string& path) {
    auto failed = [&](const char* reason) { return std::unexpected(unicode::lossy(path) + ": " + reason); };
    File file(path);
    // What cannot be opened, or is no regular file, the loader refuses with its own message.
    const std::optional<uint64_t> regular_size = file.regular_size();
    if (!regular_size) return {};
    const uint64_t size = *regular_size;
    Elf64_Ehdr header{};
    if (size < sizeof header || !file.read(0, &header, sizeof header)) return failed("file too short");
    if (const char* problem = header_problem(header)) return failed(problem);
    if (const char* problem = layout_problem(file, header, size)) return failed(problem);
    return {};
}

}  // namespace geometry::shared_object_file
