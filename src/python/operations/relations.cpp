// The relation tests: one engine predicate each, as a Geometry method on (self, argument) and,
// for most, as a module function over a collection that stops reading at the deciding item.
#include <string_view>

#include "geometry/geometry_engine.h"
#include "python/operations/iterable_adapter.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operation_row.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::PyResult;
using binding::Ref;
using frame::GeometryOwned;
using frame::GeometryParam;

enum class Quantifier { Every, Some };

// The collection form: every-item tests answer False at the first item that fails, some-item
// tests True at the first that holds; the items after it are never read. With the fixed geometry
// first it is converted before iter() of the collection; with the item first (intersects) iter()
// comes first.
template <auto Test, Quantifier Q, Operands Order>
PyResult<bool> over_collection(GeometryParam fixed, PyObject* collection) {
    constexpr bool kItemFirst = Order == Operands::ItemFirst;
    auto inputs = collections::fixed_and_iterator(fixed, collection, kItemFirst);
    if (!inputs) return binding::fail(std::move(inputs.error()));
    constexpr bool kDeciding = Q == Quantifier::Some;
    bool decided = false;
    const auto test = [&](const GeometryOwned& item) -> PyResult<bool> {
        auto holds = kItemFirst ? Test(item, inputs->geometry) : Test(inputs->geometry, item);
        if (!holds) return binding::fail(frame::library_error(holds.error()));
        decided = *holds == kDeciding;
        return !decided;
    };
    auto read = collections::for_each_geometry(collection, inputs->iterator.get(), test);
    if (!read) return binding::fail(std::move(read.error()));
    return decided ? kDeciding : !kDeciding;
}

// One relation written once: its method and its collection function.
template <auto Test, Quantifier Q = Quantifier::Every, Operands Order = Operands::FixedFirst>
struct Relation {
    static constexpr auto method = frame::on_pair<Test>;
    static constexpr auto collection = over_collection<Test, Q, Order>;
};

using Contains = Relation<&engine::contains>;
using Within = Relation<&engine::within>;
using Disjoint = Relation<&engine::disjoint>;
using Crosses = Relation<&engine::crosses, Quantifier::Some>;
using Touches = Relation<&engine::touches, Quantifier::Some>;
using Overlaps = Relation<&engine::overlaps, Quantifier::Some>;
using Intersects = Relation<&engine::intersects, Quantifier::Some, Operands::ItemFirst>;

// The pattern goes to the engine unexamined, except for a NUL, which the engine's C string would
// cut the pattern at: that is refused before either geometry is converted.
PyResult<Ref> relate(PyObject* self, GeometryParam other, PyObject* relation) {
    auto text = binding::extract<std::string_view>(relation, "relation");
    if (!text) return binding::fail(std::move(text.error()));
    if (auto refused = binding::refuse_nul(relation, *text, "The relation pattern"); !refused)
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

constexpr binding::Params kContainsCollection{"contains_collection", {"container", "geometries"}};
constexpr binding::Params kWithinCollection{"within_collection", {"container", "geometries"}};
constexpr binding::Params kDisjointCollection{"disjoint_from_collection", {"primary", "collection"}};
constexpr binding::Params kCrossesCollection{"crosses_collection", {"primary", "collection"}};
constexpr binding::Params kTouchesCollection{"touches_collection", {"primary", "collection"}};
constexpr binding::Params kOverlapsCollection{"overlaps_collection", {"primary", "collection"}};
constexpr binding::Params kIntersectsCollection{"intersects_collection", {"primary", "collection"}};

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

#define ANY_OF(relation)                                                                                    \
    "Indicates if the primary geometry " relation " any geometry of the collection; reading stops at the " \
    "first that it does.\n\n" DE9IM "Args:\n    primary: a Geometry.\n    collection: an iterable of geometries.\n\n" \
    "Returns:\n    A bool; False for an empty collection."

constexpr char kContainsCollectionDoc[] =
    "contains_collection(container, geometries)\n--\n\n"
    "Indicates if the container contains every geometry of the collection; reading stops at the first "
    "that it does not contain.\n\n" DE9IM
    "Args:\n    container: a Geometry.\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    A bool; True for an empty collection.";
constexpr char kWithinCollectionDoc[] =
    "within_collection(container, geometries)\n--\n\n"
    "Indicates if the container lies within every geometry of the collection (each geometry contains the "
    "container); reading stops at the first that does not.\n\n" DE9IM
    "Args:\n    container: a Geometry.\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    A bool; True for an empty collection.";
constexpr char kDisjointCollectionDoc[] =
    "disjoint_from_collection(primary, collection)\n--\n\n"
    "Indicates if the primary geometry is disjoint from every geometry of the collection; reading stops at "
    "the first that it is not disjoint from.\n\n" DE9IM
    "Args:\n    primary: a Geometry.\n    collection: an iterable of geometries.\n\n"
    "Returns:\n    A bool; True for an empty collection.";
constexpr char kCrossesCollectionDoc[] =
    "crosses_collection(primary, collection)\n--\n\n" ANY_OF("crosses")
    "\n\nGeometries in different spatial references give an engine error.";
constexpr char kTouchesCollectionDoc[] = "touches_collection(primary, collection)\n--\n\n" ANY_OF("touches");
constexpr char kOverlapsCollectionDoc[] = "overlaps_collection(primary, collection)\n--\n\n" ANY_OF("overlaps");
constexpr char kIntersectsCollectionDoc[] = "intersects_collection(primary, collection)\n--\n\n" ANY_OF("intersects");
#undef ANY_OF
#undef DE9IM

}  // namespace

std::vector<PyMethodDef> relation_methods() {
    return {
        binding::method<kContains, Contains::method>(kContainsDoc),
        binding::method<kCrosses, Crosses::method>("crosses($self, rhs)\n--\n\n"),
        binding::method<kDisjoint, Disjoint::method>(kDisjointDoc),
        binding::method<kEquals, frame::on_pair<&engine::equals>>(kEqualsDoc),
        binding::method<kIntersects, Intersects::method>(kIntersectsDoc),
        binding::method<kOverlaps, Overlaps::method>(kOverlapsDoc),
        binding::method<kTouches, Touches::method>("touches($self, rhs)\n--\n\n"),
        binding::method<kWithin, Within::method>("within($self, rhs)\n--\n\n"),
        binding::method<kRelate, relate>(kRelateDoc),
    };
}

std::vector<PyMethodDef> relation_functions() {
    return {
        binding::function<kContainsCollection, Contains::collection>(kContainsCollectionDoc),
        binding::function<kWithinCollection, Within::collection>(kWithinCollectionDoc),
        binding::function<kDisjointCollection, Disjoint::collection>(kDisjointCollectionDoc),
        binding::function<kCrossesCollection, Crosses::collection>(kCrossesCollectionDoc),
        binding::function<kTouchesCollection, Touches::collection>(kTouchesCollectionDoc),
        binding::function<kOverlapsCollection, Overlaps::collection>(kOverlapsCollectionDoc),
        binding::function<kIntersectsCollection, Intersects::collection>(kIntersectsCollectionDoc),
    };
}

}  // namespace vornix::python::operations
