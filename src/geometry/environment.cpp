#include "geometry/environment.h"

#include "base/kept_texts.h"
#include "base/once_state.h"
#include "geometry/bindings.h"
#include "geometry/error.h"
#include "geometry/handle.h"

namespace geometry::environment {
namespace {

core::OnceState INIT_ONCE;

void start() {
    const auto& ffi = bindings::ffi();
    const KX_ErrorCallbackRecord discard{&discard_error, nullptr};
    ffi.KX_VornixRuntimeEnvironment_setErrorCallback(&discard_error, nullptr, &discard);
    // Only whether the engine answers matters; the directory itself is not needed.
    auto directory = call([&](const KX_ErrorCallbackRecord* rec) {
        return ffi.KX_VornixRuntimeEnvironment_getInstallDirectory(rec);
    });
    if (!directory) stop_with("Internal error: Failed to initialize runtime environment", directory.error());
    handle::StringOwner::from_handle(*directory);  // destroyed at once
}

}  // namespace

void init() { INIT_ONCE.run(start, core::kept_texts::once_poisoned); }

}  // namespace geometry::environment
