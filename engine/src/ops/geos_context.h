// The GEOS side of the engine: one reentrant GEOS context per thread (created on first use, ended
// with the thread), owning pointers to GEOS geometries, and the checks that turn a GEOS failure
// into an engine error carrying GEOS's own message.
#pragma once

#include <geos_c.h>

#include <memory>
#include <string>

namespace ops {

// The calling thread's GEOS context. A context is not safe to share between threads, and the
// engine may be called from any thread, so each thread gets its own.
GEOSContextHandle_t geos();

struct GeosDeleter {
    void operator()(GEOSGeometry* g) const;
};
using GeosPtr = std::unique_ptr<GEOSGeometry, GeosDeleter>;

// Owners of GEOS parameter objects, so that a GEOS failure between their creation and their use
// (an engine error thrown on the way) still frees them.
template <typename T, void (*Destroy)(GEOSContextHandle_t, T*)>
struct GeosParamsDeleter {
    void operator()(T* p) const {
        if (p != nullptr) Destroy(geos(), p);
    }
};
using GeosBufferParams = std::unique_ptr<GEOSBufferParams, GeosParamsDeleter<GEOSBufferParams, GEOSBufferParams_destroy_r>>;
using GeosMakeValidParams =
    std::unique_ptr<GEOSMakeValidParams, GeosParamsDeleter<GEOSMakeValidParams, GEOSMakeValidParams_destroy_r>>;

// The last error GEOS reported on this thread (empty when none since the last reset).
std::string geos_last_error();
void geos_reset_error();

// A new GEOS geometry from a GEOS call; null is an engine error naming `what` and GEOS's message.
GeosPtr geos_check(GEOSGeometry* g, const char* what);

// A GEOS predicate's answer (0 or 1); 2 is an engine error.
bool geos_predicate(char answer, const char* what);

// A GEOS measure's status (1 on success); anything else is an engine error.
void geos_status(int status, const char* what);

[[noreturn]] void geos_failed(const char* what);

}  // namespace ops
