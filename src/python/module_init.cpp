#include "python/module_init.h"

#include <sys/stat.h>

#include <optional>
#include <string>

#include "base/interior_nul.h"
#include "python/console.h"
#include "python/engine_start.h"
#include "python/version.h"

namespace vornix {

namespace {

// sys.prefix as text, or nothing when it cannot be read (its Python error is dropped).
std::optional<std::string> interpreter_prefix() {
    binding::Ref sys = binding::Ref::steal(PyImport_ImportModule("sys"));
    binding::Ref prefix = sys ? binding::Ref::steal(PyObject_GetAttrString(sys.get(), "prefix")) : binding::Ref();
    if (prefix) {
        if (auto text = binding::FromPy<std::string>::convert(prefix.get())) return std::move(*text);
    }
    PyErr_Clear();
    return std::nullopt;
}

enum class FileKind { Unreadable, Regular, Other };

// The status of `path`, following symbolic links; a path holding NUL cannot name a file.
FileKind file_kind(const std::string& path) {
    struct stat status {};
    if (core::interior_nul::first(path) || ::stat(path.c_str(), &status) != 0) return FileKind::Unreadable;
    return S_ISREG(status.st_mode) ? FileKind::Regular : FileKind::Other;
}

void load_from_prefix() {
    std::optional<std::string> prefix = interpreter_prefix();
    if (!prefix) {
        write_stdout("Warning: could not find sys prefix while loading vornix_native module\n");
        return;
    }
    // The prefix is used as it comes: one ending in "/" gives a doubled slash.
    std::string path = *prefix + "/libcorvane.so";
    switch (file_kind(path)) {
        case FileKind::Unreadable:
            write_stdout("Warning: was unable to find corvane lib in sys.prefix.\n Path: " + path + "\n");
            return;
        case FileKind::Other:
            write_stdout("Warning: corvane lib at " + path + " was not a file\n");
            return;
        case FileKind::Regular:
            if (auto loaded = load_engine(path); !loaded)
                write_stdout("Warning: Failed to load corvane lib at " + path + ": " + loaded.error() + "\n");
            return;
    }
}

}  // namespace

binding::PyResult<void> module_init(PyObject* module) {
    load_from_prefix();
    auto version = binding::into_py(get_vornix_geometry_version());
    if (!version) return binding::fail(std::move(version.error()));
    return binding::add(module, "__version__", std::move(*version));
}

}  // namespace vornix
