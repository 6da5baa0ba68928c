// The per-item geometry maps: the fixed arguments checked and made engine objects once, then one
// engine operation per item of the iterable, the results becoming Python objects at the end.
#include "geometry/geometry_engine.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/point.h"
#include "python/core_wrappers/polyline.h"
#include "python/operations/collection_functions.h"
#include "python/operations/iterable_adapter.h"

namespace vornix::collections {

namespace {

namespace engine = ::geometry::geometry_engine;
using binding::fail;
using binding::PyResult;
using binding::Ref;
using python::PyEnvelope;
using python::PyPoint;
using python::PyPolyline;
using python::collections::map_collection;
using python::frame::GeometryOwned;
using python::frame::GeometryParam;
using python::frame::Nullable;

// A map with no fixed argument: Op on each item.
template <auto Op>
PyResult<Ref> each(PyObject* geometries) {
    return map_collection(geometries, [](const GeometryOwned& item) { return Op(item); });
}

PyResult<Ref> clip_collection(PyObject* geometries, PyEnvelope* envelope) {
    auto clipper = python::frame::engine_envelope(*envelope);
    if (!clipper) return fail(std::move(clipper.error()));
    return map_collection(geometries, [&](const GeometryOwned& item) { return engine::clip(item, *clipper); });
}

// The origin's engine point, or none; what `op` needs of it is a pointer.
template <typename Op>
PyResult<Ref> about_origin(PyObject* geometries, Nullable<PyPoint> origin, Op&& op) {
    auto point = python::frame::origin_point(origin);
    if (!point) return fail(std::move(point.error()));
    const ::geometry::point::Point* lent = *point ? &**point : nullptr;
    return map_collection(geometries, [&](const GeometryOwned& item) { return op(item, lent); });
}

PyResult<Ref> scale_collection(PyObject* geometries, double scale_x, double scale_y, Nullable<PyPoint> origin) {
    return about_origin(geometries, origin, [&](const GeometryOwned& item, const ::geometry::point::Point* o) {
        return engine::scale(item, o, scale_x, scale_y);
    });
}

PyResult<Ref> rotate_collection(PyObject* geometries, double angle, Nullable<PyPoint> origin) {
    return about_origin(geometries, origin, [&](const GeometryOwned& item, const ::geometry::point::Point* o) {
        return engine::rotate(item, o, angle);
    });
}

PyResult<Ref> move_relative_collection(PyObject* geometries, double delta_x, double delta_y) {
    return map_collection(geometries,
                          [&](const GeometryOwned& item) { return engine::move_relative(item, delta_x, delta_y); });
}

PyResult<Ref> set_m_collection(double m, PyObject* geometries) {
    return map_collection(geometries, [&](const GeometryOwned& item) { return engine::set_m(item, m); });
}

PyResult<Ref> set_z_collection(double z, PyObject* geometries) {
    return map_collection(geometries, [&](const GeometryOwned& item) { return engine::set_z(item, z); });
}

PyResult<Ref> set_z_and_m_collection(double z, double m, PyObject* geometries) {
    return map_collection(geometries, [&](const GeometryOwned& item) { return engine::set_z_and_m(item, z, m); });
}

PyResult<Ref> generalize_collection(PyObject* geometries, double max_deviation, bool remove_degenerate_parts) {
    return map_collection(geometries, [&](const GeometryOwned& item) {
        return engine::generalize(item, max_deviation, remove_degenerate_parts);
    });
}

// `primary` or `rhs`: its engine geometry, made once, on the side the engine operation names.
template <typename Op>
PyResult<Ref> against(GeometryParam fixed, PyObject* geometries, Op&& op) {
    auto geometry = python::frame::engine_geometry(fixed.object);
    if (!geometry) return fail(std::move(geometry.error()));
    return map_collection(geometries, [&](const GeometryOwned& item) { return op(*geometry, item); });
}

PyResult<Ref> intersection_collection(GeometryParam primary, PyObject* geometries) {
    return against(primary, geometries,
                   [](const GeometryOwned& p, const GeometryOwned& item) { return engine::intersection(p, item); });
}

PyResult<Ref> intersections_collection(GeometryParam primary, PyObject* geometries) {
    return against(primary, geometries,
                   [](const GeometryOwned& p, const GeometryOwned& item) { return engine::intersections(p, item); });
}

PyResult<Ref> difference_collection_minus_geom(PyObject* collection, GeometryParam rhs) {
    return against(rhs, collection,
                   [](const GeometryOwned& r, const GeometryOwned& item) { return engine::difference(item, r); });
}

PyResult<Ref> cut_collection(PyObject* geometries, PyPolyline* cutter) {
    auto line = python::raise_geo(PyPolyline::get_geom(*cutter));
    if (!line) return fail(std::move(line.error()));
    return map_collection(geometries, [&](const GeometryOwned& item) { return engine::cut(item, *line); });
}


constexpr binding::Params kClip{"clip_collection", {"geometries", "envelope"}};
constexpr binding::Params kScale{"scale_collection", {"geometries", "scale_x", "scale_y", "origin"}};
constexpr binding::Params kRotate{"rotate_collection", {"geometries", "angle", "origin"}};
constexpr binding::Params kMove{"move_relative_collection", {"geometries", "delta_x", "delta_y"}};
constexpr binding::Params kSetM{"set_m_collection", {"m", "geometries"}};
constexpr binding::Params kSetZ{"set_z_collection", {"z", "geometries"}};
constexpr binding::Params kSetZM{"set_z_and_m_collection", {"z", "m", "geometries"}};
constexpr binding::Params kGeneralize{"generalize_collection",
                                      {"geometries", "max_deviation", "remove_degenerate_parts"}};
constexpr binding::Params kBoundary{"boundary_collection", {"geometries"}};
constexpr binding::Params kSimplify{"simplify_collection", {"geometries"}};
constexpr binding::Params kRemoveM{"remove_m_collection", {"geometries"}};
constexpr binding::Params kRemoveZ{"remove_z_collection", {"geometries"}};
constexpr binding::Params kRemoveZM{"remove_z_and_m_collection", {"geometries"}};
constexpr binding::Params kIntersection{"intersection_collection", {"primary", "geometries"}};
constexpr binding::Params kDifference{"difference_collection_minus_geom", {"collection", "rhs"}};
constexpr binding::Params kNormalize{"normalize_central_meridian_collection", {"geometries"}};
constexpr binding::Params kCut{"cut_collection", {"geometries", "cutter"}};
constexpr binding::Params kIntersections{"intersections_collection", {"primary", "geometries"}};

#define COLLECTION_ARG "Args:\n    geometries: an iterable of geometries (Geometry objects, VeltJSON dicts or text).\n"
#define RETURNS_LIST "\nReturns:\n    A list of new geometries, in the order of the input."

constexpr char kClipDoc[] =
    "clip_collection(geometries, envelope)\n--\n\n"
    "The part of each geometry that lies inside the envelope: an empty geometry when none of it lies "
    "inside, the whole geometry when all of it does.\n\n" COLLECTION_ARG "    envelope: the clipping Envelope.\n"
    RETURNS_LIST;
constexpr char kScaleDoc[] =
    "scale_collection(geometries, scale_x, scale_y, origin)\n--\n\n"
    "Each geometry scaled by scale_x and scale_y about the origin. An origin in another spatial reference "
    "is reprojected first; with origin None each geometry is scaled about the centre of its own extent.\n\n"
    COLLECTION_ARG "    scale_x: the factor along x.\n    scale_y: the factor along y.\n"
    "    origin: a Point or None.\n" RETURNS_LIST;
constexpr char kRotateDoc[] =
    "rotate_collection(geometries, angle, origin)\n--\n\n"
    "Each geometry rotated counterclockwise by angle degrees (taken modulo 360) about the origin. An "
    "origin in another spatial reference is reprojected first; with origin None each geometry is rotated "
    "about the centre of its own extent.\n\n" COLLECTION_ARG "    angle: degrees.\n    origin: a Point or None.\n"
    RETURNS_LIST;
constexpr char kMoveDoc[] =
    "move_relative_collection(geometries, delta_x, delta_y)\n--\n\n"
    "Each geometry moved by delta_x and delta_y, in the units of its spatial reference.\n\n" COLLECTION_ARG
    "    delta_x: the shift along x.\n    delta_y: the shift along y.\n" RETURNS_LIST;
constexpr char kSetMDoc[] =
    "set_m_collection(m, geometries)\n--\n\n"
    "A copy of each geometry with the m value set at every vertex.\n\n"
    "Args:\n    m: the m value.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kSetZDoc[] =
    "set_z_collection(z, geometries)\n--\n\n"
    "A copy of each geometry with the z value set at every vertex.\n\n"
    "Args:\n    z: the z value.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kSetZMDoc[] =
    "set_z_and_m_collection(z, m, geometries)\n--\n\n"
    "A copy of each geometry with the z and m values set at every vertex.\n\n"
    "Args:\n    z: the z value.\n    m: the m value.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kGeneralizeDoc[] =
    "generalize_collection(geometries, max_deviation, remove_degenerate_parts)\n--\n\n"
    "Each geometry generalized by the Douglas-Peucker method: vertices are removed while the result stays "
    "within max_deviation (in the units of the spatial reference) of the original. Points and multipoints "
    "are left unchanged; an envelope becomes a polygon first.\n\n" COLLECTION_ARG
    "    max_deviation: the largest allowed offset.\n    remove_degenerate_parts: a bool.\n" RETURNS_LIST;
constexpr char kBoundaryDoc[] =
    "boundary_collection(geometries)\n--\n\n"
    "The boundary of each geometry: empty for points and multipoints, the end points of the parts (a "
    "multipoint) for a polyline, the rings as a polyline for a polygon.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kSimplifyDoc[] =
    "simplify_collection(geometries)\n--\n\n"
    "A topologically simple copy of each geometry.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kRemoveMDoc[] =
    "remove_m_collection(geometries)\n--\n\n"
    "A copy of each geometry without m values.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kRemoveZDoc[] =
    "remove_z_collection(geometries)\n--\n\n"
    "A copy of each geometry without z values.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kRemoveZMDoc[] =
    "remove_z_and_m_collection(geometries)\n--\n\n"
    "A copy of each geometry without z and m values.\n\n" COLLECTION_ARG RETURNS_LIST;
constexpr char kIntersectionDoc[] =
    "intersection_collection(primary, geometries)\n--\n\n"
    "The intersection of primary with each geometry. Each result has the lower dimension of the two "
    "inputs and is empty when they have no intersection of that dimension.\n\n"
    "Args:\n    primary: a Geometry.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kDifferenceDoc[] =
    "difference_collection_minus_geom(collection, rhs)\n--\n\n"
    "The parts of each geometry of the collection that are not shared with rhs.\n\n"
    "Args:\n    collection: an iterable of geometries.\n    rhs: the Geometry to subtract.\n" RETURNS_LIST;
constexpr char kCutDoc[] =
    "cut_collection(geometries, cutter)\n--\n\n"
    "Each geometry cut by the cutter polyline. Per geometry, all left cuts go into the first piece and all "
    "right cuts into the second; uncut parts follow as further pieces; a geometry that is not cut gives "
    "no pieces.\n\n" COLLECTION_ARG "    cutter: a Polyline.\n\n"
    "Returns:\n    One list of every piece, the pieces of the first geometry first.";
constexpr char kIntersectionsDoc[] =
    "intersections_collection(primary, geometries)\n--\n\n"
    "The intersections of primary with each geometry: per geometry one piece for each dimension in which "
    "the two intersect.\n\n"
    "Args:\n    primary: a Geometry.\n    geometries: an iterable of geometries.\n\n"
    "Returns:\n    One list of every piece, the pieces of the first geometry first.";

#undef COLLECTION_ARG
#undef RETURNS_LIST

}  // namespace

std::vector<PyMethodDef> map_functions() {
    return {
        binding::function<kClip, clip_collection>(kClipDoc),
        binding::function<kScale, scale_collection>(kScaleDoc),
        binding::function<kRotate, rotate_collection>(kRotateDoc),
        binding::function<kMove, move_relative_collection>(kMoveDoc),
        binding::function<kSetM, set_m_collection>(kSetMDoc),
        binding::function<kSetZ, set_z_collection>(kSetZDoc),
        binding::function<kSetZM, set_z_and_m_collection>(kSetZMDoc),
        binding::function<kGeneralize, generalize_collection>(kGeneralizeDoc),
        binding::function<kBoundary, each<&engine::boundary>>(kBoundaryDoc),
        binding::function<kSimplify, each<&engine::simplify>>(kSimplifyDoc),
        binding::function<kRemoveM, each<&python::frame::retyped<&engine::_remove_m>>>(kRemoveMDoc),
        binding::function<kRemoveZ, each<&python::frame::retyped<&engine::_remove_z>>>(kRemoveZDoc),
        binding::function<kRemoveZM, each<&python::frame::retyped<&engine::_remove_z_and_m>>>(kRemoveZMDoc),
        binding::function<kIntersection, intersection_collection>(kIntersectionDoc),
        binding::function<kDifference, difference_collection_minus_geom>(kDifferenceDoc),
        binding::function<kNormalize, each<&engine::normalize_central_meridian>>(
            "normalize_central_meridian_collection(geometries)\n--\n\n"),
        binding::function<kCut, cut_collection>(kCutDoc),
        binding::function<kIntersections, intersections_collection>(kIntersectionsDoc),
    };
}

}  // namespace vornix::collections
