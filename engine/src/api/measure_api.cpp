// Planar measures and the simplicity test. Area, length and isSimple answer for every geometry.
#include "api/handles.h"
#include "ops/measure.h"
#include "ops/simplify.h"

extern "C" {

double KX_GeometryEngine_area(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] { return ops::area(api::geometry(geometry)); });
}

double KX_GeometryEngine_length(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] { return ops::length(api::geometry(geometry)); });
}

double KX_GeometryEngine_distance(KX_GeometryHandle geometry, KX_GeometryHandle other,
                                  const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        return ops::distance(api::geometry(geometry), api::geometry(other));
    });
}

uint8_t KX_GeometryEngine_isSimple(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return ops::is_simple(api::geometry(geometry)); });
}

}  // extern "C"
