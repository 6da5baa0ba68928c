// The overlays of Geometry (self with one geometry argument, in that order) and the operations that
// reduce one geometry; the result's class follows the engine's answer. Those with a collection
// form are rows (operation_row.h) that make both the method and the module's function.
#include "geometry/geometry_engine.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operation_row.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using frame::on_pair;
using frame::on_self;

template <auto Op>
using Alone = Row<no_arguments, alone<Op>>;
using Boundary = Alone<&engine::boundary>;
using Simplify = Alone<&engine::simplify>;
using Normalize = Alone<&engine::normalize_central_meridian>;
using RemoveM = Alone<&frame::retyped<&engine::_remove_m>>;
using RemoveZ = Alone<&frame::retyped<&engine::_remove_z>>;
using RemoveZAndM = Alone<&frame::retyped<&engine::_remove_z_and_m>>;
// intersection_collection(primary, geometries) puts primary first; difference_collection_minus_geom
// subtracts rhs from each item.
using Intersection = Row<fixed_geometry, pairwise<&engine::intersection>, Operands::FixedFirst>;
using Difference = Row<fixed_geometry, pairwise<&engine::difference>, Operands::ItemFirst>;

constexpr binding::Params kUnion{"Geometry.union", {"rhs"}};
constexpr binding::Params kIntersect{"Geometry.intersect", {"other"}};
constexpr binding::Params kDifference{"Geometry.difference", {"other"}};
constexpr binding::Params kSymmetricDifference{"Geometry.symmetric_difference", {"rhs"}};
constexpr binding::Params kBoundary{"Geometry.boundary", {}};
constexpr binding::Params kConvexHull{"Geometry.convex_hull", {}};
constexpr binding::Params kSimplify{"Geometry.simplify", {}};
constexpr binding::Params kNormalize{"Geometry.normalize_central_meridian", {}};
constexpr binding::Params kRemoveM{"Geometry.remove_m", {}};
constexpr binding::Params kRemoveZ{"Geometry.remove_z", {}};
constexpr binding::Params kRemoveZAndM{"Geometry.remove_z_and_m", {}};

#define COLLECTION_ARG "Args:\n    geometries: an iterable of geometries (Geometry objects, VeltJSON dicts or text).\n"
#define RETURNS_LIST "\nReturns:\n    A list of new geometries, in the order of the input."

constexpr binding::Params kCollectionBoundary{"boundary_collection", {"geometries"}};
constexpr binding::Params kCollectionSimplify{"simplify_collection", {"geometries"}};
constexpr binding::Params kCollectionRemoveM{"remove_m_collection", {"geometries"}};
constexpr binding::Params kCollectionRemoveZ{"remove_z_collection", {"geometries"}};
constexpr binding::Params kCollectionRemoveZM{"remove_z_and_m_collection", {"geometries"}};
constexpr binding::Params kCollectionIntersection{"intersection_collection", {"primary", "geometries"}};
constexpr binding::Params kCollectionDifference{"difference_collection_minus_geom", {"collection", "rhs"}};
constexpr binding::Params kCollectionNormalize{"normalize_central_meridian_collection", {"geometries"}};

constexpr char kCollectionBoundaryDoc[] =
    "boundary_collection(geometries)\n--\n\n"
    "The boundary of each geometry: empty for points and multipoints, the end points of the parts (a "
    "multipoint) for a polyline, the rings as a polyline for a polygon.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kCollectionSimplifyDoc[] =
    "simplify_collection(geometries)\n--\n\n"
    "A topologically simple copy of each geometry.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kCollectionRemoveMDoc[] =
    "remove_m_collection(geometries)\n--\n\n"
    "A copy of each geometry without m values.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kCollectionRemoveZDoc[] =
    "remove_z_collection(geometries)\n--\n\n"
    "A copy of each geometry without z values.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kCollectionRemoveZMDoc[] =
    "remove_z_and_m_collection(geometries)\n--\n\n"
    "A copy of each geometry without z and m values.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kCollectionIntersectionDoc[] =
    "intersection_collection(primary, geometries)\n--\n\n"
    "The intersection of primary with each geometry. Each result has the lower dimension of the two "
    "inputs and is empty when they have no intersection of that dimension.\n\n"
    "Args:\n    primary: a Geometry.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kCollectionDifferenceDoc[] =
    "difference_collection_minus_geom(collection, rhs)\n--\n\n"
    "The parts of each geometry of the collection that are not shared with rhs.\n\n"
    "Args:\n    collection: an iterable of geometries.\n    rhs: the Geometry to subtract.\n" RETURNS_LIST;

#undef COLLECTION_ARG
#undef RETURNS_LIST

constexpr char kIntersectDoc[] =
    "intersect($self, other)\n--\n\n"
    "Constructs the set-theoretic intersection between two geometries.\n\n"
    "The result has the lower of the two inputs' dimensions; where there is no intersection of that "
    "dimension the result is an empty geometry (two crossing polylines give an empty polyline, not the "
    "crossing points). Two areas (polygons, or a polygon and an envelope) give a polygon. Supports true "
    "curves.\n\n"
    "Args:\n    other: the Geometry to intersect with.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kDifferenceDoc[] =
    "difference($self, other)\n--\n\n"
    "Constructs the parts of this geometry that are not in the other geometry. The order matters: "
    "a.difference(b) differs from b.difference(a). The other geometry should have a dimension equal to "
    "or greater than this one's. Supports true curves.\n\n"
    "Args:\n    other: the Geometry to subtract.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kBoundaryDoc[] =
    "boundary($self)\n--\n\n"
    "Constructs the boundary of the geometry: empty for a Point or MultiPoint; for a Polyline a "
    "multipoint of the end points of its parts; for a Polygon a polyline of its outer and inner rings. "
    "Supports true curves.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kConvexHullDoc[] =
    "convex_hull($self)\n--\n\n"
    "Constructs the convex hull: the minimal convex geometry of straight segments enclosing the input. "
    "Where the input has true curves, the hull is still made of straight segments.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kRemoveMDoc[] =
    "remove_m($self)\n--\n\n"
    "Constructs a copy of the geometry without m-values; its has_m is false. Supports true curves.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kRemoveZDoc[] =
    "remove_z($self)\n--\n\n"
    "Constructs a copy of the geometry without z-coordinates and m-values; its has_z and has_m are both "
    "false. Supports true curves.\n\n"
    "Returns:\n    A new geometry.";

}  // namespace

std::vector<PyMethodDef> overlay_methods() {
    return {
        binding::method<kUnion, on_pair<&engine::union_>>("union($self, rhs)\n--\n\n"),
        binding::method<kIntersect, Intersection::method>(kIntersectDoc),
        binding::method<kDifference, Difference::method>(kDifferenceDoc),
        binding::method<kSymmetricDifference, on_pair<&engine::symmetric_difference>>(
            "symmetric_difference($self, rhs)\n--\n\n"),
        binding::method<kBoundary, Boundary::method>(kBoundaryDoc),
        binding::method<kConvexHull, on_self<&engine::convex_hull>>(kConvexHullDoc),
        binding::method<kSimplify, Simplify::method>("simplify($self)\n--\n\n"),
        binding::method<kNormalize, Normalize::method>(
            "normalize_central_meridian($self)\n--\n\n"),
        binding::method<kRemoveM, RemoveM::method>(kRemoveMDoc),
        binding::method<kRemoveZ, RemoveZ::method>(kRemoveZDoc),
        binding::method<kRemoveZAndM, RemoveZAndM::method>("remove_z_and_m($self)\n--\n\n"),
    };
}

std::vector<PyMethodDef> overlay_functions() {
    return {
        binding::function<kCollectionBoundary, Boundary::collection>(kCollectionBoundaryDoc),
        binding::function<kCollectionSimplify, Simplify::collection>(kCollectionSimplifyDoc),
        binding::function<kCollectionRemoveM, RemoveM::collection>(kCollectionRemoveMDoc),
        binding::function<kCollectionRemoveZ, RemoveZ::collection>(kCollectionRemoveZDoc),
        binding::function<kCollectionRemoveZM, RemoveZAndM::collection>(kCollectionRemoveZMDoc),
        binding::function<kCollectionIntersection, Intersection::collection_last>(kCollectionIntersectionDoc),
        binding::function<kCollectionDifference, Difference::collection>(kCollectionDifferenceDoc),
        binding::function<kCollectionNormalize, Normalize::collection>(
            "normalize_central_meridian_collection(geometries)\n--\n\n"),
    };
}

}  // namespace vornix::python::operations
