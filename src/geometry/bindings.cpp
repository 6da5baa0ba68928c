#include "geometry/bindings.h"

#include <dlfcn.h>

#include <array>
#include <expected>
#include <string>

#include "base/fault.h"
#include "base/kept_texts.h"
#include "base/once_state.h"
#include "geometry/runtime_loader.h"
#include "geometry/shared_object_file.h"
#include "geometry/unicode.h"

namespace geometry::bindings {

const char* const kFunctionNames[] = {
#define KX_FN(ret, cls, method, params) "KX_" #cls "_" #method,
#define KX_STUB(cls, method) "KX_" #cls "_" #method,
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
};
const size_t kFunctionCount = std::size(kFunctionNames);

namespace {

constexpr size_t kSlots = std::size(kFunctionNames);
static_assert(sizeof(CorvaneFFI) == kSlots * sizeof(void*), "one pointer-sized slot per engine function");

using Addresses = std::array<void*, kSlots>;

// The bound table and the library it came from; the library is never closed.
struct RuntimeFfi {
    CorvaneFFI table{};
    void* library = nullptr;
};

RuntimeFfi runtime_ffi;
core::OnceState RUNTIME_FFI;

// Looks up every name in slot order; the first one missing ends the binding.
std::expected<Addresses, std::string> bind_all(void* library) {
    Addresses addresses{};
    for (size_t slot = 0; slot < kSlots; ++slot) {
        dlerror();
        void* address = dlsym(library, kFunctionNames[slot]);
        if (address == nullptr) {
            if (const char* message = dlerror())
                return std::unexpected("Could not obtain symbol from the library: " + unicode::lossy(message));
            return std::unexpected(std::string("The symbol is NULL"));
        }
        addresses[slot] = address;
    }
    return addresses;
}

CorvaneFFI table_of(const Addresses& addresses) {
    CorvaneFFI table{};
    size_t slot = 0;
#define KX_FN(ret, cls, method, params) \
    table.KX_##cls##_##method = reinterpret_cast<decltype(table.KX_##cls##_##method)>(addresses[slot++]);
#define KX_STUB(cls, method) KX_FN(void, cls, method, ())
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB
    return table;
}

// Opens and binds; the error is the loading error's text, the loader's own message read lossily
// like the path it names. A path to a file is checked first (a name without a folder is left to
// the loader's search): a truncated library must fail to load, not end the process.
std::expected<RuntimeFfi, std::string> open_and_bind(const std::string& path) {
    if (path.find('/') != std::string::npos) {
        if (auto usable = shared_object_file::check(path); !usable)
            return std::unexpected("Could not open library: " + usable.error());
    }
    dlerror();
    void* library = dlopen(path.c_str(), RTLD_LAZY);
    if (library == nullptr) {
        const char* message = dlerror();
        return std::unexpected("Could not open library: " + unicode::lossy(message ? message : "unknown error"));
    }
    auto addresses = bind_all(library);
    if (!addresses) {
        if (dlclose(library) != 0) core::stop("Call to dlclose() failed");
        return std::unexpected(addresses.error());
    }
    return RuntimeFfi{table_of(*addresses), library};
}

void load() {
    const std::string path = runtime_loader::find_library_path();
    auto loaded = open_and_bind(path);
    if (!loaded) core::stop("Failed to load corvane library at " + unicode::lossy(path) + ": " + loaded.error());
    runtime_ffi = *loaded;
}

}  // namespace

const CorvaneFFI& ffi() {
    RUNTIME_FFI.run(load, core::kept_texts::lazy_lock_poisoned);
    return runtime_ffi.table;
}

}  // namespace geometry::bindings
