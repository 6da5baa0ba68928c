"""The operation frame through the relation tests and overlays: argument binding, which check wins,
the order in which the engine gets its inputs, result classes, engine errors and faults."""
import numpy as np
import pytest

import engine_hooks
import vornix_geometry as vg

UNINITIALIZED = "Uninitialized vornix_geometry.Geometry cannot be used for geometry operations"

SQUARE = {"rings": [[[0, 0], [0, 10], [10, 10], [10, 0], [0, 0]]]}
INNER = {"rings": [[[2, 2], [2, 4], [4, 4], [4, 2], [2, 2]]]}
LINE = {"paths": [[[5, -5], [5, 15]]]}


def geometry(d):
    return vg.Geometry(d)


def with_protocol(cls, kxc_geo):
    """A subclass of `cls` whose __kxc_geo is `kxc_geo` (set by name: a method defined in a class body
    as __kxc_geo would be name-mangled)."""
    sub = type("Sub" + cls.__name__, (cls,), {})
    setattr(sub, "__kxc_geo", kxc_geo)
    return sub


def is_panic(error):
    return type(error).__name__ == "PanicException" and not isinstance(error, Exception)


# (method, parameter name, (outer, inner) answer, (inner, outer) answer)
PREDICATES = [
    ("contains", "other", True, False),
    ("within", "rhs", False, True),
    ("crosses", "rhs", False, False),
    ("disjoint", "other", False, False),
    ("equals", "other", False, False),
    ("intersects", "other", True, True),
    ("overlaps", "other", False, False),
    ("touches", "rhs", False, False),
]


@pytest.mark.parametrize("name,param,forward,backward", PREDICATES)
def test_predicates_hand_the_engine_self_first(name, param, forward, backward):
    outer, inner = geometry(SQUARE), geometry(INNER)
    assert getattr(outer, name)(inner) is forward
    assert getattr(inner, name)(outer) is backward
    assert getattr(outer, name)(**{param: inner}) is forward
    assert getattr(vg.Geometry, name).__text_signature__ == f"($self, {param})"


@pytest.mark.parametrize("name,param", [(n, p) for n, p, _, _ in PREDICATES] + [
    ("union", "rhs"), ("intersect", "other"), ("difference", "other"), ("symmetric_difference", "rhs"),
    ("combine_extents", "other"), ("distance_to", "other"), ("intersections", "other")])
def test_geometry_parameters_refuse_what_is_not_a_geometry(name, param):
    g = geometry(SQUARE)
    for value, type_name in [(SQUARE, "dict"), ('{"x": 1, "y": 2}', "str"), (None, "NoneType"), (1, "int")]:
        with pytest.raises(TypeError) as info:
            getattr(g, name)(value)
        assert str(info.value) == f"argument '{param}': '{type_name}' object cannot be cast as 'Geometry'"
    other = "other" if param == "rhs" else "rhs"
    with pytest.raises(TypeError, match=f"^Geometry.{name}\\(\\) got an unexpected keyword argument '{other}'$"):
        getattr(g, name)(**{other: g})
    with pytest.raises(TypeError, match=f"^Geometry.{name}\\(\\) missing 1 required positional argument"):
        getattr(g, name)()
    assert engine_hooks.live_objects() == 0


def test_same_object_as_self_and_argument_is_converted_twice():
    g = geometry(SQUARE)
    assert g.contains(g) is True and g.equals(g) is True
    assert g.union(g).area == pytest.approx(100.0)


RELATE = [
    ("T*****FF*", geometry(SQUARE), geometry({"paths": [[[1, 1], [2, 2]]]}), True),
    ("TTTFFTFFT", geometry(SQUARE), geometry({"paths": [[[1, 1], [2, 2]]]}), True),
    ("102FF*FF*", geometry(SQUARE), geometry({"paths": [[[0, 5], [20, 5]]]}), False),
    ("FF*FF****", geometry(SQUARE), geometry({"x": 20, "y": 20}), True),
    ("T*F**F***", geometry(INNER), geometry(SQUARE), True),
]


@pytest.mark.parametrize("pattern,a,b,answer", RELATE)
def test_relate_relays_the_pattern(pattern, a, b, answer):
    assert a.relate(b, pattern) is answer
    assert a.relate(other=b, relation=pattern) is answer


def test_relate_checks_the_geometry_before_the_pattern_and_both_before_converting():
    g = geometry(SQUARE)
    with pytest.raises(TypeError, match="^argument 'other'"):
        g.relate({"x": 1}, 5)
    with pytest.raises(TypeError, match="^argument 'relation': 'int' object cannot be cast as 'str'$"):
        g.relate(vg.Polyline(LINE), 5)


def test_relate_engine_judges_the_pattern():
    with pytest.raises(Exception) as info:
        geometry(SQUARE).relate(geometry(INNER), "TT")
    assert type(info.value) is Exception and info.value.args[0].startswith("Corvane library error: '")


@pytest.mark.parametrize("pattern,position", [("T*\0", 2), ("\0", 0), ("é\0T", 1)])
def test_relate_refuses_a_nul_before_anything_is_converted(pattern, position):
    converted = []

    def kxc_geo(self):
        converted.append(self)
        return getattr(vg.Polygon, "__kxc_geo")(self)
    g = with_protocol(vg.Polygon, kxc_geo)(SQUARE)
    assert g.equals(g) and len(converted) == 2
    with pytest.raises(ValueError) as info:
        g.relate(g, pattern)
    assert str(info.value) == f"The relation pattern holds a NUL character at position {position}."
    assert len(converted) == 2
    assert engine_hooks.live_objects() == 0


@pytest.mark.parametrize("cls,data", [(vg.Polygon, SQUARE), (vg.Polyline, LINE), (vg.Point, {"x": 1, "y": 1}),
                                      (vg.MultiPoint, {"points": [[1, 1]]}),
                                      (vg.Envelope, {"xmin": 1, "ymin": 1, "xmax": 2, "ymax": 2})])
def test_a_class_whose_protocol_was_replaced_is_asked_through_it(cls, data):
    # Objects of exactly a module class are converted without a call through Python, unless the
    # class's own __kxc_geo has been replaced: then the replacement is asked, as for a subclass.
    original = cls.__dict__["__kxc_geo"]
    asked = []

    def kxc_geo(self):
        asked.append(self)
        return original(self)
    g = cls(data)
    assert g.intersects(g) and asked == []
    setattr(cls, "__kxc_geo", kxc_geo)
    try:
        assert g.intersects(g) and len(asked) == 2 and all(a is g for a in asked)
        setattr(cls, "__kxc_geo", getattr(vg.Geometry, "__kxc_geo"))
        with pytest.raises(Exception, match=UNINITIALIZED):
            g.intersects(g)
    finally:
        setattr(cls, "__kxc_geo", original)
    assert g.intersects(g) and len(asked) == 2
    assert engine_hooks.live_objects() == 0


@pytest.mark.parametrize("call", [
    lambda g: g.contains(vg.Point({"x": 1, "y": 1})),
    lambda g: g.union(vg.Point({"x": 1, "y": 1})),
    lambda g: g.relate(vg.Point({"x": 1, "y": 1}), "T********"),
    lambda g: g.boundary(),
    lambda g: g.buffer(1.0),
    lambda g: g.extent,
    lambda g: g.project({"wkid": 3857}),
])
def test_bare_geometry_cannot_take_part(call):
    # A subclass instance whose protocol is the base class's.
    Bare = with_protocol(vg.Polygon, getattr(vg.Geometry, "__kxc_geo"))
    with pytest.raises(Exception) as info:
        call(Bare(SQUARE))
    assert str(info.value) == UNINITIALIZED
    with pytest.raises(Exception, match=UNINITIALIZED):
        geometry(SQUARE).contains(Bare(SQUARE))
    assert engine_hooks.live_objects() == 0


def test_argument_protocol_errors_destroy_what_was_made():
    Liar = with_protocol(vg.Point, lambda self: 42)
    g = geometry(SQUARE)
    with pytest.raises(TypeError, match="cannot be cast as 'KXCGeo'"):
        g.intersects(Liar({"x": 1, "y": 1}))
    def raiser(self):
        raise KeyError("mine")
    Raiser = with_protocol(vg.Point, raiser)
    with pytest.raises(KeyError, match="mine"):
        g.intersects(Raiser({"x": 1, "y": 1}))
    assert engine_hooks.live_objects() == 0


# (method, engine function, arguments)
RETURNED_ERRORS = [
    ("intersects", "KX_GeometryEngine_intersects", "g"),
    ("union", "KX_GeometryEngine_union", "g"),
    ("intersect", "KX_GeometryEngine_intersection", "g"),
    ("difference", "KX_GeometryEngine_difference", "g"),
    ("symmetric_difference", "KX_GeometryEngine_symmetricDifference", "g"),
    ("boundary", "KX_GeometryEngine_boundary", ""),
    ("convex_hull", "KX_GeometryEngine_convexHull", ""),
    ("simplify", "KX_GeometryEngine_simplify", ""),
]


@pytest.mark.parametrize("name,function,args", RETURNED_ERRORS)
def test_engine_errors_become_the_library_exception(name, function, args):
    g = geometry(SQUARE)
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(Exception) as info:
            getattr(g, name)(*([g] if args else []))
    assert type(info.value) is Exception
    assert info.value.args == (f"Corvane library error: 'Injected failure in {function}: Raised by a test hook'",)
    assert engine_hooks.live_objects() == 0


@pytest.mark.parametrize("name,function", [
    ("remove_m", "KX_GeometryEngine_removeM"), ("remove_z", "KX_GeometryEngine_removeZ"),
    ("remove_z_and_m", "KX_GeometryEngine_removeZAndM"),
    ("normalize_central_meridian", "KX_GeometryEngine_normalizeCentralMeridian"),
    ("is_simple", "KX_GeometryEngine_isSimple"), ("_area_planear", "KX_GeometryEngine_area")])
def test_engine_errors_of_the_reductions_are_faults(name, function):
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            getattr(geometry(SQUARE), name)()
    assert is_panic(info.value)
    assert str(info.value).startswith(f"Internal error: Unexpected error returned from internal function {function}")
    assert engine_hooks.live_objects() == 0


def test_null_results():
    g = geometry(SQUARE)
    with engine_hooks.failing("KX_GeometryEngine_normalizeCentralMeridian", engine_hooks.RETURN_NULL):
        assert g.normalize_central_meridian() is None
    with engine_hooks.failing("KX_GeometryEngine_removeM", engine_hooks.RETURN_NULL):
        with pytest.raises(BaseException) as info:
            g.remove_m()
    assert is_panic(info.value)
    assert str(info.value) == "Internal error: Unexpected null handle returned from core Geometry for GeometryOwned"


# (self, method, result class)
RESULT_CLASSES = [
    (SQUARE, "boundary", vg.Polyline),
    (LINE, "boundary", vg.MultiPoint),
    ({"x": 1, "y": 2}, "convex_hull", vg.Point),
    ({"points": [[0, 0], [1, 0], [0, 1]]}, "convex_hull", vg.Polygon),
    ({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}, "remove_m", vg.Envelope),
    (SQUARE, "simplify", vg.Polygon),
    (LINE, "normalize_central_meridian", vg.Polyline),
]


@pytest.mark.parametrize("d,name,cls", RESULT_CLASSES)
def test_result_class_follows_the_engine(d, name, cls):
    g = geometry(d)
    before = str(g)
    result = getattr(g, name)()
    assert type(result) is cls and result is not g
    assert str(g) == before


def test_results_are_of_the_base_class_never_a_subclass():
    class Mine(vg.Polygon):
        pass
    result = Mine(SQUARE).union(geometry(INNER))
    assert type(result) is vg.Polygon


def test_overlays_order_and_dimensions():
    outer, inner = geometry(SQUARE), geometry(INNER)
    assert outer.difference(inner).area == pytest.approx(96.0)
    assert inner.difference(outer).is_empty
    crossing = geometry({"paths": [[[0, 5], [10, 5]]]}).intersect(geometry(LINE))
    assert type(crossing) is vg.Polyline and crossing.is_empty
    assert outer.symmetric_difference(inner).area == pytest.approx(96.0)
    with pytest.raises(TypeError, match="^argument 'other'"):
        outer.intersect({"rings": []})


@pytest.mark.parametrize("dims", [{}, {"hasZ": True}, {"hasM": True}, {"hasZ": True, "hasM": True}])
def test_z_and_m_removal(dims):
    extra = [7] * (bool(dims.get("hasZ")) + bool(dims.get("hasM")))
    g = geometry({**dims, "paths": [[[0, 0, *extra], [1, 1, *extra]]]})
    no_m, no_z, neither = g.remove_m(), g.remove_z(), g.remove_z_and_m()
    assert (no_m.has_z, no_m.has_m) == (g.has_z, False)
    assert no_z.has_z is False and neither.has_z is False and neither.has_m is False
    assert (g.has_z, g.has_m) == (bool(dims.get("hasZ")), bool(dims.get("hasM")))


def test_curves_go_through_the_overlays():
    arc = geometry({"curveRings": [[[0, 0], {"a": [[0, 0], [1, 0], 0, 1]}]]})
    assert arc.has_curves is True
    assert arc.area == pytest.approx(np.pi, rel=1e-9)
    assert arc.intersects(geometry({"x": 1, "y": 0.99})) is True
    assert arc.intersect(geometry(SQUARE)).area == pytest.approx(np.pi / 2, rel=1e-2)


@pytest.mark.parametrize("call", [lambda a, b: a.contains(b), lambda a, b: a.union(b),
                                  lambda a, b: a.distance_to(b)])
def test_different_spatial_references_are_refused_by_the_engine(call):
    a = geometry({**SQUARE, "spatialReference": {"wkid": 4326}})
    b = geometry({**INNER, "spatialReference": {"wkid": 3857}})
    with pytest.raises(Exception, match="^Corvane library error: '") as info:
        call(a, b)
    assert type(info.value) is Exception
    assert a.equals(b) is False
    assert a.contains(geometry(INNER)) is True
    assert engine_hooks.live_objects() == 0


@pytest.mark.parametrize("name", ["remove_m", "remove_z", "remove_z_and_m"])
def test_removals_retype_their_result(name):
    # The first kind query is the removal's own re-typing; its failure is that fault.
    with engine_hooks.failing("KX_Geometry_getObjectType", engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            getattr(geometry(SQUARE), name)()
    assert is_panic(info.value)
    assert str(info.value).startswith(
        "Internal error: Unexpected error returned from KX_Geometry_getObjectType for downcast of GeometryOwned")
    assert engine_hooks.live_objects() == 0


def test_calls_leave_no_reference_behind():
    import sys
    a, b = geometry(SQUARE), geometry(INNER)
    origin, env, sr = vg.Point({"x": 0, "y": 0}), vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}), {"wkid": 3857}
    pattern = "T********"
    calls = [lambda: a.intersects(b), lambda: a.relate(b, pattern), lambda: a.union(b), lambda: a.rotate(1, origin),
             lambda: a.clip(env), lambda: a.project(sr), lambda: a.extent, lambda: a.cut(vg.Polyline(LINE)),
             lambda: a.buffer(1, max_deviation=1)]
    objects = [a, b, origin, env, sr, pattern]
    before = [sys.getrefcount(o) for o in objects]
    for call in calls:
        for _ in range(200):
            try:
                call()
            except ValueError:
                pass
    assert [sys.getrefcount(o) for o in objects] == before
    assert engine_hooks.live_objects() == 0
