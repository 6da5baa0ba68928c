// The engine's test hooks (KXT_*), looked up in the engine library that the binding has opened;
// the binding itself never calls them. Their state is process-wide: fixtures reset it.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "geometry/bindings.h"
#include "geometry/runtime_loader.h"

struct EngineHooks {
    int64_t (*live_objects)(const char*);
    void (*fail_next)(const char*, int32_t);
    void (*reset)();
    void (*raise_global_error)(int32_t, const char*, const char*);

    // Loads the engine through the binding (if not done yet) and finds its hooks.
    static const EngineHooks& get() {
        static const EngineHooks hooks = [] {
            geometry::bindings::ffi();
            const std::string path = geometry::runtime_loader::find_library_path();
            void* library = dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
            if (library == nullptr) throw std::runtime_error("the engine is not loaded: " + path);
            return EngineHooks{
                symbol<int64_t (*)(const char*)>(library, "KXT_live_objects"),
                symbol<void (*)(const char*, int32_t)>(library, "KXT_fail_next"),
                symbol<void (*)()>(library, "KXT_reset"),
                symbol<void (*)(int32_t, const char*, const char*)>(library, "KXT_raise_global_error"),
            };
        }();
        return hooks;
    }

private:
    template <typename F>
    static F symbol(void* library, const char* name) {
        void* address = dlsym(library, name);
        if (address == nullptr) throw std::runtime_error(std::string("missing test hook ") + name);
        return reinterpret_cast<F>(address);
    }
};
