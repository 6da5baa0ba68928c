// The relation tests of Geometry: one engine predicate on (self, argument), in that order.
#include <string_view>

#include "geometry/geometry_engine.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::PyResult;
using binding::Ref;
using frame::GeometryOwned;
using frame::GeometryParam;

// The pattern goes to the engine unexamined, except for a NUL, which the engine's C string would
// cut the pattern at: that is refused before either geometry is converted.
PyResult<Ref> relate(PyObject* self, GeometryParam other, PyObject* relation) {
    auto text = binding::extract<std::string_view>(relation, "relation");
    if (!text) return binding::fail(std::move(text.error()));
    if (auto refused = frame::refuse_nul(relation, *text, "The relation pattern"); !refused)
        return binding::fail(std::move(refused.error()));
    return frame::apply(self, other, [&](const GeometryOwned& a, const GeometryOwned& b) {
        return engine::relate(a, b, *text);
    });
}

constexpr binding::Params kContains{"Geometry.contains", {"other"}};
constexpr binding::Params kCrosses{"Geometry.crosses", {"rhs"}};
constexpr binding::Params kDisjoint{"Geometry.disjoint", {"other"}};
constexpr binding::Params kEquals{"Geometry.equals", {"other"}};
constexpr binding::Params kIntersects{"Geometry.intersects", {"other"}};
constexpr binding::Params kOverlaps{"Geometry.overlaps", {"other"}};
constexpr binding::Params kTouches{"Geometry.touches", {"rhs"}};
constexpr binding::Params kWithin{"Geometry.within", {"rhs"}};
constexpr binding::Params kRelate{"Geometry.relate", {"other", "relation"}};

#define DE9IM "The test follows the Dimensionally Extended 9 Intersection Model (DE-9IM) and supports true curves.\n\n"

constexpr char kContainsDoc[] =
    "contains($self, other)\n--\n\n"
    "Indicates if this geometry contains the other geometry.\n\n" DE9IM
    "Args:\n    other: the Geometry that may lie inside this one.\n\n"
    "Returns:\n    True when this geometry contains other.";
constexpr char kDisjointDoc[] =
    "disjoint($self, other)\n--\n\n"
    "Indicates if the two geometries are disjoint: their boundaries and interiors do not intersect.\n\n" DE9IM
    "Args:\n    other: the Geometry to test against.\n\n"
    "Returns:\n    True when the geometries are disjoint.";
constexpr char kEqualsDoc[] =
    "equals($self, other)\n--\n\n"
    "Indicates if the two geometries are equal: they have the same spatial reference, the same geometry "
    "type and the same points, and occupy the same space.\n\n" DE9IM
    "Args:\n    other: the Geometry to compare with.\n\n"
    "Returns:\n    True when the geometries are equal.";
constexpr char kIntersectsDoc[] =
    "intersects($self, other)\n--\n\n"
    "Indicates if the two geometries share any portion of space: one contains or lies within the other, "
    "or they cross, touch or overlap.\n\n" DE9IM
    "Args:\n    other: the Geometry to test against.\n\n"
    "Returns:\n    True when the geometries intersect.";
constexpr char kOverlapsDoc[] =
    "overlaps($self, other)\n--\n\n"
    "Indicates if the two geometries overlap: they have the same dimension and their intersection has that "
    "same dimension. Two polygons that meet in one point do not overlap.\n\n" DE9IM
    "Args:\n    other: the Geometry to test against.\n\n"
    "Returns:\n    True when the geometries overlap.";
constexpr char kRelateDoc[] =
    "relate($self, other, relation)\n--\n\n"
    "Indicates if the two geometries satisfy the relation given as a DE-9IM pattern.\n\n" DE9IM
    "The pattern has nine characters, each one of T, F, *, 0, 1 and 2. The patterns \"TTTFFTFFT\", "
    "\"T*****FF*\" and \"102FF*FF*\" each test that a polygon completely contains a line.\n\n"
    "Args:\n    other: the Geometry to relate to.\n    relation: the DE-9IM pattern, a str.\n\n"
    "Returns:\n    True when the pair satisfies the pattern.";

#undef DE9IM

}  // namespace

std::vector<PyMethodDef> relation_methods() {
    return {
        binding::method<kContains, frame::on_pair<&engine::contains>>(kContainsDoc),
        binding::method<kCrosses, frame::on_pair<&engine::crosses>>("crosses($self, rhs)\n--\n\n"),
        binding::method<kDisjoint, frame::on_pair<&engine::disjoint>>(kDisjointDoc),
        binding::method<kEquals, frame::on_pair<&engine::equals>>(kEqualsDoc),
        binding::method<kIntersects, frame::on_pair<&engine::intersects>>(kIntersectsDoc),
        binding::method<kOverlaps, frame::on_pair<&engine::overlaps>>(kOverlapsDoc),
        binding::method<kTouches, frame::on_pair<&engine::touches>>("touches($self, rhs)\n--\n\n"),
        binding::method<kWithin, frame::on_pair<&engine::within>>("within($self, rhs)\n--\n\n"),
        binding::method<kRelate, relate>(kRelateDoc),
    };
}

}  // namespace vornix::python::operations
