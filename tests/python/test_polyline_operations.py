"""Polyline.extend, fraction_along and with_point_along: arguments, the engine's failures as the
exceptions they are mapped to (forced through the fault hooks, whatever the engine can compute),
and no engine object left behind."""
import inspect

import pytest

import engine_hooks
import vornix_geometry as vg

INJECTED = 'Injected failure in {}: Raised by a test hook'


def line():
    return vg.Polyline({"paths": [[[0, 0], [10, 0]]]})


def extender():
    return vg.Polyline({"paths": [[[12, -5], [12, 5]]]})


def point():
    return vg.Point({"x": 5, "y": 1})


@pytest.mark.parametrize("call, name, text", [
    (lambda: line().extend(5), "extender", "'int' object cannot be cast as 'Polyline'"),
    (lambda: line().extend(vg.Polyline({}).paths), "extender", "'Multipart' object cannot be cast as 'Polyline'"),
    (lambda: line().extend(extender(), 5), "extend_options", "'int' object cannot be cast as 'GeometryExtendOptions'"),
    (lambda: line().extend(extender(), None), "extend_options",
     "'NoneType' object cannot be cast as 'GeometryExtendOptions'"),
    (lambda: line().fraction_along({"x": 1, "y": 2}, 1), "point", "'dict' object cannot be cast as 'Point'"),
    (lambda: line().fraction_along(point(), "1"), "tolerance", "must be real number, not str"),
    (lambda: line().with_point_along(None), "distance", "must be real number, not NoneType"),
])
def test_argument_refusals(call, name, text):
    with pytest.raises(TypeError) as info:
        call()
    assert str(info.value) == f"argument '{name}': {text}"


def test_signatures():
    assert vg.Polyline.extend.__text_signature__ == "($self, extender, extend_options=...)"
    assert vg.Polyline.extend.__doc__.startswith("Extends a polyline using a polyline as the extender using the type "
                                                 "of extension specified with extendOptions.")
    assert vg.Polyline.fraction_along.__text_signature__ == "($self, point, tolerance)"
    assert vg.Polyline.fraction_along.__doc__.startswith(
        "Finds the location on the line nearest the input point, expressed as the")
    assert vg.Polyline.with_point_along.__text_signature__ == "($self, distance)"
    assert str(inspect.signature(vg.Polyline.with_point_along)) == "(self, /, distance)"


@pytest.mark.parametrize("call, function, exc, prefix", [
    (lambda: line().extend(extender()), "KX_GeometryEngine_extend", Exception, "Corvane library error: '"),
    (lambda: line().with_point_along(1.0), "KX_GeometryEngine_createPointAlong", Exception,
     "Corvane library error: '"),
    (lambda: line().fraction_along(point(), -1), "KX_GeometryEngine_fractionAlong", TypeError,
     "fraction_along failed: "),
])
def test_engine_errors(call, function, exc, prefix):
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(exc) as info:
            call()
    assert type(info.value) is exc
    assert str(info.value).startswith(prefix + INJECTED.format(function))
    assert engine_hooks.live_objects() == 0


def test_extend_without_a_result_is_none():
    p = line()
    with engine_hooks.failing("KX_GeometryEngine_extend", engine_hooks.RETURN_NULL):
        assert p.extend(extender(), vg.GeometryExtendOptions.RELOCATE_ENDS) is None
    assert str(p) == '{"paths": [[[0, 0], [10, 0]]]}' and engine_hooks.live_objects() == 0


def test_model_errors_come_before_the_engine():
    bad = vg.Polyline({"spatialReference": {"wkid": 999999}, "paths": [[[0, 0]]]})
    for call in (lambda: bad.extend(extender()), lambda: line().extend(bad), lambda: bad.with_point_along(1)):
        with pytest.raises(Exception, match="^Corvane library error: '"):
            call()
    assert engine_hooks.live_objects() == 0
