"""Point and Envelope: construction from dictionaries and shared objects, the properties and their
conversions, the VeltJSON text byte for byte, the spatial-reference setter and the locks."""
import math

import pytest

import engine_hooks
import vornix_geometry as vg

SR = {"wkid": 4326}
LOCK_ERROR = r"^Lock error: 'poisoned lock: another task failed inside'$"


@pytest.mark.parametrize("d, text", [
    ({"x": 1, "y": 2}, '{"x": 1, "y": 2}'),
    ({"x": 1.5, "y": -0.0, "z": None, "m": None}, '{"x": 1.5, "y": -0}'),
    ({"x": 1, "y": 2, "z": 3, "m": 4, "id": 9, "spatialReference": SR},
     '{"spatialReference": {"wkid":4326}, "x": 1, "y": 2, "z": 3, "m": 4}'),
    ({"x": 1, "y": 2, "m": 1e21}, '{"x": 1, "y": 2, "m": 1000000000000000000000}'),
    ({"x": float("nan"), "y": 0, "z": 5}, '{"x": null, "y": null, "z": null}'),
    ({"x": True, "y": 1e-7, "z": float("inf")}, '{"x": 1, "y": 0.0000001, "z": inf}'),
    ({"x": 0, "y": 0, "spatialReference": {}}, '{"spatialReference": {}, "x": 0, "y": 0}'),
])
def test_point_text(d, text):
    p = vg.Point(d)
    assert str(p) == repr(p) == text
    assert str(vg.Geometry(d)) == text


@pytest.mark.parametrize("d, text", [
    ({"xmin": 0, "ymin": 1, "xmax": 2, "ymax": 3}, '{"xmin": 0, "ymin": 1, "xmax": 2, "ymax": 3}'),
    ({"xmin": 0, "ymin": 1, "xmax": 2, "ymax": 3, "zmax": 5, "mmin": None, "idmin": 0, "idmax": 4294967295,
      "spatialReference": {"wkid": 3857, "latestWkid": 3857}},
     '{"spatialReference": {"wkid":3857,"latestWkid":3857}, "xmin": 0, "ymin": 1, "xmax": 2, "ymax": 3, '
     '"zmax": 5, "idmin": 0, "idmax": 4294967295}'),
    ({"xmin": float("nan"), "ymin": 1, "xmax": 2, "ymax": 3, "zmin": 1, "idmin": 3},
     '{"xmin": null, "ymin": null, "xmax": null, "ymax": null, "zmin": null, "idmin": null}'),
    ({"xmin": 10, "ymin": 1, "xmax": 1, "ymax": 0, "zmin": 1, "zmax": 2, "mmin": 3, "mmax": 4},
     '{"xmin": 10, "ymin": 1, "xmax": 1, "ymax": 0, "zmin": 1, "zmax": 2, "mmin": 3, "mmax": 4}'),
])
def test_envelope_text(d, text):
    e = vg.Envelope(d)
    assert str(e) == repr(e) == text
    assert str(vg.Geometry(d)) == text


class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


@pytest.mark.parametrize("cls, arg, exc, message", [
    (vg.Point, {"y": 2}, Exception, r"^Resolution error: 'Did not find 'x' in dict during resolution'$"),
    (vg.Point, {"x": 1}, Exception, r"^Resolution error: 'Did not find 'y' in dict during resolution'$"),
    (vg.Point, {"x": None, "y": 0}, TypeError, r"must be real number, not NoneType"),
    (vg.Point, {"x": 1, "y": "2"}, TypeError, r"must be real number, not str"),
    (vg.Point, {"x": 1, "y": 2, "z": "a"}, TypeError, r"must be real number, not str"),
    (vg.Point, {"x": 1, "y": 2, "spatialReference": None}, Exception,
     r"^Python cast error: ''NoneType' object cannot be cast as 'dict''$"),
    (vg.Point, {"x": 1, "y": 2, "spatialReference": {"wkid": -1}}, OverflowError,
     r"^out of range integral type conversion attempted$"),
    (vg.Point, {"x": 1, "y": 2, "spatialReference": {"wkid": 4294967296}}, OverflowError,
     r"^out of range integral type conversion attempted$"),
    (vg.Point, {"x": 1, "y": 2, "spatialReference": {"wkid": 2**70}}, OverflowError, r"too large"),
    (vg.Point, {"x": 1, "y": 2, "spatialReference": {"wkid": 4326.0}}, TypeError, r"float"),
    (vg.Point, {"x": 1, "y": 2, "spatialReference": {"wkt": 5}}, TypeError, r"'int'"),
    (vg.Point, [1, 2], TypeError, r"^Point from_py expects a Point object or a dict$"),
    (vg.Point, vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}), TypeError,
     r"^Point from_py expects a Point object or a dict$"),
    (vg.Envelope, {"xmin": 0, "ymin": 0, "xmax": 1}, Exception,
     r"^Resolution error: 'Did not find 'ymax' in dict during resolution'$"),
    (vg.Envelope, {"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1, "idmin": -1}, OverflowError,
     r"^out of range integral type conversion attempted$"),
    (vg.Envelope, {"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1, "idmax": 1.5}, TypeError, r"float"),
    (vg.Envelope, [0, 0, 1, 1], TypeError, r"^Envelope from_py expects an Envelope object or dict$"),
])
def test_construction_refusals(cls, arg, exc, message):
    with pytest.raises(exc, match=message) as info:
        cls(arg)
    assert type(info.value) is exc


@pytest.mark.parametrize("call, message", [
    (lambda: vg.Point(), r"^Point.__new__\(\) missing 1 required positional argument: 'point'$"),
    (lambda: vg.Envelope({}, {}), r"takes 1 positional arguments but 2 were given"),
])
def test_constructor_arguments(call, message):
    with pytest.raises(TypeError, match=message):
        call()


def test_keyword_constructors_and_signatures():
    assert str(vg.Point(point={"x": 1, "y": 2})) == '{"x": 1, "y": 2}'
    assert vg.Envelope(point={"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}).xmax == 1.0
    assert vg.Point.__text_signature__ == "(point)"
    assert vg.Envelope.__text_signature__ == "(point)"
    assert vg.Point.__kxc_geo.__text_signature__ == "($self)"
    assert vg.Point.__module__ == vg.Envelope.__module__ == "vornix_geometry"


def test_objects_made_from_objects_share_one_model():
    p = vg.Point({"x": 1, "y": 2})
    q = vg.Point(p)
    q.x = 5
    assert p.x == 5.0 and str(p) == str(q)
    e = vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1})
    f = vg.Envelope(e)
    f.xmin = 5
    assert e.xmin == 5.0


class Sub(vg.Point):
    pass


def test_subclass_constructor_and_factory_class():
    s = Sub({"x": 1, "y": 2})
    assert type(s) is Sub and isinstance(s, vg.Geometry)
    assert type(vg.Geometry({"x": 1, "y": 2})) is vg.Point


def test_point_properties():
    p = vg.Point({"x": 1, "y": 2})
    assert (p.z, p.m, p.has_z, p.has_m, p.hasM, p.is_empty, p.id) == (None, None, False, False, False, False, None)
    assert p.geometry_type == "Point"
    assert not hasattr(p, "hasZ")
    p.z, p.m = 3.5, 7
    assert (p.z, p.m, p.has_z, p.has_m, p.hasM) == (3.5, 7.0, True, True, True)
    p.z = None
    assert (p.z, p.has_z) == (None, False)
    p.y = None
    assert math.isnan(p.y) and not p.is_empty
    p.x = 3
    assert p.x == 3.0 and type(p.x) is float
    p.x = None
    assert math.isnan(p.x) and p.is_empty
    assert vg.Point({"x": 1, "y": 2, "id": 5}).id is None


def test_envelope_properties():
    e = vg.Envelope({"xmin": 0, "ymin": 1, "xmax": 2, "ymax": 3})
    assert (e.xmin, e.ymin, e.xmax, e.ymax) == (0.0, 1.0, 2.0, 3.0)
    assert (e.zmin, e.mmin, e.idmin, e.has_z, e.has_m, e.is_empty) == (None, None, None, False, False, False)
    assert e.geometry_type == "Envelope" and not hasattr(e, "JSON") and not hasattr(e, "ids")
    e.zmax = 4
    assert (e.zmax, e.has_z) == (4.0, False)
    e.zmin, e.mmin, e.idmin = 1, 2, 7
    assert (e.has_z, e.has_m, e.idmin) == (True, True, 7)
    e.zmin = None
    assert e.zmin is None and not e.has_z
    e.xmin = 10
    assert e.xmin == 10.0
    e.xmin = None
    assert e.is_empty and math.isnan(e.xmin)


@pytest.mark.parametrize("obj, name, value, exc, message", [
    (vg.Point, "x", "a", TypeError, r"^argument 'x_in': must be real number, not str$"),
    (vg.Point, "y", [], TypeError, r"^argument 'y_in': "),
    (vg.Point, "z", "a", TypeError, r"^argument 'z': "),
    (vg.Point, "m", "a", TypeError, r"^argument 'm': "),
    (vg.Envelope, "xmin", "a", TypeError, r"^argument 'xmin_in': "),
    (vg.Envelope, "ymax", "a", TypeError, r"^argument 'ymax_in': "),
    (vg.Envelope, "zmin", "a", TypeError, r"^argument 'zmin': "),
    (vg.Envelope, "idmin", -1, OverflowError, r"^out of range integral type conversion attempted$"),
    (vg.Envelope, "idmax", 1.5, TypeError, r"^argument 'idmax': "),
    (vg.Point, "spatial_reference", None, Exception,
     r"^Python cast error: ''NoneType' object cannot be cast as 'dict''$"),
    (vg.Envelope, "spatial_reference", [1], Exception,
     r"^Python cast error: ''list' object cannot be cast as 'dict''$"),
    (vg.Point, "has_z", True, AttributeError, r""),
    (vg.Envelope, "is_empty", True, AttributeError, r""),
    (vg.Point, "geometry_type", "x", AttributeError, r""),
])
def test_setter_refusals_leave_the_object_unchanged(obj, name, value, exc, message):
    o = obj({"x": 1, "y": 2, "xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1})
    before = str(o)
    with pytest.raises(exc, match=message):
        setattr(o, name, value)
    assert str(o) == before


@pytest.mark.parametrize("name", ["x", "y", "z", "m", "spatial_reference", "xmin", "idmax", "zmin"])
def test_deleting_a_property(name):
    o = vg.Point({"x": 1, "y": 2}) if name in "xyzm" or name == "spatial_reference" else \
        vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1})
    with pytest.raises(AttributeError, match=r"^can't delete attribute$"):
        delattr(o, name)


@pytest.mark.parametrize("obj", [vg.Point({"x": 1, "y": 2}), vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1})])
def test_spatial_reference_setter(obj):
    obj.spatial_reference = {"wkid": 4326, "wkt": None}
    assert '"spatialReference": {"wkid":4326}' in str(obj)
    obj.spatial_reference = {}
    assert '"spatialReference": {}' in str(obj)


def test_spatial_reference_setter_runs_user_code_without_the_lock():
    p = vg.Point({"x": 1, "y": 2})
    seen = []

    class Touching:
        def __index__(self):
            seen.append(str(p))  # would block forever if the point's lock were held here
            return 4326

    p.spatial_reference = {"wkid": Touching()}
    assert seen == ['{"x": 1, "y": 2}']
    assert str(p) == '{"spatialReference": {"wkid":4326}, "x": 1, "y": 2}'


@pytest.mark.parametrize("make, function", [
    (lambda: vg.Point({"x": 1, "y": 2}), "KX_Point_createWithXY"),
    (lambda: vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}), "KX_Envelope_createWithXY"),
])
def test_a_fault_under_the_lock_poisons_the_object(make, function):
    obj = make()
    other = type(obj)(obj)
    with engine_hooks.failing(function, engine_hooks.RETURN_NULL):
        with pytest.raises(BaseException) as info:
            obj.__kxc_geo()
    assert type(info.value).__qualname__ == "PanicException"
    for action in (lambda: str(obj), lambda: other.is_empty, lambda: obj.__kxc_geo(),
                   lambda: setattr(other, "spatial_reference", {"wkid": Index(1)})):
        with pytest.raises(Exception, match=LOCK_ERROR) as info:
            action()
        assert type(info.value) is Exception
    assert type(obj).__name__ in obj.geometry_type


def test_engine_json_differs_from_the_text():
    p = vg.Point({"x": 1, "y": 2, "z": 3, "spatialReference": SR})
    assert p.JSON != str(p)
    assert str(vg.Geometry(p.JSON)) == str(p)
