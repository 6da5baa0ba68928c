// The engine's transforms, z / m operations, projection, geodesy and central-meridian folding on
// any geometry the JSON reader accepts, with any parameters: every operation either answers or
// reports an engine error, never crashes, and leaks nothing.
// Input: four parameter bytes, then one JSON text (give it a "spatialReference" to reach the
// geodetic and projection paths).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "corvane/corvane.h"

namespace {

void drop(void*, KX_ErrorHandle e) { KX_Error_destroy(e, nullptr); }
const KX_ErrorCallbackRecord kRec{drop, nullptr};

void done(KX_GeometryHandle g) { KX_Geometry_destroy(g, nullptr); }
void done(KX_ArrayHandle a) { KX_Array_destroy(a, nullptr); }

double parameter(uint8_t byte) {
    static const double kSpecial[] = {0.0, -1.0, 1e-9, 1e9, NAN, INFINITY, -INFINITY, 0.5};
    if (byte < 16) return kSpecial[byte % 8];
    return (static_cast<int>(byte) - 128) * 1000.0;
}

// Spatial references made once: creating them asks PROJ's database.
KX_SpatialReferenceHandle reference(int i) {
    static KX_SpatialReferenceHandle refs[] = {KX_SpatialReference_create(4326, &kRec), KX_SpatialReference_create(3857, &kRec),
                                               KX_SpatialReference_create(32632, &kRec), KX_SpatialReference_create(4267, &kRec)};
    return refs[i % 4];
}

void transforms(KX_GeometryHandle g, double a, double b, int32_t options) {
    done(KX_GeometryEngine_move(g, a, b, &kRec));
    KX_GeometryHandle origin = (options & 1) ? KX_Point_createWithXY(a, b, &kRec) : nullptr;
    done(KX_GeometryEngine_rotate(g, origin, a, &kRec));
    done(KX_GeometryEngine_scale(g, origin, a / 1000, b / 1000, &kRec));
    if (origin != nullptr) done(origin);
    done(KX_GeometryEngine_setZ(g, a, &kRec));
    done(KX_GeometryEngine_setM(g, b, &kRec));
    done(KX_GeometryEngine_setZAndM(g, a, b, &kRec));
    done(KX_GeometryEngine_removeZ(g, &kRec));
    done(KX_GeometryEngine_removeM(g, &kRec));
    done(KX_GeometryEngine_removeZAndM(g, &kRec));
    done(KX_GeometryEngine_normalizeCentralMeridian(g, &kRec));
}

void geodesy(KX_GeometryHandle g, double a, double b, int32_t options) {
    const int32_t curve = options % 6;  // 5 is refused
    KX_GeometryEngine_areaGeodetic(g, nullptr, curve, &kRec);
    const double length = KX_GeometryEngine_lengthGeodetic(g, nullptr, curve, &kRec);
    // A spacing that keeps the densified geometry small, and one from the input (often refused).
    done(KX_GeometryEngine_densifyGeodetic(g, nullptr, curve, std::isfinite(length) && length > 0 ? length / 32 : 1000, &kRec));
    done(KX_GeometryEngine_densifyGeodetic(g, nullptr, curve, std::abs(a) + 1000, &kRec));
    done(KX_GeometryEngine_bufferGeodetic(g, nullptr, curve, a, std::abs(b), &kRec));
    KX_VectorHandle geometries = KX_Vector_create(KX_ELEMENT_TYPE_GEOMETRY, &kRec);
    KX_VectorHandle distances = KX_Vector_create(KX_ELEMENT_TYPE_FLOAT64, &kRec);
    KX_ElementHandle e = KX_Element_create(&kRec);
    KX_Element_setValueFromGeometry(e, g, &kRec);
    KX_Vector_add(geometries, e, &kRec);
    KX_Vector_add(geometries, e, &kRec);
    KX_Element_setValueFromFloat64(e, a, &kRec);
    KX_Vector_add(distances, e, &kRec);
    done(KX_GeometryEngine_bufferGeodeticCollection(geometries, distances, nullptr, curve, options & 2, 0, &kRec));
    KX_Element_destroy(e, nullptr);
    KX_Vector_destroy(geometries, nullptr);
    KX_Vector_destroy(distances, nullptr);
}

void projection(KX_GeometryHandle g, int32_t options) {
    done(KX_GeometryEngine_project(g, reference(options), &kRec));
    KX_ArrayHandle list = KX_TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical(
        reference(3), reference(0), nullptr, 1, &kRec);
    if (list != nullptr && KX_Array_getSize(list, &kRec) > 0) {
        KX_ElementHandle e = KX_Array_at(list, static_cast<uint64_t>(options) % KX_Array_getSize(list, &kRec), &kRec);
        KX_DatumTransformationHandle t = KX_Element_getValueAsDatumTransformation(e, &kRec);
        done(KX_GeometryEngine_projectWithTransformation(g, reference(options >> 2), t, &kRec));
        KX_DatumTransformationHandle inverse = KX_DatumTransformation_getInverse(t, &kRec);
        done(KX_GeometryEngine_projectWithTransformation(g, reference(options >> 4), inverse, &kRec));
        KX_DatumTransformation_destroy(inverse, nullptr);
        KX_DatumTransformation_destroy(t, nullptr);
        KX_Element_destroy(e, nullptr);
    }
    if (list != nullptr) done(list);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    static const int64_t baseline = [] {
        reference(0);
        return KXT_live_objects("*");
    }();
    const double a = parameter(data[0]), b = parameter(data[1]);
    const int32_t options = data[2];
    const std::string text(reinterpret_cast<const char*>(data + 4), size - 4);
    KX_GeometryHandle g = KX_Geometry_fromJSON(text.c_str(), &kRec);
    if (g != nullptr) {
        transforms(g, a, b, options);
        geodesy(g, a, b, options);
        projection(g, options);
        done(g);
    }
    if (KXT_live_objects("*") != baseline) std::abort();
    return 0;
}
