"""The module's collection functions and the static collection methods of Geometry: registration and
signatures, argument binding, which check wins, result classes, engine errors and faults."""
import json

import numpy as np
import pytest

import engine_hooks
import vornix_geometry as vg

WGS84 = {"wkid": 4326}


def polygon(x0, y0, size=1.0, sr=WGS84):
    return vg.Geometry({"rings": [[[x0, y0], [x0, y0 + size], [x0 + size, y0 + size], [x0 + size, y0],
                                   [x0, y0]]], "spatialReference": sr})


def line(*points):
    return vg.Geometry({"paths": [[list(p) for p in points]], "spatialReference": WGS84})


A, B = polygon(0, 0), polygon(10, 0, 2)
BIG = polygon(-1, -1, 40)
POINT = vg.Geometry({"x": 0.5, "y": 0.5, "spatialReference": WGS84})
CUTTER = line((-5, 0.5), (50, 0.5))
ENVELOPE = vg.Geometry({"xmin": 0, "ymin": 0, "xmax": 0.5, "ymax": 2, "spatialReference": WGS84})


def is_panic(error):
    return type(error).__name__ == "PanicException" and not isinstance(error, Exception)


SIGNATURES = {
    "area_collection": "(geometries, curve_type=None, unit=None)",
    "boundary_collection": "(geometries)",
    "buffer_collection": "(geometries, distances, union_result=False, distance_unit=None, max_deviation=0.0, "
                         "curve_type=...)",
    "clip_collection": "(geometries, envelope)",
    "contains_collection": "(container, geometries)",
    "crosses_collection": "(primary, collection)",
    "cut_collection": "(geometries, cutter)",
    "densify_collection": "(geometries, max_segment_length, unit, curve_type)",
    "difference_collection_minus_geom": "(collection, rhs)",
    "difference_geom_minus_collection": "(primary, collection)",
    "disjoint_from_collection": "(primary, collection)",
    "distances_from_collection": "(primary, collection)",
    "generalize_collection": "(geometries, max_deviation, remove_degenerate_parts)",
    "intersection_collection": "(primary, geometries)",
    "intersections_collection": "(primary, geometries)",
    "intersects_collection": "(primary, collection)",
    "is_simple_collection": "(geometries)",
    "label_point_collection": "(geometries)",
    "length_collection": "(geometries)",
    "move_relative_collection": "(geometries, delta_x, delta_y)",
    "normalize_central_meridian_collection": "(geometries)",
    "overlaps_collection": "(primary, collection)",
    "remove_m_collection": "(geometries)",
    "remove_z_and_m_collection": "(geometries)",
    "remove_z_collection": "(geometries)",
    "rotate_collection": "(geometries, angle, origin)",
    "scale_collection": "(geometries, scale_x, scale_y, origin)",
    "set_m_collection": "(m, geometries)",
    "set_z_and_m_collection": "(z, m, geometries)",
    "set_z_collection": "(z, geometries)",
    "simplify_collection": "(geometries)",
    "touches_collection": "(primary, collection)",
    "within_collection": "(container, geometries)",
}

STATIC = {
    "union_collection": "(geometries)",
    "combine_extents_collection": "(geometries)",
    "convex_hull_collection": "(geometries, merge)",
    "buffer_collection": "(geometries, distances, union_result)",
    "auto_complete": "(existing_boundaries, new_boundaries)",
}


def test_the_functions_are_registered_first_in_byte_order():
    assert vg.__all__[:33] == sorted(SIGNATURES)
    assert vg.__all__[-3:] == ["projection", "utils", "__version__"]
    assert len(vg.__all__) == len(set(vg.__all__))


@pytest.mark.parametrize("name,signature", SIGNATURES.items())
def test_function_signatures(name, signature):
    function = getattr(vg, name)
    assert function.__text_signature__ == signature
    assert function.__module__ == "vornix_geometry"


def text(result):
    return [str(g) for g in result] if isinstance(result, list) else str(result)


# Each static method with arguments of its own and a check of what only that method answers.
CLOSING_LINE = line((1, 0.2), (2, 0.2), (2, 0.8), (1, 0.8))
STATIC_CALLS = {
    "union_collection": (([A, B],), lambda r: type(r) is vg.Polygon and r.area == pytest.approx(5)),
    "combine_extents_collection": (([A, B],), lambda r: type(r) is vg.Envelope and (r.xmin, r.xmax) == (0, 12)),
    "convex_hull_collection": (([A, B], True), lambda r: type(r) is vg.Polygon and r.area == pytest.approx(19)),
    "buffer_collection": (([A, B], [0.5], True), lambda r: type(r) is vg.Polygon and r.area > 5 + 0.5 * 12),
    "auto_complete": (([A], [CLOSING_LINE]), lambda r: [g.area for g in r] == pytest.approx([0.6])),
}


@pytest.mark.parametrize("name,signature", STATIC.items())
def test_static_methods_work_through_the_class_and_any_instance(name, signature):
    assert getattr(vg.Geometry, name).__text_signature__ == signature
    args, check = STATIC_CALLS[name]
    through_class = getattr(vg.Geometry, name)(*args)
    assert check(through_class), text(through_class)
    for receiver in (vg.Polygon, A, POINT, ENVELOPE):
        assert text(getattr(receiver, name)(*args)) == text(through_class), receiver


def test_within_collection_asks_whether_the_container_lies_within_each_item():
    inner = polygon(1, 1)
    assert vg.within_collection(inner, [BIG, polygon(0, 0, 5)]) is True
    assert vg.within_collection(BIG, [inner]) is False
    assert "container lies within every geometry" in vg.within_collection.__doc__


@pytest.mark.parametrize("call,param", [
    (lambda v: vg.generalize_collection([A], 0.1, v), "remove_degenerate_parts"),
    (lambda v: vg.buffer_collection([A], [1.0], v), "union_result"),
    (lambda v: vg.Geometry.convex_hull_collection([A], v), "merge"),
    (lambda v: vg.Geometry.buffer_collection([A], [1.0], v), "union_result"),
    (lambda v: vg.projection.get_transformations(WGS84, {"wkid": 4267}, None, v), "ignore_vertical"),
])
def test_flags_take_bools_and_numpy_bools_only(call, param):
    call(True)
    call(np.bool_(False))
    for value in (1, None, "yes"):
        with pytest.raises(TypeError, match=f"argument '{param}'"):
            call(value)


# (call, exception type, text in the message): the check that should win in each case.
CHECK_ORDER = [
    (lambda: vg.clip_collection([], 5), TypeError, "argument 'envelope'"),
    (lambda: vg.clip_collection(5, 5), TypeError, "argument 'envelope'"),
    (lambda: vg.boundary_collection(5), TypeError, "'int' object is not iterable"),
    (lambda: vg.boundary_collection(A), TypeError, "object is not iterable"),
    # a dict is iterated by its keys: the text "x" goes to the engine as VeltJSON
    (lambda: vg.boundary_collection({"x": 1.0, "y": 2.0}), Exception, "Corvane library error: 'Text is not valid JSON"),
    (lambda: vg.scale_collection([A], 1, 2), TypeError, "origin"),
    (lambda: vg.scale_collection(5, "a", 2, None), TypeError, "argument 'scale_x'"),
    (lambda: vg.rotate_collection([A], 1, A), TypeError, "argument 'origin'"),
    (lambda: vg.generalize_collection([A], 1.0), TypeError, "remove_degenerate_parts"),
    (lambda: vg.set_m_collection([A], 1.0), TypeError, "argument 'm'"),
    (lambda: vg.intersection_collection({"x": 1, "y": 2}, [A]), TypeError, "argument 'primary'"),
    (lambda: vg.difference_collection_minus_geom([A], "{}"), TypeError, "argument 'rhs'"),
    (lambda: vg.cut_collection([A], A), TypeError, "argument 'cutter'"),
    (lambda: vg.boundary_collection([A, {"not": "a geometry"}]), ValueError, ""),
    (lambda: vg.contains_collection(5, [A]), TypeError, "argument 'container'"),
    (lambda: vg.area_collection([A], unit=vg.AreaUnitId.SquareMeters), TypeError, "argument 'unit'"),
    (lambda: vg.area_collection([A], vg.GeodeticCurveType.Geodesic, vg.AreaUnitId.SquareMeters), TypeError,
     "argument 'unit'"),
    (lambda: vg.area_collection(5, vg.LinearUnitId.Meters), TypeError, "argument 'curve_type'"),
    (lambda: vg.buffer_collection([A], [1.0], max_deviation=None), TypeError, "argument 'max_deviation'"),
    (lambda: vg.buffer_collection([A], [1.0], curve_type=vg.LinearUnitId.Meters), TypeError,
     "argument 'curve_type'"),
    (lambda: vg.buffer_collection([A], 5), TypeError, "'int' object is not iterable"),
    (lambda: vg.buffer_collection(5, [1]), TypeError, "'int' object is not iterable"),
    (lambda: vg.densify_collection(5, 1.0, vg.LinearUnitId.Meters, None), ValueError,
     "GeodeticCurveType must be provided for geodetic densify"),
    (lambda: vg.densify_collection(5, 1.0, None, vg.GeodeticCurveType.Geodesic), ValueError,
     "LinearUnitId must be provided for geodetic densify"),
    (lambda: vg.densify_collection([A], 1.0, None), TypeError, "curve_type"),
    (lambda: vg.densify_collection([A], 1.0, vg.GeodeticCurveType.Geodesic, None), TypeError, "argument 'unit'"),
    (lambda: vg.Geometry.convex_hull_collection(5, 1), TypeError, "argument 'merge'"),
    (lambda: vg.Geometry.buffer_collection([A], 5, True), TypeError, "'int' object is not iterable"),
]


@pytest.mark.parametrize("call,error,text", CHECK_ORDER)
def test_which_check_wins(call, error, text):
    with pytest.raises(error) as info:
        call()
    assert type(info.value) is error
    assert text in str(info.value)
    assert engine_hooks.live_objects() == 0


class Bare(vg.Polygon):
    """A geometry whose protocol is the base class's: its conversion fails."""


setattr(Bare, "__kxc_geo", getattr(vg.Geometry, "__kxc_geo"))
UNINITIALIZED = "Uninitialized vornix_geometry.Geometry cannot be used for geometry operations"


@pytest.mark.parametrize("test", [vg.contains_collection, vg.within_collection, vg.disjoint_from_collection,
                                  vg.crosses_collection, vg.touches_collection, vg.overlaps_collection,
                                  vg.distances_from_collection, vg.difference_geom_minus_collection,
                                  vg.intersection_collection])
def test_the_fixed_geometry_is_converted_before_the_collection_is_iterated(test):
    with pytest.raises(Exception, match=UNINITIALIZED):
        test(Bare(A.__class__({"rings": [[[0, 0], [0, 1], [1, 1], [0, 0]]]})), 5)


def test_intersects_collection_iterates_before_converting_primary():
    bare = Bare({"rings": [[[0, 0], [0, 1], [1, 1], [0, 0]]]})
    with pytest.raises(TypeError, match="not iterable"):
        vg.intersects_collection(bare, 5)
    with pytest.raises(Exception, match=UNINITIALIZED):
        vg.intersects_collection(bare, [A])
    with pytest.raises(Exception, match=UNINITIALIZED):
        vg.boundary_collection([A, bare])


def test_empty_collections():
    for every in (vg.contains_collection, vg.within_collection, vg.disjoint_from_collection):
        assert every(A, []) is True
    for some in (vg.crosses_collection, vg.touches_collection, vg.overlaps_collection, vg.intersects_collection):
        assert some(A, []) is False
    assert vg.area_collection([]) == 0.0 and vg.length_collection(()) == 0.0
    assert vg.area_collection([], vg.GeodeticCurveType.Geodesic) == 0.0
    for per_item in (vg.is_simple_collection, vg.label_point_collection, vg.boundary_collection):
        assert per_item([]) == []
    assert vg.distances_from_collection(A, []) == []
    assert vg.buffer_collection([], [1.0]) == [] and vg.Geometry.buffer_collection([], [], True) == []
    assert vg.Geometry.convex_hull_collection([], True) == []
    rest = vg.difference_geom_minus_collection(A, [])
    assert rest is not A and type(rest) is vg.Polygon and rest.equals(A)


def test_result_classes_follow_the_engine():
    assert [type(g) for g in vg.boundary_collection([A, line((0, 0), (1, 1)), POINT])] == [
        vg.Polyline, vg.MultiPoint, vg.MultiPoint]
    assert [type(g) for g in vg.rotate_collection([ENVELOPE], 30, None)] == [vg.Polygon]
    assert type(vg.Geometry.combine_extents_collection([A, B])) is vg.Envelope
    labels = vg.label_point_collection([A, line((0, 0), (4, 2))])
    assert [type(p) for p in labels] == [vg.Point, vg.Point]
    assert (labels[1].x, labels[1].y) == (2.0, 1.0)  # the centre of the line's extent
    assert A.contains(labels[0])
    assert [type(g) for g in vg.clip_collection([A, {"x": 0.2, "y": 0.2}, '{"x": 9, "y": 9}'], ENVELOPE)] == [
        vg.Polygon, vg.Point, vg.Point]


def test_flag_results_a_list_or_the_one_geometry():
    one = vg.Geometry.buffer_collection([A], [1.0], True)
    assert type(one) is vg.Polygon
    assert [type(g) for g in vg.Geometry.buffer_collection([A], [1.0], False)] == [vg.Polygon]
    assert type(vg.buffer_collection([A, B], [1.0], True)) is list
    assert len(vg.buffer_collection([A, B], [1.0], True)) == 1
    assert type(vg.Geometry.convex_hull_collection([A, B], True)) is vg.Polygon
    assert len(vg.Geometry.convex_hull_collection([A, B], False)) == 2


def test_flattened_and_skipping_maps():
    lines = [line((0, y), (2, y)) for y in (0.2, 0.4, 0.6)]
    cutter = line((1, -5), (1, 5))
    pieces = vg.cut_collection(lines + [line((5, 0), (6, 0))], cutter)
    assert len(pieces) == 6 and all(type(p) is vg.Polyline for p in pieces)
    assert [round(p.length, 6) for p in pieces] == [1.0] * 6
    with engine_hooks.failing("KX_GeometryEngine_normalizeCentralMeridian", engine_hooks.RETURN_NULL):
        kept = vg.normalize_central_meridian_collection([A, B])
    assert len(kept) == 1 and kept[0].equals(B)


@pytest.mark.parametrize("call,expected", [
    (lambda: vg.set_m_collection(2.5, [POINT]), {"m": 2.5}),
    (lambda: vg.set_z_collection(3, [POINT]), {"z": 3.0}),
    (lambda: vg.set_z_and_m_collection(1, 2, [POINT]), {"z": 1.0, "m": 2.0}),
    (lambda: vg.move_relative_collection([POINT], 1, -1), {"x": 1.5, "y": -0.5}),
    (lambda: vg.scale_collection([line((0, 0), (2, 0))], 2, 1, POINT), {"paths": [[[-0.5, 0], [3.5, 0]]]}),
    (lambda: vg.remove_z_and_m_collection(vg.set_z_and_m_collection(1, 2, [POINT])), {"x": 0.5, "y": 0.5}),
])
def test_per_item_values(call, expected):
    d = json.loads(str(call()[0]))
    assert {k: d[k] for k in expected} == expected


@pytest.mark.parametrize("call,function", [
    (lambda: vg.clip_collection([A], ENVELOPE), "KX_GeometryEngine_clip"),
    (lambda: vg.contains_collection(A, [A]), "KX_GeometryEngine_contains"),
    (lambda: vg.area_collection([A], vg.GeodeticCurveType.Geodesic), "KX_GeometryEngine_areaGeodetic"),
    (lambda: vg.distances_from_collection(A, [B]), "KX_GeometryEngine_distance"),
    (lambda: vg.label_point_collection([A]), "KX_GeometryEngine_labelPoint"),
    (lambda: vg.difference_geom_minus_collection(A, [B]), "KX_GeometryEngine_difference"),
    (lambda: vg.densify_collection([A], 0.1, None, None), "KX_GeometryEngine_densify"),
])
def test_engine_errors_become_the_library_exception(call, function):
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(Exception) as info:
            call()
    assert type(info.value) is Exception
    assert info.value.args == (f"Corvane library error: 'Injected failure in {function}: Raised by a test hook'",)
    assert engine_hooks.live_objects() == 0


@pytest.mark.parametrize("call,function", [
    (lambda: vg.remove_m_collection([A]), "KX_GeometryEngine_removeM"),
    (lambda: vg.normalize_central_meridian_collection([A]), "KX_GeometryEngine_normalizeCentralMeridian"),
    (lambda: vg.length_collection([A]), "KX_GeometryEngine_length"),
    (lambda: vg.is_simple_collection([A]), "KX_GeometryEngine_isSimple"),
])
def test_engine_errors_of_the_reductions_are_faults(call, function):
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            call()
    assert is_panic(info.value)
    assert engine_hooks.live_objects() == 0


def test_geodetic_forms():
    area = vg.area_collection([A, B], vg.GeodeticCurveType.Geodesic)
    assert area == pytest.approx(A.calculate_area(vg.GeodeticCurveType.Geodesic)
                                 + B.calculate_area(vg.GeodeticCurveType.Geodesic), rel=1e-12)
    km2 = vg.area_collection([A], vg.GeodeticCurveType.Geodesic, vg.AreaUnit(vg.AreaUnitId.SquareKilometers))
    assert km2 == pytest.approx(A.calculate_area(vg.GeodeticCurveType.Geodesic) / 1e6, rel=1e-12)
    # the planar area leaves a given unit aside
    assert vg.area_collection([A], unit=vg.AreaUnit(vg.AreaUnitId.SquareKilometers)) == 1.0
    geodetic = vg.buffer_collection([POINT], [1000.0], distance_unit=vg.LinearUnitId.Meters)
    assert geodetic[0].equals(vg.buffer_collection([POINT], [1000.0], False, vg.LinearUnitId.Meters, 0.0,
                                                   vg.GeodeticCurveType.GreatElliptic)[0])
    assert geodetic[0].calculate_area(vg.GeodeticCurveType.Geodesic) == pytest.approx(np.pi * 1e6, rel=1e-2)
    # max_deviation and curve_type are ignored by the planar buffer
    planar = vg.buffer_collection([A], [1.0], max_deviation=5.0, curve_type=vg.GeodeticCurveType.Loxodrome)
    assert planar[0].equals(vg.buffer_collection([A], [1.0])[0])
    dense = vg.densify_collection([line((0, 0), (0, 1))], 1000.0, vg.LinearUnitId.Meters,
                                  vg.GeodeticCurveType.Geodesic)
    assert dense[0].equals(line((0, 0), (0, 1)).densify(1000.0, vg.LinearUnitId.Meters,
                                                        vg.GeodeticCurveType.Geodesic))


# Buffers without a union are asked of the engine a slice of geometries at a time; past the first
# slice the answers and errors are those of one call over everything.
MANY = 2500


def points(n, step=10.0, sr=None):
    extra = {"spatialReference": sr} if sr else {}
    return [vg.Point({"x": i * step, "y": 0.0, **extra}) for i in range(n)]


@pytest.mark.parametrize("buffer, step, planar", [
    (lambda g, d: vg.buffer_collection(g, d), 10.0, True),
    (lambda g, d: vg.Geometry.buffer_collection(g, d, False), 10.0, True),
    (lambda g, d: vg.buffer_collection(g, d, distance_unit=vg.LinearUnitId.Meters), 0.01, False),
], ids=["planar function", "planar method", "geodetic function"])
def test_many_buffers_take_their_own_distance_or_the_last(buffer, step, planar):
    distances = [1.0 + (i % 7) / 10 for i in range(1500)]
    pieces = buffer(points(MANY, step, None if planar else {"wkid": 4326}), distances)
    assert len(pieces) == MANY and all(type(p) is vg.Polygon for p in pieces)
    metres_per_unit = 1.0 if planar else 111319.49
    for i in (0, 1023, 1024, 1499, 1500, 2047, 2048, MANY - 1):
        xmin, _, xmax, _ = pieces[i].extent
        assert (xmin + xmax) / 2 == pytest.approx(i * step, abs=1e-6)
        assert (xmax - xmin) / 2 * metres_per_unit == pytest.approx(distances[min(i, 1499)], rel=1e-2)


@pytest.mark.parametrize("distances, text", [
    ([1.0] * 2000 + [float("nan")], "The buffer distance must be a finite number"),
    ([], "No buffer distances were given for the geometries"),
])
def test_many_buffers_refused_as_one_call(distances, text):
    with pytest.raises(Exception, match=f"^Corvane library error: '{text}'$"):
        vg.buffer_collection(points(MANY), distances)


def test_many_buffers_with_a_bad_item_late_raise_its_error():
    items = points(MANY) + [{"x": "a"}]
    with pytest.raises(TypeError, match="^must be real number, not str$"):
        vg.buffer_collection(items, [1.0])
    united = vg.Geometry.buffer_collection(points(MANY), [1.0], True)
    assert type(united) is vg.Polygon and united.calculate_area() == pytest.approx(MANY * 3.14, rel=1e-2)
