"""Geometry(x): the class chosen by the keys of a dictionary, VeltJSON text through the engine's
reader, the class chosen by the engine's type code, and the refusals."""
import pytest

import engine_hooks
import vornix_geometry as vg

UNKNOWN_KIND, SKIP_ONE = 5, 0x100
PANIC_TEXT = r"^In vornix_geometry.Geometry factory new \(geom_factory_new\): caught panic$"

RING = [[0, 0], [0, 1], [1, 1], [0, 0]]


@pytest.mark.parametrize("d, cls", [
    ({"rings": [], "paths": [[[0, 0], [1, 1]]]}, "Polygon"),
    ({"curveRings": [], "points": []}, "Polygon"),
    ({"paths": [], "x": 1, "y": 2}, "Polyline"),
    ({"curvePaths": [], "xmin": 0}, "Polyline"),
    ({"x": 1.0, "y": 2.0, "points": []}, "MultiPoint"),
    ({"x": 1, "y": 2, "xmin": 0, "wkid": 4326}, "Point"),
    ({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1, "wkid": 1}, "Envelope"),
    ({"wkid": 4326, "wkt": "x", "paths_": 1}, "SpatialReference"),
    ({"wkt": "GEOGCS[]"}, "SpatialReference"),
    ({"latestWkt": 1}, "SpatialReference"),
])
def test_first_key_present_chooses_the_class(d, cls):
    assert type(vg.Geometry(d)).__name__ == cls


class Keys(dict):
    """A dict subclass whose own lookups must not decide."""

    def __contains__(self, key):
        raise AssertionError("the dictionary's own membership test is used")


def test_dict_subclass_and_none_values_still_select():
    assert type(vg.Geometry(Keys(x=1, y=2))) is vg.Point
    with pytest.raises(TypeError, match=r"must be real number, not NoneType"):
        vg.Geometry({"x": None, "y": 2})


class Unprintable:
    def __repr__(self):
        return "<U>"


@pytest.mark.parametrize("value, exc, message", [
    ({}, ValueError, r"^Dict missing keys to represent an Vornix geometry: \{\}$"),
    ({"X": 1, "type": "point"}, ValueError,
     r"^Dict missing keys to represent an Vornix geometry: \{'X': 1, 'type': 'point'\}$"),
    ([1, 2], TypeError,
     r"^Could not convert object \[1, 2\] into Vornix geometry\.  Geometry factory expects a dict or VeltJSON string$"),
    (None, TypeError, r"^Could not convert object None into Vornix geometry\.  "),
    (Unprintable(), TypeError, r"^Could not convert object <U> into Vornix geometry\.  "),
    (b"\xff\xfe", TypeError, r"^Could not convert object b'\\xff\\xfe' into Vornix geometry\.  "),
    ("\ud800", TypeError, r"^Could not convert object '\\ud800' into Vornix geometry\.  "),
    ('{"x": 1\x00}', ValueError, r"^VeltJSON text holds a NUL character at position 7\.$"),
    (b'\x00{"x": 1}', ValueError, r"^VeltJSON text holds a NUL character at position 0\.$"),
    ('{"é": 1, "x": 1, "y": 2}\x00', ValueError, r"^VeltJSON text holds a NUL character at position 24\.$"),
    ("not json", Exception, r"^Corvane library error: '"),
    ('{"y": 1}', Exception, r"^Corvane library error: '"),
])
def test_refusals(value, exc, message):
    with pytest.raises(exc, match=message) as info:
        vg.Geometry(value)
    assert type(info.value) is exc


def test_objects_of_the_module_are_not_converted():
    p = vg.Point({"x": 1, "y": 2})
    with pytest.raises(TypeError, match=r"^Could not convert object \{\"x\": 1, \"y\": 2\} into Vornix geometry"):
        vg.Geometry(p)


@pytest.mark.parametrize("text, cls", [
    ('{"x": 1, "y": 2}', "Point"),
    (b'{"x": 1, "y": 2, "z": 3, "m": 4}', "Point"),
    ('{"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1}', "Envelope"),
    ('{"paths": [[[0, 0], [1, 1]]]}', "Polyline"),
    ('{"rings": [[[0, 0], [0, 1], [1, 1], [0, 0]]]}', "Polygon"),
    ('{"points": [[0, 0], [1, 1]]}', "MultiPoint"),
])
def test_text_goes_to_the_engine_and_the_type_code_chooses(text, cls):
    g = vg.Geometry(text)
    assert type(g).__name__ == cls


def test_unknown_engine_kind_is_an_ordinary_error():
    with engine_hooks.failing("KX_Geometry_getObjectType", UNKNOWN_KIND | SKIP_ONE):
        with pytest.raises(Exception, match=r"^Corvane library error: 'Tried to convert geometry of unknown type "
                                            r"into a python geometry'$") as info:
            vg.Geometry('{"x": 1, "y": 2}')
    assert type(info.value) is Exception


@pytest.mark.parametrize("mode", [engine_hooks.BAD_CODE | SKIP_ONE, engine_hooks.REPORT_ERROR,
                                  engine_hooks.REPORT_ERROR | SKIP_ONE])
def test_faults_of_the_type_query_become_runtime_errors(mode):
    with engine_hooks.failing("KX_Geometry_getObjectType", mode):
        with pytest.raises(RuntimeError, match=PANIC_TEXT):
            vg.Geometry('{"x": 1, "y": 2}')
