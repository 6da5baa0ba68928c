/* The C interface of the geometry engine libcorvane.so, shared by the engine and the module.
 *
 * Handles are opaque pointers to engine objects; null means no object. Every function takes an
 * error record last: on failure the engine calls record->callback(record->user_data, error)
 * before it returns, and the caller ignores the returned value. A null record pointer is accepted
 * everywhere (the error is then dropped). Returned handles are new and owned by the caller. */
#ifndef CORVANE_H
#define CORVANE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct _KX_SegmentInternal* KX_SegmentHandle;
typedef struct _KX_GeometryInternal* KX_GeometryHandle;
typedef struct _KX_GeometryBuilderInternal* KX_GeometryBuilderHandle;
typedef struct _KX_MutablePartInternal* KX_MutablePartHandle;
typedef struct _KX_ImmutablePartInternal* KX_ImmutablePartHandle;
typedef struct _KX_MutablePartCollectionInternal* KX_MutablePartCollectionHandle;
typedef struct _KX_ImmutablePartCollectionInternal* KX_ImmutablePartCollectionHandle;
typedef struct _KX_MutablePointCollectionInternal* KX_MutablePointCollectionHandle;
typedef struct _KX_ImmutablePointCollectionInternal* KX_ImmutablePointCollectionHandle;
typedef struct _KX_SpatialReferenceInternal* KX_SpatialReferenceHandle;
typedef struct _KX_UnitInternal* KX_UnitHandle;
typedef struct _KX_DatumTransformationInternal* KX_DatumTransformationHandle;
typedef struct _KX_ArrayInternal* KX_ArrayHandle;
typedef struct _KX_ElementInternal* KX_ElementHandle;
typedef struct _KX_VectorInternal* KX_VectorHandle;
typedef struct _KX_StringInternal* KX_StringHandle;
typedef struct _KX_ErrorInternal* KX_ErrorHandle;

typedef void (*KX_ErrorCallback)(void* user_data, KX_ErrorHandle error);

typedef struct KX_ErrorCallbackRecord {
    KX_ErrorCallback callback;
    void* user_data;
} KX_ErrorCallbackRecord;

/* Engine error codes (KX_Error_getCode). */
enum {
    KX_ERROR_INVALID_ARGUMENT = 2,
    KX_ERROR_INVALID_HANDLE = 3,
    KX_ERROR_NOT_IMPLEMENTED = 4,
    KX_ERROR_GEOMETRY = 5,
    KX_ERROR_JSON = 6,
    KX_ERROR_SPATIAL_REFERENCE = 7,
    KX_ERROR_UNIT = 8,
    KX_ERROR_TRANSFORMATION = 9,
    KX_ERROR_INDEX_OUT_OF_RANGE = 10,
    KX_ERROR_INTERNAL = 99,
    KX_ERROR_INJECTED = 1000, /* reported by the fault-injection test hooks */
    KX_ERROR_CONVERSION = 100000 /* never reported by the engine: the module's failed type narrowing */
};

/* The message of the KX_ERROR_INTERNAL error that reports a failed allocation. */
#define KX_OUT_OF_MEMORY_MESSAGE "Out of memory."

/* Geometry kinds (KX_Geometry_getObjectType). */
enum {
    KX_GEOMETRY_TYPE_UNKNOWN = -1,
    KX_GEOMETRY_TYPE_POINT = 1,
    KX_GEOMETRY_TYPE_ENVELOPE = 2,
    KX_GEOMETRY_TYPE_POLYLINE = 3,
    KX_GEOMETRY_TYPE_POLYGON = 4,
    KX_GEOMETRY_TYPE_MULTIPOINT = 5
};

/* Segment kinds (KX_Segment_getObjectType); circular arcs are elliptic arcs. */
enum { KX_SEGMENT_TYPE_LINE = 1, KX_SEGMENT_TYPE_CUBIC_BEZIER = 2, KX_SEGMENT_TYPE_ELLIPTIC_ARC = 3 };

/* Element value types of vectors (KX_Vector_create). */
enum { KX_ELEMENT_TYPE_FLOAT64 = 43, KX_ELEMENT_TYPE_GEOMETRY = 50 };

/* Datum transformation kinds (KX_DatumTransformation_getObjectType). */
enum { KX_DATUM_TRANSFORMATION_GEOGRAPHIC = 1, KX_DATUM_TRANSFORMATION_HORIZONTAL_VERTICAL = 2 };

/* Geodetic curve types (KX_CURVE_TYPE_Geodesic, ...), linear units (KX_LINEAR_UNIT_Meters, ...)
 * and area units (KX_AREA_UNIT_Hectares, ...), each from its list. */
#define KX_CURVE_TYPE(name, code) KX_CURVE_TYPE_##name = code,
enum {
#include "corvane/curve_types.def"
};
#undef KX_CURVE_TYPE
#define KX_UNIT(name, code, size) KX_LINEAR_UNIT_##name = code,
enum {
#include "corvane/linear_units.def"
};
#undef KX_UNIT
#define KX_UNIT(name, code, size) KX_AREA_UNIT_##name = code,
enum {
#include "corvane/area_units.def"
};
#undef KX_UNIT

/* Yes/no arguments are int32_t 0 or 1 throughout; yes/no results are uint8_t 0 or 1. */

/* The engine is built with hidden visibility; its interface is what these declarations export,
 * wherever the engine's own sources first include this header. */
#pragma GCC visibility push(default)

#define KX_FN(ret, cls, method, params) ret KX_##cls##_##method params;
#define KX_STUB(cls, method) void* KX_##cls##_##method(const KX_ErrorCallbackRecord* rec);
#include "corvane/functions.def"
#undef KX_FN
#undef KX_STUB

/* Test hooks, exported by the engine for its own tests and the module's; the module never calls
 * them. */

/* Live engine objects of one class ("Geometry", "Segment", "MutablePart", ..., or "*" for all). */
int64_t KXT_live_objects(const char* class_name);

/* The next call of the named function (e.g. "KX_Geometry_getHasZ") fails in the given way. */
enum {
    KXT_FAIL_NONE = 0,
    KXT_FAIL_REPORT_ERROR = 1, /* reports an engine error through the record */
    KXT_FAIL_RETURN_NULL = 2,  /* returns a null handle (zero) without an error */
    KXT_FAIL_BAD_CODE = 3,     /* returns a code outside the function's enumeration */
    KXT_FAIL_REPORT_TWICE = 4, /* reports two engine errors ("first", then "second") */
    KXT_FAIL_UNKNOWN_KIND = 5, /* returns -1, the code of a valid object of no known kind */
    KXT_FAIL_SKIP_ONE = 0x100  /* added to a mode: the next call succeeds, the one after fails */
};
void KXT_fail_next(const char* function_name, int32_t mode);

/* Clears every pending fault injection. */
void KXT_reset(void);

/* Reports an engine error through the callback installed by KX_VornixRuntimeEnvironment_setErrorCallback,
 * as the engine does for errors raised outside any call's own record. */
void KXT_raise_global_error(int32_t code, const char* message, const char* additional_message);

#pragma GCC visibility pop

#ifdef __cplusplus
}
#endif

#endif
