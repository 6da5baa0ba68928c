#include "ops/geos_context.h"

#include <cstdarg>
#include <cstdio>

#include "model/engine_error.h"

namespace ops {
namespace {

struct Context {
    GEOSContextHandle_t handle;
    std::string last_error;

    Context() : handle(GEOS_init_r()) {
        GEOSContext_setErrorMessageHandler_r(handle, &Context::on_error, this);
        // Notices (such as "Self-intersection at ...") are no errors of ours: dropped.
        GEOSContext_setNoticeMessageHandler_r(handle, nullptr, nullptr);
    }
    ~Context() { GEOS_finish_r(handle); }
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    static void on_error(const char* message, void* self) {
        static_cast<Context*>(self)->last_error = message != nullptr ? message : "";
    }
};

Context& context() {
    thread_local Context c;
    return c;
}

}  // namespace

GEOSContextHandle_t geos() { return context().handle; }

void GeosDeleter::operator()(GEOSGeometry* g) const {
    if (g != nullptr) GEOSGeom_destroy_r(geos(), g);
}

std::string geos_last_error() { return context().last_error; }

void geos_reset_error() { context().last_error.clear(); }

void geos_failed(const char* what) {
    std::string message = geos_last_error();
    geos_reset_error();
    throw model::EngineError(model::kGeometryError, std::string("The geometry operation failed: ") + what + ".",
                           message.empty() ? std::string("GEOS reported no reason.") : message);
}

GeosPtr geos_check(GEOSGeometry* g, const char* what) {
    if (g == nullptr) geos_failed(what);
    return GeosPtr(g);
}

bool geos_predicate(char answer, const char* what) {
    if (answer != 0 && answer != 1) geos_failed(what);
    return answer == 1;
}

void geos_status(int status, const char* what) {
    if (status != 1) geos_failed(what);
}

}  // namespace ops
