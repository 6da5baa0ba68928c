// Where a geometry lies: its extent (as a tuple or an Envelope), the centre of the extent, the
// extent of two geometries, the planar distance, two yes/no queries, and the two operations whose
// answer is a list of geometries. Those with a collection form are rows (operation_row.h) that
// make both the method and the module's function.
#include <array>

#include "geometry/geometry_engine.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/polyline.h"
#include "python/operations/operation_frame.h"
#include "python/operations/operation_row.h"
#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using frame::GeometryOwned;
using frame::GeometryParam;

// The engine envelope is destroyed before the geometry; the tuple is made after both.
std::array<double, 4> corners_of(const GeometryOwned& geometry) {
    const auto envelope = geometry.extent();
    return {envelope.x_min(), envelope.y_min(), envelope.x_max(), envelope.y_max()};
}

PyResult<Ref> extent(PyObject* self) { return frame::apply(self, corners_of); }

PyResult<Ref> envelope(PyObject* self) {
    return frame::apply(self, [](const GeometryOwned& g) { return g.extent(); });
}

PyResult<Ref> centroid(PyObject* self) {
    return frame::apply(self, [](const GeometryOwned& g) {
        const auto centre = g.extent().center();
        return std::array<double, 2>{centre.x(), centre.y()};
    });
}

PyResult<Ref> label_point(PyObject* self) {
    return frame::apply(self, [](const GeometryOwned& g) { return g.extent().center(); });
}

PyResult<Ref> has_curves(PyObject* self) {
    return frame::apply(self, [](const GeometryOwned& g) { return g.has_curves(); });
}

// The cutter's engine polyline comes from its model directly (not through its __kxc_geo): for the
// method after `self`, destroyed before `self`'s geometry; for the collection before the items.
PyResult<::geometry::polyline::Polyline> cutter_line(PyPolyline* cutter) {
    return python::raise_geo(PyPolyline::get_geom(*cutter));
}
auto cut_by(const GeometryOwned& g, const ::geometry::polyline::Polyline& line) { return engine::cut(g, line); }

using Cut = Row<cutter_line, cut_by>;
using IsSimple = Row<no_arguments, alone<&engine::is_simple>>;
// distances_from_collection(primary, collection) measures from primary.
using Distance = Row<fixed_geometry, pairwise<&engine::distance>, Operands::FixedFirst>;
// intersections_collection(primary, geometries) puts primary first.
using Intersections = Row<fixed_geometry, pairwise<&engine::intersections>, Operands::FixedFirst>;

constexpr binding::Params kCombineExtents{"Geometry.combine_extents", {"other"}};
constexpr binding::Params kDistanceTo{"Geometry.distance_to", {"other"}};
constexpr binding::Params kIsSimple{"Geometry.is_simple", {}};
constexpr binding::Params kCut{"Geometry.cut", {"cutter"}};
constexpr binding::Params kIntersections{"Geometry.intersections", {"other"}};

#define COLLECTION_ARG "Args:\n    geometries: an iterable of geometries (Geometry objects, VeltJSON dicts or text).\n"

constexpr binding::Params kCollectionCut{"cut_collection", {"geometries", "cutter"}};
constexpr binding::Params kCollectionIntersections{"intersections_collection", {"primary", "geometries"}};

constexpr char kCollectionCutDoc[] =
    "cut_collection(geometries, cutter)\n--\n\n"
    "Each geometry cut by the cutter polyline. Per geometry, all left cuts go into the first piece and all "
    "right cuts into the second; uncut parts follow as further pieces; a geometry that is not cut gives "
    "no pieces.\n\n" COLLECTION_ARG "    cutter: a Polyline.\n\n"
    "Returns:\n    One list of every piece, the pieces of the first geometry first.";
constexpr char kCollectionIntersectionsDoc[] =
    "intersections_collection(primary, geometries)\n--\n\n"
    "The intersections of primary with each geometry: per geometry one piece for each dimension in which "
    "the two intersect.\n\n"
    "Args:\n    primary: a Geometry.\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    One list of every piece, the pieces of the first geometry first.";

constexpr binding::Params kIsSimpleCollection{"is_simple_collection", {"geometries"}};
constexpr binding::Params kDistancesCollection{"distances_from_collection", {"primary", "collection"}};
constexpr char kIsSimpleCollectionDoc[] =
    "is_simple_collection(geometries)\n--\n\n"
    "Whether each geometry is topologically simple.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    A list of bools in the order of the input.";
constexpr char kDistancesCollectionDoc[] =
    "distances_from_collection(primary, collection)\n--\n\n"
    "The planar distance from the primary geometry to each geometry of the collection, in the units of "
    "the geometry's spatial reference; NaN when either geometry is empty.\n\n"
    "Args:\n    primary: a Geometry.\n    collection: an iterable of geometries.\n\n"
    "Returns:\n    A list of floats in the order of the input.";
#undef COLLECTION_ARG

constexpr char kExtentDoc[] = "The extent of the geometry as a tuple (xmin, ymin, xmax, ymax).";
constexpr char kCombineExtentsDoc[] =
    "combine_extents($self, other)\n--\n\n"
    "The extent that encloses both geometries.\n\n"
    "Args:\n    other: the other Geometry.\n\n"
    "Returns:\n    A new Envelope.";
constexpr char kDistanceToDoc[] =
    "distance_to($self, other)\n--\n\n"
    "The planar Euclidean distance between the two geometries, in the units of the spatial reference; NaN "
    "when either geometry is empty.\n\n"
    "Args:\n    other: the other Geometry.\n\n"
    "Returns:\n    A float.";
constexpr char kIsSimpleDoc[] =
    "is_simple($self)\n--\n\n"
    "Indicates if the geometry is topologically simple: simplify() would change nothing. By type:\n"
    "    Point, Envelope: always simple.\n"
    "    MultiPoint: simple when no two points coincide.\n"
    "    Polyline: simple when no vertex repeats the one before it and no part has zero length; a "
    "polyline that crosses itself is simple.\n"
    "    Polygon: simple when it is valid (no ring crosses itself or another), outer rings run clockwise "
    "and holes counterclockwise, no vertex repeats and no part lacks an area.\n\n"
    "Returns:\n    True or False.";
constexpr char kCutDoc[] =
    "cut($self, cutter)\n--\n\n"
    "Cuts the geometry with a polyline. The left cuts come first, the right cuts second, and parts that "
    "were not cut follow as separate geometries. The list is empty when nothing was cut.\n\n"
    "Args:\n    cutter: the Polyline to cut with.\n\n"
    "Returns:\n    A list of geometries.";
constexpr char kIntersectionsDoc[] =
    "intersections($self, other)\n--\n\n"
    "Constructs the intersections of the two geometries: one geometry for each dimension in which they "
    "intersect.\n\n"
    "Args:\n    other: the other Geometry.\n\n"
    "Returns:\n    A list of geometries.";

}  // namespace

std::vector<PyMethodDef> extent_methods() {
    return {
        binding::method<kCombineExtents, frame::on_pair<&engine::combine_extents>>(kCombineExtentsDoc),
        binding::method<kDistanceTo, Distance::method>(kDistanceToDoc),
        binding::method<kIsSimple, IsSimple::method>(kIsSimpleDoc),
        binding::method<kCut, Cut::method>(kCutDoc),
        binding::method<kIntersections, Intersections::method>(kIntersectionsDoc),
    };
}

std::vector<PyMethodDef> extent_functions() {
    return {
        binding::function<kCollectionCut, Cut::collection>(kCollectionCutDoc),
        binding::function<kCollectionIntersections, Intersections::collection_last>(kCollectionIntersectionsDoc),
        binding::function<kIsSimpleCollection, IsSimple::values>(kIsSimpleCollectionDoc),
        binding::function<kDistancesCollection, Distance::values_last>(kDistancesCollectionDoc),
    };
}

std::vector<PyGetSetDef> extent_properties() {
    return {
        binding::getter<extent>("extent", kExtentDoc),
        binding::getter<extent>("geoextent", kExtentDoc),
        binding::getter<envelope>("envelope", "The extent of the geometry as a new Envelope."),
        binding::getter<centroid>("centroid",
                                  "The centre of the geometry's extent as a tuple (x, y); not a centre of mass."),
        binding::getter<label_point>("label_point",
                                     "A Point to label the geometry by: polygons get an interior point, all other "
                                     "geometries the centre of their extent."),
        binding::getter<has_curves>("has_curves", "Indicates if the geometry has true curves."),
    };
}

}  // namespace vornix::python::operations
