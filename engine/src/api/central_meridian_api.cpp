// Folding a geometry into the turn of longitude about its reference's central meridian.
#include "api/handles.h"
#include "ops/central_meridian.h"

extern "C" {

KX_GeometryHandle KX_GeometryEngine_normalizeCentralMeridian(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::normalized_central_meridian(api::geometry(geometry)));
    });
}

}  // extern "C"
