// The relation tests of two geometries.
#include "api/handles.h"
#include "ops/relation.h"

namespace {

uint8_t test(const char* name, ops::Relation r, KX_GeometryHandle a, KX_GeometryHandle b,
             const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, name, [&]() -> uint8_t {
        return ops::relation(r, api::geometry(a), api::geometry(b));
    });
}

}  // namespace

extern "C" {

#define KX_RELATION(method, relation)                                                              \
    uint8_t KX_GeometryEngine_##method(KX_GeometryHandle geometry, KX_GeometryHandle other,        \
                                       const KX_ErrorCallbackRecord* rec) {                         \
        return test(__func__, ops::Relation::relation, geometry, other, rec);   \
    }
KX_RELATION(contains, Contains)
KX_RELATION(crosses, Crosses)
KX_RELATION(disjoint, Disjoint)
KX_RELATION(equals, Equals)
KX_RELATION(intersects, Intersects)
KX_RELATION(overlaps, Overlaps)
KX_RELATION(touches, Touches)
KX_RELATION(within, Within)
#undef KX_RELATION

uint8_t KX_GeometryEngine_relate(KX_GeometryHandle geometry, KX_GeometryHandle other, const char* relation,
                                 const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__, [&]() -> uint8_t {
        return ops::relate(api::geometry(geometry), api::geometry(other), relation);
    });
}

}  // extern "C"
