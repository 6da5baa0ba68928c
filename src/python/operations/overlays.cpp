// The overlays of Geometry (self with one geometry argument, in that order) and the operations that
// reduce one geometry; the result's class follows the engine's answer.
#include "geometry/geometry_engine.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using frame::on_pair;
using frame::on_self;

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
        binding::method<kIntersect, on_pair<&engine::intersection>>(kIntersectDoc),
        binding::method<kDifference, on_pair<&engine::difference>>(kDifferenceDoc),
        binding::method<kSymmetricDifference, on_pair<&engine::symmetric_difference>>(
            "symmetric_difference($self, rhs)\n--\n\n"),
        binding::method<kBoundary, on_self<&engine::boundary>>(kBoundaryDoc),
        binding::method<kConvexHull, on_self<&engine::convex_hull>>(kConvexHullDoc),
        binding::method<kSimplify, on_self<&engine::simplify>>("simplify($self)\n--\n\n"),
        binding::method<kNormalize, on_self<&engine::normalize_central_meridian>>(
            "normalize_central_meridian($self)\n--\n\n"),
        binding::method<kRemoveM, on_self<&frame::retyped<&engine::_remove_m>>>(kRemoveMDoc),
        binding::method<kRemoveZ, on_self<&frame::retyped<&engine::_remove_z>>>(kRemoveZDoc),
        binding::method<kRemoveZAndM, on_self<&frame::retyped<&engine::_remove_z_and_m>>>("remove_z_and_m($self)\n--\n\n"),
    };
}

}  // namespace vornix::python::operations
