// Geodetic measures: area, length and densification on the ellipsoid of the geometry's spatial
// reference, in the units asked for (square metres and metres without a unit).
#include "api/handles.h"
#include "ops/geodetic_in_units.h"

using model::UnitKind;

extern "C" {

double KX_GeometryEngine_areaGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                      const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        return ops::geodetic_area_in(api::geometry(geometry), ops::curve_type(curve_type),
                                     api::unit_of(unit, UnitKind::Area));
    });
}

double KX_GeometryEngine_lengthGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                        const KX_ErrorCallbackRecord* rec) {
    return api::execute<double>(rec, __func__, [&] {
        return ops::geodetic_length_in(api::geometry(geometry), ops::curve_type(curve_type),
                                       api::unit_of(unit, UnitKind::Linear));
    });
}

KX_GeometryHandle KX_GeometryEngine_densifyGeodetic(KX_GeometryHandle geometry, KX_UnitHandle unit, int32_t curve_type,
                                                    double max_segment_length, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::new_geometry(ops::geodetic_densify_in(api::geometry(geometry), ops::curve_type(curve_type),
                                                          max_segment_length, api::unit_of(unit, UnitKind::Linear)));
    });
}

}  // extern "C"
