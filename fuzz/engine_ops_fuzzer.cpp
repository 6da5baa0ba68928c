// The engine's geometry operations, datum transformations and catalog through the C interface:
// two geometries read by the engine's JSON reader and random parameters go through operations the
// input chooses. Every call either fails with an engine error or gives objects that can be read
// and destroyed; no engine object outlives the input. Each polygon read is also checked against
// GEOS's reading of its rings (ring_reading_check.h), and its rings against the geodetic region
// rule (geodetic_region_check.h).
//
// Input layout (FuzzedDataProvider): two geometry texts first, each ended by a backslash and a blank;
// the parameters and the choice of operations are taken from the end of the input. A text is read
// as JSON, or one that starts with '!' is decoded as the bytes of a built geometry (built_geometry.h).
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "built_geometry.h"
#include "corvane/corvane.h"
#include "geodetic_region_check.h"
#include "interesting_numbers.h"
#include "ring_reading_check.h"

namespace {

void drop(void*, KX_ErrorHandle e) { KX_Error_destroy(e, nullptr); }
const KX_ErrorCallbackRecord kRec{drop, nullptr};
const KX_ErrorCallbackRecord* const rec = &kRec;

// Spatial references, units and curve types worth meeting; any other code is tried as well.
constexpr std::array<int32_t, 7> kWkids{0, 4326, 3857, 4267, 32633, 2056, 102100};
constexpr std::array<int32_t, 4> kLinearUnits{9001, 9002, 9036, 9093};
constexpr std::array<int32_t, 4> kAreaUnits{109404, 109401, 109414, 109405};

// Parameters drawn from the end of the input; bounded where the work grows with them (densify
// steps, buffer distances), since a hang is only a finding when the input is reasonable.
class Params {
public:
    explicit Params(FuzzedDataProvider& data) : data_(data) {}

    double any() { return data_.ConsumeBool() ? interesting() : data_.ConsumeFloatingPoint<double>(); }
    // A finite value in [lo, hi], or now and then an interesting number (NaN, an infinity, a
    // magnitude near overflow, a subnormal...; any value when the bounds are not a finite range).
    double in(double lo, double hi) {
        if (!(std::isfinite(lo) && std::isfinite(hi) && lo <= hi)) return any();
        if (data_.ConsumeIntegralInRange<int>(0, 3) == 3) return fuzz::interesting_number(data_);
        return data_.ConsumeFloatingPointInRange<double>(lo, hi);
    }
    double interesting() { return fuzz::interesting_number(data_); }
    // A step length relative to the geometry's size (`scale` converts its units: 1e5 takes degrees
    // to about metres), so that the number of vertices stays bounded.
    double step(KX_GeometryHandle g, double scale = 1) {
        const double lo = shortest_step(g, scale);
        return ordinary(lo, in(lo, lo * 1e6));
    }
    // An interesting number taken as a step length.
    double interesting_step(KX_GeometryHandle g, double scale = 1) { return ordinary(shortest_step(g, scale), interesting()); }
    int32_t code(const int32_t* known, size_t n) {
        return data_.ConsumeBool() ? known[data_.ConsumeIntegralInRange<size_t>(0, n - 1)]
                                   : data_.ConsumeIntegral<int32_t>();
    }
    int32_t flag() { return data_.ConsumeBool() ? 1 : 0; }
    int32_t curve_type() { return data_.ConsumeIntegralInRange<int32_t>(-1, 5); }
    std::string text(size_t max) { return data_.ConsumeRandomLengthString(max); }
    bool more() { return data_.remaining_bytes() > 0; }
    unsigned choice(unsigned n) { return data_.ConsumeIntegralInRange<unsigned>(0, n - 1); }

private:
    static double shortest_step(KX_GeometryHandle g, double scale) {
        const double size = extent_size(g) * scale;
        return std::isfinite(size) && size > 0 ? size / 2000 : 1e-3;
    }
    // `step`, or `shortest` where it would cut the geometry into between 2000 and 1e8 pieces: a
    // result that large is slow by design, not a hang. Beyond that the engine must refuse at once,
    // and non-finite or non-positive steps at once too, so those come through.
    static double ordinary(double shortest, double step) {
        const double pieces = 2000 * shortest / step;
        return pieces > 2000 && pieces < 1e8 ? shortest : step;
    }

    static double extent_size(KX_GeometryHandle g) {
        KX_GeometryHandle e = KX_Geometry_getExtent(g, rec);
        if (e == nullptr) return NAN;
        const double w = KX_Envelope_getXMax(e, rec) - KX_Envelope_getXMin(e, rec);
        const double h = KX_Envelope_getYMax(e, rec) - KX_Envelope_getYMin(e, rec);
        KX_Geometry_destroy(e, nullptr);
        return std::hypot(w, h);
    }

    FuzzedDataProvider& data_;
};

// Reads a result geometry as a caller would (its text and extent), then destroys it.
void consume(KX_GeometryHandle g) {
    if (g == nullptr) return;
    KX_StringHandle s = KX_Geometry_toJSON(g, rec);
    if (s != nullptr) {
        size_t n = 0;
        (void)KX_String_getByteArray(s, &n, rec);
        KX_String_destroy(s, nullptr);
    }
    KX_Geometry_destroy(KX_Geometry_getExtent(g, rec), nullptr);
    (void)KX_Geometry_getObjectType(g, rec);
    KX_Geometry_destroy(g, nullptr);
}

void consume_string(KX_StringHandle s) {
    if (s == nullptr) return;
    size_t n = 0;
    (void)KX_String_getByteArray(s, &n, rec);
    KX_String_destroy(s, nullptr);
}

// Every item of an array of geometries, then the array.
void consume_geometries(KX_ArrayHandle array) {
    if (array == nullptr) return;
    const uint64_t size = KX_Array_getSize(array, rec);
    for (uint64_t i = 0; i < size; ++i) {
        KX_ElementHandle e = KX_Array_at(array, i, rec);
        if (e == nullptr) continue;
        consume(KX_Element_getValueAsGeometry(e, rec));
        KX_Element_destroy(e, nullptr);
    }
    KX_Array_destroy(array, nullptr);
}

// A vector of the given geometries (type 50) or floats (type 43).
KX_VectorHandle geometry_vector(const std::vector<KX_GeometryHandle>& items) {
    KX_VectorHandle v = KX_Vector_create(KX_ELEMENT_TYPE_GEOMETRY, rec);
    KX_ElementHandle e = KX_Element_create(rec);
    for (KX_GeometryHandle g : items) {
        KX_Element_setValueFromGeometry(e, g, rec);
        KX_Vector_add(v, e, rec);
        KX_Element_clear(e, rec);
    }
    KX_Element_destroy(e, nullptr);
    return v;
}

KX_VectorHandle float_vector(Params& p, KX_GeometryHandle scale_of) {
    KX_VectorHandle v = KX_Vector_create(KX_ELEMENT_TYPE_FLOAT64, rec);
    KX_ElementHandle e = KX_Element_create(rec);
    for (unsigned i = p.choice(4); i > 0; --i) {
        KX_Element_setValueFromFloat64(e, p.step(scale_of) * (p.flag() ? 1 : -0.1), rec);
        KX_Vector_add(v, e, rec);
        KX_Element_clear(e, rec);
    }
    KX_Element_destroy(e, nullptr);
    return v;
}

// The queries of one datum transformation, its inverse, and a projection through it.
void exercise_transformation(KX_DatumTransformationHandle t, KX_GeometryHandle g) {
    consume_string(KX_DatumTransformation_getName(t, rec));
    (void)KX_DatumTransformation_getObjectType(t, rec);
    (void)KX_DatumTransformation_getIsMissingTarnelFiles(t, rec);
    KX_SpatialReferenceHandle in = KX_DatumTransformation_getInputSpatialReference(t, rec);
    KX_SpatialReferenceHandle out = KX_DatumTransformation_getOutputSpatialReference(t, rec);
    if (out != nullptr) consume(KX_GeometryEngine_projectWithTransformation(g, out, t, rec));
    KX_DatumTransformationHandle inverse = KX_DatumTransformation_getInverse(t, rec);
    if (inverse != nullptr && in != nullptr) consume(KX_GeometryEngine_projectWithTransformation(g, in, inverse, rec));
    KX_DatumTransformation_destroy(inverse, nullptr);
    KX_SpatialReference_destroy(in, nullptr);
    KX_SpatialReference_destroy(out, nullptr);
}

void catalog(Params& p, KX_GeometryHandle g) {
    KX_SpatialReferenceHandle from = KX_SpatialReference_create(p.code(kWkids.data(), kWkids.size()), rec);
    KX_SpatialReferenceHandle to = KX_SpatialReference_create(p.code(kWkids.data(), kWkids.size()), rec);
    KX_GeometryHandle area = p.flag() ? KX_Geometry_getExtent(g, rec) : nullptr;
    KX_ArrayHandle list =
        KX_TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical(from, to, area,
                                                                                                     p.flag(), rec);
    if (list != nullptr) {
        const uint64_t size = KX_Array_getSize(list, rec);
        for (uint64_t i = 0; i < size && i < 3; ++i) {
            KX_ElementHandle e = KX_Array_at(list, i, rec);
            KX_DatumTransformationHandle t = KX_Element_getValueAsDatumTransformation(e, rec);
            if (t != nullptr) exercise_transformation(t, g);
            KX_DatumTransformation_destroy(t, nullptr);
            KX_Element_destroy(e, nullptr);
        }
        KX_Array_destroy(list, nullptr);
    }
    KX_Geometry_destroy(area, nullptr);
    KX_SpatialReference_destroy(from, nullptr);
    KX_SpatialReference_destroy(to, nullptr);
}

// A mirror image of g: a scale with one or both factors negative (the map's determinant negative
// when one is), about the origin or about b.
KX_GeometryHandle reflected(Params& p, KX_GeometryHandle g, KX_GeometryHandle b) {
    const unsigned axes = p.choice(3) + 1;  // 1: x, 2: y, 3: both
    const double fx = p.in(0.25, 4) * (axes & 1 ? -1 : 1), fy = p.in(0.25, 4) * (axes & 2 ? -1 : 1);
    return KX_GeometryEngine_scale(g, p.flag() ? b : nullptr, fx, fy, rec);
}

// One operation, chosen by the input, on geometries a and b; `depth` counts the operations whose
// result is operated on again.
void operate(Params& p, KX_GeometryHandle a, KX_GeometryHandle b, int depth = 0) {
    switch (p.choice(59)) {
        case 0: (void)KX_GeometryEngine_contains(a, b, rec); break;
        case 1: (void)KX_GeometryEngine_crosses(a, b, rec); break;
        case 2: (void)KX_GeometryEngine_disjoint(a, b, rec); break;
        case 3: (void)KX_GeometryEngine_equals(a, b, rec); break;
        case 4: (void)KX_GeometryEngine_intersects(a, b, rec); break;
        case 5: (void)KX_GeometryEngine_overlaps(a, b, rec); break;
        case 6: (void)KX_GeometryEngine_touches(a, b, rec); break;
        case 7: (void)KX_GeometryEngine_within(a, b, rec); break;
        case 8: (void)KX_GeometryEngine_relate(a, b, p.text(12).c_str(), rec); break;
        case 9: consume(KX_GeometryEngine_difference(a, b, rec)); break;
        case 10: consume(KX_GeometryEngine_intersection(a, b, rec)); break;
        case 11: consume(KX_GeometryEngine_symmetricDifference(a, b, rec)); break;
        case 12: consume(KX_GeometryEngine_union(a, b, rec)); break;
        case 13: consume(KX_GeometryEngine_clip(a, b, rec)); break;
        case 14: consume_geometries(KX_GeometryEngine_intersections(a, b, rec)); break;
        case 15: consume_geometries(KX_GeometryEngine_cut(a, b, rec)); break;
        case 16: consume(KX_GeometryEngine_combineExtents(a, b, rec)); break;
        case 17: consume(KX_GeometryEngine_boundary(a, rec)); break;
        case 18: consume(KX_GeometryEngine_convexHull(a, rec)); break;
        case 19: consume(KX_GeometryEngine_simplify(a, rec)); break;
        case 20: consume(KX_GeometryEngine_labelPoint(a, rec)); break;
        case 21: consume(KX_GeometryEngine_buffer(a, p.step(a) * (p.flag() ? 1 : -0.1), rec)); break;
        case 22: consume(KX_GeometryEngine_densify(a, p.step(a), rec)); break;
        case 23: consume(KX_GeometryEngine_generalize(a, p.flag(), p.in(0, 1e6), rec)); break;
        case 24: consume(KX_GeometryEngine_rotate(a, p.flag() ? b : nullptr, p.any(), rec)); break;
        case 25: consume(KX_GeometryEngine_scale(a, p.flag() ? b : nullptr, p.in(-1e6, 1e6), p.in(-1e6, 1e6), rec)); break;
        case 26: consume(KX_GeometryEngine_move(a, p.any(), p.any(), rec)); break;
        case 27: consume(KX_GeometryEngine_setZ(a, p.any(), rec)); break;
        case 28: consume(KX_GeometryEngine_setM(a, p.any(), rec)); break;
        case 29: consume(KX_GeometryEngine_setZAndM(a, p.any(), p.any(), rec)); break;
        case 30: {
            KX_SpatialReferenceHandle sr = KX_SpatialReference_create(p.code(kWkids.data(), kWkids.size()), rec);
            consume(KX_GeometryEngine_project(a, sr, rec));
            KX_SpatialReference_destroy(sr, nullptr);
            break;
        }
        case 31: consume(KX_GeometryEngine_removeZ(a, rec)); break;
        case 32: consume(KX_GeometryEngine_removeM(a, rec)); break;
        case 33: consume(KX_GeometryEngine_removeZAndM(a, rec)); break;
        case 34: consume(KX_GeometryEngine_normalizeCentralMeridian(a, rec)); break;
        case 35: (void)KX_GeometryEngine_area(a, rec); break;
        case 36: (void)KX_GeometryEngine_length(a, rec); break;
        case 37: (void)KX_GeometryEngine_isSimple(a, rec); break;
        case 38: (void)KX_GeometryEngine_distance(a, b, rec); break;
        case 39: {
            KX_UnitHandle unit = p.flag() ? KX_AreaUnit_create(p.code(kAreaUnits.data(), kAreaUnits.size()), rec) : nullptr;
            (void)KX_GeometryEngine_areaGeodetic(a, unit, p.curve_type(), rec);
            KX_Unit_destroy(unit, nullptr);
            break;
        }
        case 40:
        case 41:
        case 42: {
            KX_UnitHandle unit =
                p.flag() ? KX_LinearUnit_create(p.code(kLinearUnits.data(), kLinearUnits.size()), rec) : nullptr;
            const int32_t curve = p.curve_type();
            if (unit == nullptr || p.flag()) {
                // Lengths in metres: the step is taken against degrees or metres alike.
                const double step = p.step(a, 1e5);
                switch (p.choice(3)) {
                    case 0: (void)KX_GeometryEngine_lengthGeodetic(a, unit, curve, rec); break;
                    case 1: consume(KX_GeometryEngine_bufferGeodetic(a, unit, curve, step, p.in(0, step), rec)); break;
                    default: consume(KX_GeometryEngine_densifyGeodetic(a, unit, curve, step, rec)); break;
                }
            }
            KX_Unit_destroy(unit, nullptr);
            break;
        }
        case 43: (void)KX_GeometryEngine_fractionAlong(a, b, p.in(0, 1e3), rec); break;
        case 44: consume(KX_GeometryEngine_createPointAlong(a, p.any(), rec)); break;
        case 45: consume(KX_GeometryEngine_extend(a, b, p.choice(32), rec)); break;
        case 46: {
            KX_VectorHandle v = geometry_vector(p.flag() ? std::vector{a, b} : std::vector{a});
            consume(KX_GeometryEngine_unionCollection(v, rec));
            KX_Vector_destroy(v, nullptr);
            break;
        }
        case 47: {
            KX_VectorHandle v = geometry_vector(p.flag() ? std::vector<KX_GeometryHandle>{} : std::vector{a, b});
            consume(KX_GeometryEngine_combineExtentsCollection(v, rec));
            KX_Vector_destroy(v, nullptr);
            break;
        }
        case 48: {
            KX_VectorHandle v = geometry_vector({a, b});
            consume_geometries(KX_GeometryEngine_convexHullCollection(v, p.flag(), rec));
            KX_Vector_destroy(v, nullptr);
            break;
        }
        case 49:
        case 50: {
            KX_VectorHandle v = geometry_vector({a, b});
            KX_VectorHandle d = float_vector(p, a);
            if (p.flag()) {
                consume_geometries(KX_GeometryEngine_bufferCollection(v, d, p.flag(), rec));
            } else {
                KX_UnitHandle unit = p.flag() ? KX_LinearUnit_create(9001, rec) : nullptr;
                consume_geometries(
                    KX_GeometryEngine_bufferGeodeticCollection(v, d, unit, p.curve_type(), p.flag(), p.in(0, 1e3), rec));
                KX_Unit_destroy(unit, nullptr);
            }
            KX_Vector_destroy(d, nullptr);
            KX_Vector_destroy(v, nullptr);
            break;
        }
        case 51: {
            KX_VectorHandle existing = geometry_vector({a});
            KX_VectorHandle added = geometry_vector({b});
            consume_geometries(KX_GeometryEngine_autoComplete(existing, added, rec));
            KX_Vector_destroy(added, nullptr);
            KX_Vector_destroy(existing, nullptr);
            break;
        }
        case 52:
        case 53: catalog(p, a); break;
        case 54: {
            const std::string dir = p.text(32);
            KX_TransformationCatalog_setTarnelDirectory(p.flag() ? dir.c_str() : nullptr, rec);
            consume_string(KX_TransformationCatalog_getTarnelDirectory(rec));
            KX_TransformationCatalog_setTarnelDirectory(nullptr, rec);
            break;
        }
        case 55: {
            // Every operation on a mirror image: its rings come out wound the other way.
            KX_GeometryHandle mirror = reflected(p, a, b);
            if (mirror != nullptr && depth < 2) operate(p, mirror, b, depth + 1);
            consume(mirror);
            break;
        }
        case 56: {
            // Geodetic buffers of any distance: past half the earth, past the whole of it, or not a number.
            KX_UnitHandle unit = p.flag() ? KX_LinearUnit_create(p.code(kLinearUnits.data(), kLinearUnits.size()), rec) : nullptr;
            const int32_t curve = p.curve_type();
            const double distance = p.flag() ? p.interesting() : p.in(-4.1e7, 4.1e7), deviation = p.in(0, 1e5);
            consume(KX_GeometryEngine_bufferGeodetic(a, unit, curve, distance, deviation, rec));
            KX_Unit_destroy(unit, nullptr);
            break;
        }
        case 57: {
            // Densify and generalize with any step or deviation, however small, large or undefined.
            switch (p.choice(3)) {
                case 0: consume(KX_GeometryEngine_densify(a, p.interesting_step(a), rec)); break;
                case 1: {
                    const int32_t curve = p.curve_type();
                    consume(KX_GeometryEngine_densifyGeodetic(a, nullptr, curve, p.interesting_step(a, 1e5), rec));
                    break;
                }
                default: {
                    const int32_t remove_degenerate = p.flag();
                    consume(KX_GeometryEngine_generalize(a, remove_degenerate, p.interesting(), rec));
                    break;
                }
            }
            break;
        }
        default: {
            // Operations on the result of another: the z/m and move results fed back in.
            KX_GeometryHandle moved = KX_GeometryEngine_setZAndM(a, p.any(), p.any(), rec);
            if (moved != nullptr) {
                consume(KX_GeometryEngine_intersection(moved, b, rec));
                consume(KX_GeometryEngine_densify(moved, p.step(moved), rec));
            }
            consume(moved);
            break;
        }
    }
}

// A geometry from its text: JSON, or after a '!' the bytes of a built geometry (its reference first).
KX_GeometryHandle geometry(const std::string& text) {
    if (text.empty() || text[0] != '!') return KX_Geometry_fromJSON(text.c_str(), rec);
    FuzzedDataProvider bytes(reinterpret_cast<const uint8_t*>(text.data()) + 1, text.size() - 1);
    const int32_t wkid = kWkids[bytes.ConsumeIntegralInRange<size_t>(0, kWkids.size() - 1)];
    return fuzz::BuiltGeometry(bytes, rec).build(wkid);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    KX_VornixRuntimeEnvironment_setErrorCallback(drop, nullptr, rec);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string first = provider.ConsumeRandomLengthString(2048);
    const std::string second = provider.ConsumeRandomLengthString(2048);
    KX_GeometryHandle a = geometry(first);
    KX_GeometryHandle b = geometry(second);
    if (a != nullptr && b != nullptr) {
        static fuzz::RingReadingCheck rings(rec);
        rings.check(a);
        rings.check(b);
        static fuzz::GeodeticRegionCheck regions(rec);
        regions.check(a);
        regions.check(b);
        Params params(provider);
        for (int i = 0; i < 4 && params.more(); ++i) {
            const bool swap = params.flag();
            operate(params, swap ? b : a, swap ? a : b);
        }
    }
    KX_Geometry_destroy(a, nullptr);
    KX_Geometry_destroy(b, nullptr);
    if (KXT_live_objects("*") != 0) std::abort();
    return 0;
}
