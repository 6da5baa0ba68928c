// The transforms of one geometry: z and m set everywhere, move, scale, rotate, generalize, clip
// and projection. Arguments are checked in signature order before `self` is converted; the
// engine objects made from arguments are destroyed before `self`'s engine geometry. Those with a
// collection form are rows (operation_row.h) that make both the method and the module's function.
#include <optional>

#include "geometry/geometry_engine.h"
#include "python/core_wrappers/spatial_reference.h"
#include "python/operations/datum_transformation.h"
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
using frame::Nullable;
using projection::PyDatumTransformation;

// The values of set_m/set_z/set_z_and_m and move_relative, as given.
struct Values {
    double first;
    double second;
};
PyResult<Values> one_value(double value) { return Values{value, 0.0}; }
PyResult<Values> two_values(double first, double second) { return Values{first, second}; }

auto with_m(const GeometryOwned& g, const Values& v) { return engine::set_m(g, v.first); }
auto with_z(const GeometryOwned& g, const Values& v) { return engine::set_z(g, v.first); }
auto with_z_and_m(const GeometryOwned& g, const Values& v) { return engine::set_z_and_m(g, v.first, v.second); }
auto moved(const GeometryOwned& g, const Values& v) { return engine::move_relative(g, v.first, v.second); }

using SetM = Row<one_value, with_m>;
using SetZ = Row<one_value, with_z>;
using SetZAndM = Row<two_values, with_z_and_m>;
using Move = Row<two_values, moved>;

// The factors or the angle, and the origin's engine point (none for None).
struct AboutOrigin {
    Values values;
    std::optional<::geometry::point::Point> origin;
    const ::geometry::point::Point* point() const { return origin ? &*origin : nullptr; }
};
PyResult<AboutOrigin> about(Values values, Nullable<PyPoint> origin) {
    auto point = frame::origin_point(origin);
    if (!point) return fail(std::move(point.error()));
    return AboutOrigin{values, std::move(*point)};
}
PyResult<AboutOrigin> factors(double scale_x, double scale_y, Nullable<PyPoint> origin) {
    return about({scale_x, scale_y}, origin);
}
PyResult<AboutOrigin> angle(double degrees, Nullable<PyPoint> origin) { return about({degrees, 0.0}, origin); }

auto scaled(const GeometryOwned& g, const AboutOrigin& a) {
    return engine::scale(g, a.point(), a.values.first, a.values.second);
}
auto rotated(const GeometryOwned& g, const AboutOrigin& a) { return engine::rotate(g, a.point(), a.values.first); }

using Scale = Row<factors, scaled>;
using Rotate = Row<angle, rotated>;

// The method's flag may be omitted; the collection function's must be given.
struct Generalization {
    double max_offset;
    bool remove_degenerate_parts;
};
PyResult<Generalization> method_generalization(double max_offset, std::optional<frame::Flag> remove) {
    return Generalization{max_offset, remove.value_or(frame::Flag{false}).value};
}
PyResult<Generalization> collection_generalization(double max_deviation, bool remove) {
    return Generalization{max_deviation, remove};
}
auto generalized(const GeometryOwned& g, const Generalization& how) {
    return engine::generalize(g, how.max_offset, how.remove_degenerate_parts);
}

using Generalize = Row<method_generalization, generalized>;
using GeneralizeCollection = Row<collection_generalization, generalized>;

PyResult<::geometry::envelope::Envelope> clipper(PyEnvelope* envelope) { return frame::engine_envelope(*envelope); }
auto clipped(const GeometryOwned& g, const ::geometry::envelope::Envelope& envelope) { return engine::clip(g, envelope); }

using Clip = Row<clipper, clipped>;

// A projection's target, with the datum transformation when one is given. The engine reference is
// made before `self` (or the items) and outlives the results' conversion. Every projected geometry
// carries the target (the engine's contract), so a collection reads its model form once.
struct Target {
    ::geometry::spatial_reference::SpatialReference reference;
    PyDatumTransformation* transformation = nullptr;  // the caller's argument, alive for the call

    std::optional<core::geometry::SpatialReference> results_reference() const {
        return core::geometry::sr_convert(reference);
    }
};
PyResult<Target> target(PyObject* spatial_reference) {
    auto sr = geom_sr_from_py(spatial_reference);
    if (!sr) return fail(std::move(sr.error()));
    return Target{std::move(*sr)};
}
PyResult<Target> target_through(PyObject* spatial_reference, PyDatumTransformation* transformation) {
    auto made = target(spatial_reference);
    if (made) made->transformation = transformation;
    return made;
}
auto projected(const GeometryOwned& g, const Target& to) {
    if (to.transformation != nullptr)
        return engine::project_with_transformation(g, to.reference, to.transformation->transformation);
    return engine::project(g, to.reference);
}

using Project = Row<target, projected, Operands::ItemFirst, Steps::ArgumentsFirst>;
using ProjectThrough = Row<target_through, projected, Operands::ItemFirst, Steps::ArgumentsFirst>;

constexpr binding::Params kSetM{"Geometry.set_m", {"m"}};
constexpr binding::Params kSetZ{"Geometry.set_z", {"z"}};
constexpr binding::Params kSetZAndM{"Geometry.set_z_and_m", {"z", "m"}};
constexpr binding::Params kMove{"Geometry.move_relative", {"delta_x", "delta_y"}};
constexpr binding::Params kScale{"Geometry.scale", {"scale_x", "scale_y", "origin"}};
constexpr binding::Params kRotate{"Geometry.rotate", {"angle", "origin"}};
constexpr binding::Params kGeneralize{"Geometry.generalize", {"max_offset", "remove_degenerate_parts"}};
constexpr binding::Params kClip{"Geometry.clip", {"env"}};
constexpr binding::Params kProject{"Geometry.project", {"spatial_reference"}};
constexpr binding::Params kProjectWith{"Geometry.project_with_transformation", {"spatial_reference", "transformation"}};
constexpr binding::Params kProjectCollection{"project_collection", {"geometries", "spatial_reference"}};
constexpr binding::Params kProjectCollectionWith{"project_collection_with_transformation",
                                                 {"geometries", "spatial_reference", "datum_transformation"}};

#define COLLECTION_ARG "Args:\n    geometries: an iterable of geometries (Geometry objects, VeltJSON dicts or text).\n"
#define RETURNS_LIST "\nReturns:\n    A list of new geometries, in the order of the input."

constexpr binding::Params kCollectionClip{"clip_collection", {"geometries", "envelope"}};
constexpr binding::Params kCollectionScale{"scale_collection", {"geometries", "scale_x", "scale_y", "origin"}};
constexpr binding::Params kCollectionRotate{"rotate_collection", {"geometries", "angle", "origin"}};
constexpr binding::Params kCollectionMove{"move_relative_collection", {"geometries", "delta_x", "delta_y"}};
constexpr binding::Params kCollectionSetM{"set_m_collection", {"m", "geometries"}};
constexpr binding::Params kCollectionSetZ{"set_z_collection", {"z", "geometries"}};
constexpr binding::Params kCollectionSetZM{"set_z_and_m_collection", {"z", "m", "geometries"}};
constexpr binding::Params kCollectionGeneralize{"generalize_collection",
                                      {"geometries", "max_deviation", "remove_degenerate_parts"}};

constexpr char kCollectionClipDoc[] =
    "clip_collection(geometries, envelope)\n--\n\n"
    "The part of each geometry that lies inside the envelope: an empty geometry when none of it lies "
    "inside, the whole geometry when all of it does.\n\n" COLLECTION_ARG "    envelope: the clipping Envelope.\n"
    RETURNS_LIST;
constexpr char kCollectionScaleDoc[] =
    "scale_collection(geometries, scale_x, scale_y, origin)\n--\n\n"
    "Each geometry scaled by scale_x and scale_y about the origin. An origin in another spatial reference "
    "is reprojected first; with origin None each geometry is scaled about the centre of its own extent.\n\n"
    COLLECTION_ARG "    scale_x: the factor along x.\n    scale_y: the factor along y.\n"
    "    origin: a Point or None.\n" RETURNS_LIST;
constexpr char kCollectionRotateDoc[] =
    "rotate_collection(geometries, angle, origin)\n--\n\n"
    "Each geometry rotated counterclockwise by angle degrees (taken modulo 360) about the origin. An "
    "origin in another spatial reference is reprojected first; with origin None each geometry is rotated "
    "about the centre of its own extent.\n\n" COLLECTION_ARG "    angle: degrees.\n    origin: a Point or None.\n"
    RETURNS_LIST;
constexpr char kCollectionMoveDoc[] =
    "move_relative_collection(geometries, delta_x, delta_y)\n--\n\n"
    "Each geometry moved by delta_x and delta_y, in the units of its spatial reference.\n\n" COLLECTION_ARG
    "    delta_x: the shift along x.\n    delta_y: the shift along y.\n" RETURNS_LIST;
constexpr char kCollectionSetMDoc[] =
    "set_m_collection(m, geometries)\n--\n\n"
    "A copy of each geometry with the m value set at every vertex.\n\n"
    "Args:\n    m: the m value.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kCollectionSetZDoc[] =
    "set_z_collection(z, geometries)\n--\n\n"
    "A copy of each geometry with the z value set at every vertex.\n\n"
    "Args:\n    z: the z value.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kCollectionSetZMDoc[] =
    "set_z_and_m_collection(z, m, geometries)\n--\n\n"
    "A copy of each geometry with the z and m values set at every vertex.\n\n"
    "Args:\n    z: the z value.\n    m: the m value.\n    geometries: an iterable of geometries.\n" RETURNS_LIST;
constexpr char kCollectionGeneralizeDoc[] =
    "generalize_collection(geometries, max_deviation, remove_degenerate_parts)\n--\n\n"
    "Each geometry generalized by the Douglas-Peucker method: vertices are removed while the result stays "
    "within max_deviation (in the units of the spatial reference) of the original. Points and multipoints "
    "are left unchanged; an envelope becomes a polygon first.\n\n" COLLECTION_ARG
    "    max_deviation: the largest allowed offset.\n    remove_degenerate_parts: a bool.\n" RETURNS_LIST;

#undef COLLECTION_ARG
#undef RETURNS_LIST

constexpr char kMoveDoc[] =
    "move_relative($self, delta_x, delta_y)\n--\n\n"
    "Moves the geometry by the given distances along the x and y axes, in the units of the geometry's "
    "spatial reference. The move is planar, so it is inaccurate in an unsuitable (for instance "
    "geographic) spatial reference. Supports true curves.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kScaleDoc[] =
    "scale($self, scale_x, scale_y, origin)\n--\n\n"
    "Scales the geometry by factors along the x and y axes. A factor greater than 1 enlarges, one between "
    "0 and 1 shrinks, 0 or a negative factor reflects across the origin's axes, and -1 reflects without "
    "resizing. An origin in another spatial reference is reprojected with the default transformation; "
    "with origin None or an empty point the centre of the geometry's extent is used. Scaling a point about "
    "itself gives the same point. Supports true curves.\n\n"
    "Args:\n    scale_x: the factor along x.\n    scale_y: the factor along y.\n"
    "    origin: a Point, or None.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kRotateDoc[] =
    "rotate($self, angle, origin)\n--\n\n"
    "Rotates the geometry about the origin by an angle in degrees, counterclockwise for positive values, "
    "taken modulo 360 (540 acts as 180). An Envelope gives a Polygon; other types keep their type. An "
    "origin in another spatial reference is reprojected with the default transformation; with origin None "
    "or an empty point the centre of the geometry's extent is used. Supports true curves.\n\n"
    "Args:\n    angle: degrees.\n    origin: a Point, or None.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kGeneralizeDoc[] =
    "generalize($self, max_offset, remove_degenerate_parts=False)\n--\n\n"
    "Removes vertices by the Douglas-Peucker method. A Point or MultiPoint is left unchanged; an Envelope "
    "becomes a generalized Polygon. Curves are accepted and densified where needed.\n\n"
    "Args:\n    max_offset: the largest offset of the result from the input, in the units of the geometry's "
    "spatial reference.\n"
    "    remove_degenerate_parts: when True, parts that are degenerate and undesired for drawing are "
    "removed; False by default.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kClipDoc[] =
    "clip($self, env)\n--\n\n"
    "Constructs the part of the geometry inside the envelope: an empty geometry when nothing lies inside, "
    "the whole geometry when all of it does. Supports true curves.\n\n"
    "Args:\n    env: the Envelope to clip to.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kProjectDoc[] =
    "project($self, spatial_reference)\n--\n\n"
    "Projects the geometry into another spatial reference, applying a default best-choice datum "
    "transformation. Z-values are transformed when both spatial references have a vertical coordinate "
    "system. A geometry without a spatial reference is not projected: it is returned as an identical "
    "geometry with the given spatial reference. Supports true curves.\n\n"
    "Args:\n    spatial_reference: a SpatialReference, or a dict in its layout.\n\n"
    "Returns:\n    A new geometry.";
constexpr char kProjectWithDoc[] =
    "project_with_transformation($self, spatial_reference, transformation)\n--\n\n"
    "Projects the geometry into another spatial reference through the given datum transformation, for a "
    "change of datum where the default transformation is not wanted. For z-values with vertical "
    "coordinate systems on both sides a horizontal-vertical transformation is used. A geometry without a "
    "spatial reference is returned unprojected with the given spatial reference.\n\n"
    "Args:\n    spatial_reference: a SpatialReference, or a dict in its layout.\n"
    "    transformation: a DatumTransformation.\n\n"
    "Returns:\n    A new geometry.";

constexpr char kProjectCollectionDoc[] =
    "project_collection(geometries, spatial_reference)\n--\n\n"
    "Projects each geometry into the spatial reference, as Geometry.project does.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    spatial_reference: a SpatialReference or dict.\n\n"
    "Returns:\n    A list of new geometries, in the order of the input.";
constexpr char kProjectCollectionWithDoc[] =
    "project_collection_with_transformation(geometries, spatial_reference, datum_transformation)\n--\n\n"
    "Projects each geometry into the spatial reference with the datum transformation, as "
    "Geometry.project_with_transformation does.\n\n"
    "Args:\n    geometries: an iterable of geometries.\n    spatial_reference: a SpatialReference or dict.\n"
    "    datum_transformation: a DatumTransformation.\n\n"
    "Returns:\n    A list of new geometries, in the order of the input.";

}  // namespace

std::vector<PyMethodDef> transform_methods() {
    return {
        binding::method<kSetM, SetM::method>("set_m($self, m)\n--\n\n"),
        binding::method<kSetZ, SetZ::method>("set_z($self, z)\n--\n\n"),
        binding::method<kSetZAndM, SetZAndM::method>("set_z_and_m($self, z, m)\n--\n\n"),
        binding::method<kMove, Move::method>(kMoveDoc),
        binding::method<kScale, Scale::method>(kScaleDoc),
        binding::method<kRotate, Rotate::method>(kRotateDoc),
        binding::method<kGeneralize, Generalize::method>(kGeneralizeDoc),
        binding::method<kClip, Clip::method>(kClipDoc),
        binding::method<kProject, Project::method>(kProjectDoc),
        binding::method<kProjectWith, ProjectThrough::method>(kProjectWithDoc),
    };
}

std::vector<PyMethodDef> transform_functions() {
    return {
        binding::function<kCollectionClip, Clip::collection>(kCollectionClipDoc),
        binding::function<kCollectionScale, Scale::collection>(kCollectionScaleDoc),
        binding::function<kCollectionRotate, Rotate::collection>(kCollectionRotateDoc),
        binding::function<kCollectionMove, Move::collection>(kCollectionMoveDoc),
        binding::function<kCollectionSetM, SetM::collection_last>(kCollectionSetMDoc),
        binding::function<kCollectionSetZ, SetZ::collection_last>(kCollectionSetZDoc),
        binding::function<kCollectionSetZM, SetZAndM::collection_last>(kCollectionSetZMDoc),
        binding::function<kCollectionGeneralize, GeneralizeCollection::collection>(kCollectionGeneralizeDoc),
    };
}

std::vector<PyMethodDef> projection_functions() {
    return {
        binding::function<kProjectCollection, Project::collection>(kProjectCollectionDoc),
        binding::function<kProjectCollectionWith, ProjectThrough::collection>(kProjectCollectionWithDoc),
    };
}

}  // namespace vornix::python::operations
