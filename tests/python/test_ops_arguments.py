"""Transforms, measures and extents of Geometry: how their arguments bind and convert, which check
wins when several are wrong, what reaches the engine, and what comes back."""
import math

import numpy as np
import pytest

import engine_hooks
import vornix_geometry as vg

SQUARE = {"rings": [[[0, 0], [0, 10], [10, 10], [10, 0], [0, 0]]]}
L_SHAPE = {"rings": [[[0, 0], [0, 10], [2, 10], [2, 2], [10, 2], [10, 0], [0, 0]]]}
LINE = {"paths": [[[0, 0], [3, 4]]]}
G = vg.GeodeticCurveType.Geodesic
METERS = vg.LinearUnitId.Meters


def geometry(d):
    return vg.Geometry(d)


@pytest.fixture(autouse=True)
def nothing_left_alive():
    yield
    assert engine_hooks.live_objects() == 0


SIGNATURES = {
    "set_m": "($self, m)", "set_z": "($self, z)", "set_z_and_m": "($self, z, m)",
    "move_relative": "($self, delta_x, delta_y)", "scale": "($self, scale_x, scale_y, origin)",
    "rotate": "($self, angle, origin)", "generalize": "($self, max_offset, remove_degenerate_parts=False)",
    "clip": "($self, env)", "project": "($self, spatial_reference)",
    "project_with_transformation": "($self, spatial_reference, transformation)",
    "buffer": "($self, distance, unit=None, max_deviation=None, curve_type=None)",
    "_buffer": "($self, distance)", "_buffer_geodetic": "($self, distance, unit, max_deviation, curve_type)",
    "densify": "($self, max_segment_length, unit=None, curve_type=None)",
    "_densify": "($self, max_segment_length)",
    "_densify_geodetic": "($self, max_segment_length, unit, curve_type)",
    "calculate_area": "($self, curve_type=None, unit=None)", "_area_planear": "($self)",
    "_area_geodetic": "($self, curve_type, unit)", "calculate_length": "($self, curve_type=None, unit=None)",
    "combine_extents": "($self, other)", "distance_to": "($self, other)", "is_simple": "($self)",
    "cut": "($self, cutter)", "intersections": "($self, other)", "boundary": "($self)",
    "normalize_central_meridian": "($self)", "relate": "($self, other, relation)",
}


@pytest.mark.parametrize("name,signature", SIGNATURES.items())
def test_text_signatures(name, signature):
    assert getattr(vg.Geometry, name).__text_signature__ == signature


# (call, expected class, expected text)
VALUES_REACH_THE_ENGINE = [
    (lambda g: g.set_z(5), '{"hasZ": true, "paths": [[[0, 0, 5], [3, 4, 5]]]}'),
    (lambda g: g.set_m(m=5.5), '{"hasM": true, "paths": [[[0, 0, 5.5], [3, 4, 5.5]]]}'),
    (lambda g: g.set_z_and_m(1.0, 2.0), '{"hasZ": true, "hasM": true, "paths": [[[0, 0, 1, 2], [3, 4, 1, 2]]]}'),
    (lambda g: g.move_relative(delta_y=1, delta_x=10), '{"paths": [[[10, 1], [13, 5]]]}'),
    (lambda g: g.scale(2, 3, vg.Point({"x": 0, "y": 0})), '{"paths": [[[0, 0], [6, 12]]]}'),
    (lambda g: g.scale(-1, -1, None), '{"paths": [[[3, 4], [0, 0]]]}'),
    (lambda g: g.rotate(180, origin=vg.Point({"x": 0, "y": 0})), '{"paths": [[[0, 0], [-3, -4]]]}'),
    (lambda g: g.rotate(540.0, vg.Point({"x": 0, "y": 0})), '{"paths": [[[0, 0], [-3, -4]]]}'),
    (lambda g: g.generalize(1.0), '{"paths": [[[0, 0], [3, 4]]]}'),
    (lambda g: g.clip(vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1.5, "ymax": 2})), '{"paths": [[[0, 0], [1.5, 2]]]}'),
    (lambda g: g.clip(vg.Envelope({"xmin": 10, "ymin": 10, "xmax": 11, "ymax": 11})), '{"paths": []}'),
]


@pytest.mark.parametrize("call,text", VALUES_REACH_THE_ENGINE)
def test_transform_values_reach_the_engine(call, text):
    g = geometry(LINE)
    result = call(g)
    assert type(result) is vg.Polyline and result is not g
    assert str(result) == text
    assert str(g) == '{"paths": [[[0, 0], [3, 4]]]}'


def test_rotating_an_envelope_gives_a_polygon():
    env = geometry({"xmin": 0, "ymin": 0, "xmax": 2, "ymax": 1})
    assert type(env.rotate(90, None)) is vg.Polygon
    assert type(env.move_relative(1, 1)) is vg.Envelope
    assert type(env.generalize(0.1)) is vg.Polygon


# (call, exception type, message); each call has several wrong arguments and the first check wins.
REFUSALS = [
    (lambda g: g.set_m("a"), TypeError, "argument 'm': must be real number, not str"),
    (lambda g: g.set_z_and_m(None, "a"), TypeError, "argument 'z': must be real number, not NoneType"),
    (lambda g: g.scale(2.0, 2.0), TypeError, "Geometry.scale() missing 1 required positional argument: 'origin'"),
    (lambda g: g.scale("x", 2.0, {}), TypeError, "argument 'scale_x': must be real number, not str"),
    (lambda g: g.rotate(90.0, {"x": 0, "y": 0}), TypeError, "argument 'origin': 'dict' object cannot be cast as 'Point'"),
    (lambda g: g.rotate(90.0, geometry(SQUARE)), TypeError, "argument 'origin': 'Polygon' object cannot be cast as 'Point'"),
    (lambda g: g.generalize(1.0, 1), TypeError, "argument 'remove_degenerate_parts': 'int' object cannot be cast as 'bool'"),
    (lambda g: g.generalize(1.0, None), TypeError, "argument 'remove_degenerate_parts': 'NoneType' object cannot be cast as 'bool'"),
    (lambda g: g.clip({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}), TypeError, "argument 'env': 'dict' object cannot be cast as 'Envelope'"),
    (lambda g: g.project(4326), TypeError, "SpatialReference from_py expects a SpatialReference object or a dict"),
    (lambda g: g.project({}), ValueError, "Failed to convert {} into a geometry engine spatial reference"),
    (lambda g: g.project_with_transformation(4326, "x"), TypeError, "argument 'transformation': 'str' object cannot be cast as 'DatumTransformation'"),
    (lambda g: g.buffer(1, max_deviation=1), ValueError, "LinearUnitId must be provided for geodetic buffer"),
    (lambda g: g.buffer(1, curve_type=G), ValueError, "LinearUnitId must be provided for geodetic buffer"),
    (lambda g: g.buffer(1, unit=METERS, curve_type=G), ValueError, "max_deviation must be provided for geodetic buffer"),
    (lambda g: g.buffer(1, METERS, 0.1), ValueError, "GeodeticCurveType must be provided for geodetic buffer"),
    (lambda g: g.buffer(1, unit=1), TypeError, "argument 'unit': 'int' object cannot be cast as 'LinearUnitId'"),
    (lambda g: g.buffer("1", unit=1), TypeError, "argument 'distance': must be real number, not str"),
    (lambda g: g.densify(1, unit=METERS), ValueError, "GeodeticCurveType must be provided for geodetic densify"),
    (lambda g: g.densify(1, curve_type=G), ValueError, "LinearUnitId must be provided for geodetic densify"),
    (lambda g: g._densify_geodetic(1, None, G), TypeError, "argument 'unit': 'NoneType' object cannot be cast as 'LinearUnitId'"),
    (lambda g: g._buffer_geodetic(1, METERS, None, G), TypeError, "argument 'max_deviation': must be real number, not NoneType"),
    (lambda g: g._buffer_geodetic(1, METERS, 1, None), TypeError, "argument 'curve_type': 'NoneType' object cannot be cast as 'GeodeticCurveType'"),
    (lambda g: g.calculate_area(unit="x"), TypeError, "Expected an AreaUnit or AreaUnitId argument"),
    (lambda g: g.calculate_area(curve_type=1, unit="x"), TypeError, "argument 'curve_type': 'int' object cannot be cast as 'GeodeticCurveType'"),
    (lambda g: g.calculate_length(unit="x"), TypeError, "argument 'unit': 'str' object cannot be cast as 'LinearUnitId'"),
    (lambda g: g._area_geodetic(G, vg.AreaUnitId.Acres), TypeError, "argument 'unit': 'AreaUnitId' object cannot be cast as 'AreaUnit'"),
    (lambda g: g.cut(geometry(SQUARE)), TypeError, "argument 'cutter': 'Polygon' object cannot be cast as 'Polyline'"),
    (lambda g: g.is_simple(1), TypeError, "Geometry.is_simple() takes 0 positional arguments but 1 was given"),
]


@pytest.mark.parametrize("call,kind,message", REFUSALS)
def test_refusals_and_which_wins(call, kind, message):
    with pytest.raises(kind) as info:
        call(geometry(SQUARE))
    assert type(info.value) is kind and str(info.value) == message


def test_dispatch_errors_come_before_self_is_converted():
    bare = type("Bare", (vg.Polygon,), {})
    setattr(bare, "__kxc_geo", getattr(vg.Geometry, "__kxc_geo"))
    g = bare(SQUARE)
    with pytest.raises(ValueError, match="^LinearUnitId must be provided for geodetic buffer$"):
        g.buffer(1, curve_type=G)
    with pytest.raises(Exception, match="^Uninitialized"):
        g.buffer(1)
    # calculate_length converts self before its unit is made.
    with pytest.raises(Exception, match="^Uninitialized"):
        g.calculate_length(G, vg.LinearUnitId.Meters)


def test_bool_flag_takes_numpy_booleans():
    g = geometry({"paths": [[[0, 0], [1, 0.001], [2, 0]]]})
    for flag in (True, False, np.bool_(True), np.bool_(False)):
        assert str(g.generalize(0.01, flag)) == '{"paths": [[[0, 0], [2, 0]]]}'
        assert str(g.generalize(max_offset=0.01, remove_degenerate_parts=flag)) == '{"paths": [[[0, 0], [2, 0]]]}'


def test_none_defaults_equal_omission():
    g = geometry(SQUARE)
    assert str(g.buffer(1.0)) == str(g.buffer(1.0, None, None, None)) == str(g._buffer(1))
    assert str(g.densify(3)) == str(g.densify(3, None, None)) == str(g._densify(3.0))
    assert g.calculate_area() == g.calculate_area(None, None) == g._area_planear() == 100.0
    assert g.calculate_length() == g.calculate_length(None, None) == 40.0


def test_planar_measures_leave_a_given_unit_aside():
    g = geometry(SQUARE)
    assert g.calculate_area(unit=vg.AreaUnitId.SquareKilometers) == 100.0
    assert g.calculate_area(unit=vg.AreaUnit(vg.AreaUnitId.SquareKilometers)) == 100.0
    assert g.calculate_length(unit=vg.LinearUnitId.Kilometers) == 40.0


def test_area_unit_refused_by_the_engine_is_a_runtime_error_even_for_the_planar_area():
    with engine_hooks.failing("KX_AreaUnit_create", engine_hooks.REPORT_ERROR):
        with pytest.raises(RuntimeError, match=r'^Error \{ code: \d+, msg: "Injected failure in KX_AreaUnit_create\.", '):
            geometry(SQUARE).calculate_area(unit=vg.AreaUnitId.Acres)


@pytest.mark.parametrize("d,area,length", [
    (SQUARE, 100.0, 40.0),
    ({"x": 1, "y": 1}, None, 0.0),
    (LINE, None, 5.0),
    ({"points": [[0, 0], [1, 1]]}, None, 0.0),
    ({"xmin": 0, "ymin": 0, "xmax": 2, "ymax": 3}, None, 10.0),
    ({"rings": []}, 0.0, 0.0),
])
def test_area_and_length_properties(d, area, length):
    g = geometry(d)
    assert g.area == area and (area is None or type(g.area) is float)
    assert g.length == length


def test_geodetic_units_convert():
    g = geometry({**LINE, "spatialReference": {"wkid": 4326}})
    meters = g.calculate_length(G)
    assert g.calculate_length(G, vg.LinearUnitId.Kilometers) == pytest.approx(meters / 1000, rel=1e-12)
    polygon = geometry({**SQUARE, "spatialReference": {"wkid": 4326}})
    square_meters = polygon.calculate_area(G)
    assert polygon.calculate_area(G, vg.AreaUnitId.SquareKilometers) == pytest.approx(square_meters / 1e6, rel=1e-12)
    unit = vg.AreaUnit(vg.AreaUnitId.SquareKilometers)
    assert polygon._area_geodetic(G, unit) == pytest.approx(square_meters / 1e6, rel=1e-12)
    assert polygon._area_geodetic(G, None) == square_meters
    assert polygon.calculate_area(G, unit) == polygon._area_geodetic(G, unit)


def test_geodetic_buffer_without_a_unit_uses_the_engine_default():
    p = geometry({"x": 10, "y": 50, "spatialReference": {"wkid": 4326}})
    default = p._buffer_geodetic(1000, None, 1.0, G)
    given = p._buffer_geodetic(1000, METERS, 1.0, G)
    assert type(default) is vg.Polygon
    assert default.calculate_area(G) == pytest.approx(given.calculate_area(G), rel=1e-9)


@pytest.mark.parametrize("call", [
    lambda g: g.buffer(1, METERS, 1, G), lambda g: g._densify_geodetic(1, METERS, G),
    lambda g: g.calculate_length(G, METERS)])
def test_refused_linear_unit_is_a_value_error(call):
    with engine_hooks.failing("KX_LinearUnit_create", engine_hooks.REPORT_ERROR):
        with pytest.raises(ValueError, match=r'^Invalid LinearUnitId: Error \{ code: \d+, msg: "Injected failure'):
            call(geometry(SQUARE))


def test_planar_length_never_makes_the_unit():
    with engine_hooks.failing("KX_LinearUnit_create", engine_hooks.REPORT_ERROR):
        assert geometry(SQUARE).calculate_length(unit=METERS) == 40.0


@pytest.mark.parametrize("function,call", [
    ("KX_GeometryEngine_buffer", lambda g: g.buffer(1)),
    ("KX_GeometryEngine_densify", lambda g: g.densify(1)),
    ("KX_GeometryEngine_areaGeodetic", lambda g: g.calculate_area(G)),
    ("KX_GeometryEngine_lengthGeodetic", lambda g: g.calculate_length(G)),
    ("KX_GeometryEngine_bufferGeodetic", lambda g: g.buffer(1, METERS, 1, G)),
    ("KX_GeometryEngine_densifyGeodetic", lambda g: g.densify(1, METERS, G)),
    ("KX_GeometryEngine_setZ", lambda g: g.set_z(1)),
    ("KX_GeometryEngine_move", lambda g: g.move_relative(1, 1)),
    ("KX_GeometryEngine_scale", lambda g: g.scale(1, 1, vg.Point({"x": 0, "y": 0}))),
    ("KX_GeometryEngine_rotate", lambda g: g.rotate(1, None)),
    ("KX_GeometryEngine_generalize", lambda g: g.generalize(1)),
    ("KX_GeometryEngine_clip", lambda g: g.clip(vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}))),
    ("KX_GeometryEngine_project", lambda g: g.project({"wkid": 3857})),
    ("KX_GeometryEngine_combineExtents", lambda g: g.combine_extents(g)),
    ("KX_GeometryEngine_distance", lambda g: g.distance_to(g)),
    ("KX_GeometryEngine_cut", lambda g: g.cut(vg.Polyline(LINE))),
    ("KX_GeometryEngine_intersections", lambda g: g.intersections(g)),
])
def test_returned_engine_errors(function, call):
    g = geometry({**SQUARE, "spatialReference": {"wkid": 4326}})
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(Exception) as info:
            call(g)
    assert type(info.value) is Exception
    assert info.value.args == (f"Corvane library error: 'Injected failure in {function}: Raised by a test hook'",)


@pytest.mark.parametrize("function,call", [
    ("KX_GeometryEngine_length", lambda g: g.length),
    ("KX_GeometryEngine_length", lambda g: g.calculate_length()),
    ("KX_GeometryEngine_area", lambda g: g.area),
    ("KX_Geometry_getExtent", lambda g: g.extent),
    ("KX_Geometry_getExtent", lambda g: g.centroid),
    ("KX_Envelope_getCenter", lambda g: g.centroid),
    ("KX_Geometry_getHasCurves", lambda g: g.has_curves),
])
def test_faulting_engine_errors(function, call):
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            call(geometry(SQUARE))
    assert type(info.value).__name__ == "PanicException" and not isinstance(info.value, Exception)
    assert str(info.value).startswith(f"Internal error: Unexpected error returned from internal function {function}")


EXTENT_CASES = [
    (SQUARE, (0.0, 0.0, 10.0, 10.0), (5.0, 5.0)),
    (L_SHAPE, (0.0, 0.0, 10.0, 10.0), (5.0, 5.0)),
    (LINE, (0.0, 0.0, 3.0, 4.0), (1.5, 2.0)),
    ({"x": -1, "y": 2}, (-1.0, 2.0, -1.0, 2.0), (-1.0, 2.0)),
    ({"xmin": 1, "ymin": 2, "xmax": 3, "ymax": 6}, (1.0, 2.0, 3.0, 6.0), (2.0, 4.0)),
]


@pytest.mark.parametrize("d,extent,centre", EXTENT_CASES)
def test_extent_and_centre(d, extent, centre):
    g = geometry(d)
    assert g.extent == g.geoextent == extent
    assert type(g.extent) is tuple and all(type(v) is float for v in g.extent)
    assert g.centroid == centre and type(g.centroid) is tuple
    env = g.envelope
    assert type(env) is vg.Envelope and env is not g
    assert (env.xmin, env.ymin, env.xmax, env.ymax) == extent


def test_label_point_is_the_extent_centre_except_on_polygons():
    line = geometry(LINE)
    point = line.label_point
    assert type(point) is vg.Point and (point.x, point.y) == (1.5, 2.0)
    assert callable(geometry(L_SHAPE).label_point)


def test_empty_extent_and_distance_are_nan():
    empty = geometry({"paths": []})
    assert all(math.isnan(v) for v in empty.extent)
    assert math.isnan(empty.distance_to(geometry(SQUARE)))
    assert math.isnan(geometry(SQUARE).distance_to(empty))


def test_distance_combine_and_lists():
    a, b = geometry(SQUARE), geometry({"x": 13, "y": 14})
    assert a.distance_to(b) == 5.0 and b.distance_to(other=a) == 5.0
    combined = a.combine_extents(b)
    assert type(combined) is vg.Envelope and (combined.xmax, combined.ymax) == (13.0, 14.0)
    pieces = a.cut(vg.Polyline({"paths": [[[5, -1], [5, 11]]]}))
    assert [type(p) for p in pieces] == [vg.Polygon, vg.Polygon]
    assert sorted(p.area for p in pieces) == [50.0, 50.0]
    assert a.cut(vg.Polyline({"paths": [[[20, -1], [20, 11]]]})) == []
    assert a.intersections(geometry({"x": 50, "y": 50})) == []
    touching = a.intersections(geometry({"paths": [[[5, 5], [5, 20]]]}))
    assert [type(p) for p in touching] == [vg.Polyline]


def test_cut_uses_the_cutter_model_not_its_protocol():
    cutter_class = type("Cutter", (vg.Polyline,), {})
    setattr(cutter_class, "__kxc_geo", lambda self: 1 / 0)
    pieces = geometry(SQUARE).cut(cutter_class({"paths": [[[5, -1], [5, 11]]]}))
    assert len(pieces) == 2


def test_is_simple_and_has_curves():
    assert geometry(SQUARE).is_simple() is True
    assert geometry({"paths": [[[0, 0], [2, 2], [0, 2], [2, 0]]]}).is_simple() is True
    assert geometry({"paths": [[[0, 0], [1, 1], [1, 1], [2, 0]]]}).is_simple() is False
    assert geometry({"rings": [[[0, 0], [2, 2], [0, 2], [2, 0], [0, 0]]]}).is_simple() is False
    assert geometry({"points": [[0, 0], [0, 0]]}).is_simple() is False
    assert geometry(SQUARE).has_curves is False
    assert geometry({"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]]}).has_curves is True


@pytest.mark.parametrize("dims,extra", [({}, []), ({"hasZ": True}, [5]), ({"hasM": True}, [6]),
                                        ({"hasZ": True, "hasM": True}, [5, 6])])
def test_z_and_m_travel_through_transforms(dims, extra):
    g = geometry({**dims, "paths": [[[0, 0, *extra], [3, 4, *extra]]]})
    moved = g.move_relative(1, 1)
    assert (moved.has_z, moved.has_m) == (g.has_z, g.has_m)
    assert str(moved) == str(g).replace("[0, 0", "[1, 1").replace("[3, 4", "[4, 5")
    rotated = g.rotate(90, vg.Point({"x": 0, "y": 0}))
    assert (rotated.has_z, rotated.has_m) == (g.has_z, g.has_m)


def test_curves_stay_curves_through_move_and_lose_nothing_in_length():
    arc = geometry({"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]]})
    moved = arc.move_relative(10, 0)
    assert moved.has_curves is True
    assert moved.length == pytest.approx(math.pi, rel=1e-12) == arc.length
    densified = arc.densify(0.1)
    assert densified.has_curves is False
    assert densified.length == pytest.approx(math.pi, rel=1e-2)


def test_project_without_a_spatial_reference_only_sets_it():
    g = geometry(LINE)
    projected = g.project({"wkid": 3857})
    assert str(projected) == '{"spatialReference": {"wkid":3857}, "paths": [[[0, 0], [3, 4]]]}'
    assert str(g.project(vg.SpatialReference({"wkid": 3857}))) == str(projected)
