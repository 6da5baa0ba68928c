// The transforms of one geometry: z and m set everywhere, move, scale, rotate, generalize, clip
// and projection. Arguments are checked in signature order before `self` is converted; the
// engine objects made from arguments are destroyed before `self`'s engine geometry.
#include "geometry/geometry_engine.h"
#include "python/core_wrappers/spatial_reference.h"
#include "python/operations/datum_transformation.h"
#include "python/operations/operation_frame.h"
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

PyResult<Ref> set_m(PyObject* self, double m) {
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::set_m(g, m); });
}
PyResult<Ref> set_z(PyObject* self, double z) {
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::set_z(g, z); });
}
PyResult<Ref> set_z_and_m(PyObject* self, double z, double m) {
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::set_z_and_m(g, z, m); });
}
PyResult<Ref> move_relative(PyObject* self, double delta_x, double delta_y) {
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::move_relative(g, delta_x, delta_y); });
}

// `self` first, then the origin's engine point (none for None), which is gone before `self`'s.
template <typename Op>
PyResult<Ref> about_origin(PyObject* self, Nullable<PyPoint> origin, Op&& op) {
    return frame::apply(self, [&](const GeometryOwned& g) -> PyResult<::geometry::Result<GeometryOwned>> {
        auto point = frame::origin_point(origin);
        if (!point) return fail(std::move(point.error()));
        return op(g, *point ? &**point : nullptr);
    });
}

PyResult<Ref> scale(PyObject* self, double scale_x, double scale_y, Nullable<PyPoint> origin) {
    return about_origin(self, origin, [&](const GeometryOwned& g, const ::geometry::point::Point* o) {
        return engine::scale(g, o, scale_x, scale_y);
    });
}
PyResult<Ref> rotate(PyObject* self, double angle, Nullable<PyPoint> origin) {
    return about_origin(self, origin, [&](const GeometryOwned& g, const ::geometry::point::Point* o) {
        return engine::rotate(g, o, angle);
    });
}

PyResult<Ref> generalize(PyObject* self, double max_offset, std::optional<frame::Flag> remove_degenerate_parts) {
    const bool remove = remove_degenerate_parts.value_or(frame::Flag{false}).value;
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::generalize(g, max_offset, remove); });
}

PyResult<Ref> clip(PyObject* self, PyEnvelope* env) {
    return frame::apply(self, [&](const GeometryOwned& g) -> PyResult<::geometry::Result<GeometryOwned>> {
        auto envelope = frame::engine_envelope(*env);
        if (!envelope) return fail(std::move(envelope.error()));
        return engine::clip(g, *envelope);
    });
}

// The spatial reference is made before `self` and outlives the result's conversion.
PyResult<Ref> project(PyObject* self, PyObject* spatial_reference) {
    auto sr = geom_sr_from_py(spatial_reference);
    if (!sr) return fail(std::move(sr.error()));
    return frame::apply(self, [&](const GeometryOwned& g) { return engine::project(g, *sr); });
}

PyResult<Ref> project_with_transformation(PyObject* self, PyObject* spatial_reference,
                                          PyDatumTransformation* transformation) {
    auto sr = geom_sr_from_py(spatial_reference);
    if (!sr) return fail(std::move(sr.error()));
    return frame::apply(self, [&](const GeometryOwned& g) {
        return engine::project_with_transformation(g, *sr, transformation->transformation);
    });
}

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

}  // namespace

std::vector<PyMethodDef> transform_methods() {
    return {
        binding::method<kSetM, set_m>("set_m($self, m)\n--\n\n"),
        binding::method<kSetZ, set_z>("set_z($self, z)\n--\n\n"),
        binding::method<kSetZAndM, set_z_and_m>("set_z_and_m($self, z, m)\n--\n\n"),
        binding::method<kMove, move_relative>(kMoveDoc),
        binding::method<kScale, scale>(kScaleDoc),
        binding::method<kRotate, rotate>(kRotateDoc),
        binding::method<kGeneralize, generalize>(kGeneralizeDoc),
        binding::method<kClip, clip>(kClipDoc),
        binding::method<kProject, project>(kProjectDoc),
        binding::method<kProjectWith, project_with_transformation>(kProjectWithDoc),
    };
}

}  // namespace vornix::python::operations
