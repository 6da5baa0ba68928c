"""Polyline: construction from dictionaries and shared objects, the VeltJSON text byte for byte,
properties, the path setters and the spatial-reference setter."""
import inspect

import pytest

import engine_hooks  # noqa: F401
import vornix_geometry as vg

LINE = [[[0, 0], [1, 1]]]
ARC_PATH = [[0, 0], {"c": [[2, 0], [1, 1]]}, [3, 1]]


@pytest.mark.parametrize("d, text", [
    ({}, '{"paths": []}'),
    ({"paths": LINE}, '{"paths": [[[0, 0], [1, 1]]]}'),
    ({"paths": [[[1e21, 1e-7], [-0.0, 5e-324]]]},
     '{"paths": [[[1000000000000000000000, 0.0000001], [-0, 0.' + "0" * 323 + '5]]]}'),
    ({"hasZ": True, "paths": [[[1, 2, 3], [4.5, 5, float("nan")], [6, 7]]]},
     '{"hasZ": true, "paths": [[[1, 2, 3], [4.5, 5, NaN], [6, 7, NaN]]]}'),
    ({"hasM": True, "spatialReference": {"wkid": 4326}, "paths": LINE},
     '{"hasM": true, "spatialReference": {"wkid":4326}, "paths": [[[0, 0, NaN], [1, 1, NaN]]]}'),
    ({"hasZ": True, "hasM": True, "paths": [[[1, 2, None, 4], [1, 2, 3, 4, 5]]]},
     '{"hasZ": true, "hasM": true, "paths": [[[1, 2, NaN, 4], [1, 2, 3, 4]]]}'),
    ({"hasZ": 1, "hasM": "yes", "paths": [[[1, 2, 3]]]}, '{"paths": [[[1, 2]]]}'),
    ({"curvePaths": [ARC_PATH]}, '{"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}, [3, 1]]], "paths": []}'),
    ({"curvePaths": [[[0, 0], {"a": [[2, 0], [1, 0], 1, 0, 0.5, 10, 0.25]},
                      {"a": [[4, 0], [3, 0], 0, 1, 0, 1, 1.0]}, {"b": [[6, 0], [5, 1], [5, -1]]}]]},
     '{"curvePaths": [[[0, 0], {"a": [[2, 0], [1, 0], 1, 0, 0.5, 10, 0.25]}, {"a": [[4, 0], [3, 0], 0, 1]}, '
     '{"b": [[6, 0], [5, 1], [5, -1]]}]], "paths": []}'),
    ({"spatialReference": {}}, '{"spatialReference": {}, "paths": []}'),
])
def test_text(d, text):
    p = vg.Polyline(d)
    assert str(p) == text and repr(p) == text


@pytest.mark.parametrize("arg, exc, message", [
    (5, TypeError, "Polyline.push_part expects a Part or a dict"),
    ([LINE], TypeError, "Polyline.push_part expects a Part or a dict"),
    ({"paths": None}, TypeError, "'NoneType' object cannot be cast as 'list'"),
    ({"paths": (LINE[0],)}, TypeError, "'tuple' object cannot be cast as 'list'"),
    ({"curvePaths": [[[0, 0]]], "paths": 3}, TypeError, "'int' object cannot be cast as 'list'"),
    ({"paths": [[(0, 0)]]}, TypeError, "'tuple' object cannot be cast as 'list'"),
    ({"paths": [[[0]]]}, IndexError, "list index out of range"),
    ({"paths": [[["a", 0]]]}, TypeError, "must be real number, not str"),
    ({"curvePaths": [[{"c": [[1, 1], [0, 0]]}]]}, ValueError,
     "Tried to create curve part with a curve as the first segment- must have a regular coordinate as start vertex"),
    ({"spatialReference": None}, Exception, "Python cast error: ''NoneType' object cannot be cast as 'dict''"),
    ({"spatialReference": {"wkid": -1}}, OverflowError, "out of range integral type conversion attempted"),
])
def test_construction_refusals(arg, exc, message):
    with pytest.raises(exc) as info:
        vg.Polyline(arg)
    assert type(info.value) is exc and str(info.value) == message


@pytest.mark.parametrize("call, message", [
    (lambda: vg.Polyline(), "Polyline() missing 1 required positional argument: 'polyline'"),
    (lambda: vg.Polyline({}, {}), "Polyline() takes 1 positional arguments but 2 were given"),
    (lambda: vg.Polyline(shape={}), "Polyline() got an unexpected keyword argument 'shape'"),
])
def test_constructor_arguments(call, message):
    with pytest.raises(TypeError, match=f"^{message}$".replace("(", r"\(").replace(")", r"\)")):
        call()


def test_keyword_construction_and_signatures():
    assert str(vg.Polyline(polyline={"paths": LINE})) == '{"paths": [[[0, 0], [1, 1]]]}'
    assert vg.Polyline.__text_signature__ == "(polyline)"
    assert str(inspect.signature(vg.Polyline)) == "(polyline)"
    assert vg.Polyline.__kxc_geo.__text_signature__ == "($self)"


def test_objects_made_from_objects_share_one_model():
    p = vg.Polyline({"paths": LINE})
    q = vg.Polyline(p)
    assert q is not p and q != p
    q.spatial_reference = {"wkid": 3857}
    p.paths[0].append([2, 2])
    assert str(p) == str(q) == '{"spatialReference": {"wkid":3857}, "paths": [[[0, 0], [1, 1], [2, 2]]]}'


def test_subclass_constructor():
    class Mine(vg.Polyline):
        pass
    m = Mine({"paths": LINE})
    assert type(m) is Mine and isinstance(m, vg.Geometry)
    assert str(Mine(m)) == str(m)


@pytest.mark.parametrize("d, has_z, has_m, empty", [
    ({}, False, False, True),
    ({"paths": [[]]}, False, False, False),
    ({"hasZ": True, "curvePaths": [[[0, 0, 1]]]}, True, False, False),
    ({"hasM": True, "hasZ": True}, True, True, True),
])
def test_properties(d, has_z, has_m, empty):
    p = vg.Polyline(d)
    assert (p.has_z, p.has_m, p.is_empty) == (has_z, has_m, empty)
    assert p.ids is None and p.geometry_type == "Polyline"
    assert p.spatial_reference is None


@pytest.mark.parametrize("name", ["has_z", "has_m", "is_empty", "JSON", "ids", "geometry_type"])
def test_read_only_properties(name):
    p = vg.Polyline({})
    with pytest.raises(AttributeError):
        setattr(p, name, True)


@pytest.mark.parametrize("name", ["paths", "curve_paths", "spatial_reference"])
def test_deleting_a_settable_property(name):
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        delattr(vg.Polyline({}), name)


def test_spatial_reference_is_a_copy_and_set_from_dicts_only():
    p = vg.Polyline({"spatialReference": {"wkid": 4326}})
    sr = p.spatial_reference
    assert type(sr) is vg.SpatialReference and sr.wkid == 4326
    sr.wkid = 1
    assert p.spatial_reference.wkid == 4326
    for value, name in [(sr, "SpatialReference"), (None, "NoneType"), ([], "list")]:
        with pytest.raises(Exception) as info:
            p.spatial_reference = value
        assert type(info.value) is Exception
        assert str(info.value) == f"Python cast error: ''{name}' object cannot be cast as 'dict''"
    with pytest.raises(TypeError, match="^'int' object cannot be cast as 'str'$"):
        p.spatial_reference = {"wkt": 5}
    assert str(p) == '{"spatialReference": {"wkid":4326}, "paths": []}'
    p.spatial_reference = {"latestWkid": 3857, "wkt": "x", "other": 1}
    assert str(p) == '{"spatialReference": {"latestWkid":3857,"wkt":"x"}, "paths": []}'


def test_spatial_reference_assignment_runs_user_code_without_the_lock():
    p = vg.Polyline({"paths": LINE})
    seen = []

    class Touching:
        def __index__(self):
            seen.append(str(p))  # blocks forever if the polyline's lock were held
            p.paths[0].append([2, 2])
            return 4326

    p.spatial_reference = {"wkid": Touching()}
    assert seen == ['{"paths": [[[0, 0], [1, 1]]]}']
    assert str(p) == '{"spatialReference": {"wkid":4326}, "paths": [[[0, 0], [1, 1], [2, 2]]]}'


def test_path_setters_share_the_given_collection():
    p = vg.Polyline({"paths": LINE})
    old = p.paths
    p.paths = [[[5, 5], [6, 6]]]
    old.append([[9, 9]])
    assert str(p) == '{"paths": [[[5, 5], [6, 6]]]}' and str(old) == "[[[0, 0], [1, 1]], [[9, 9]]]"
    q = vg.Polyline({})
    q.paths = p.paths
    q.paths.append([[7, 7]])
    assert str(p) == '{"paths": [[[5, 5], [6, 6]], [[7, 7]]]}'
    q.curve_paths = [ARC_PATH]
    assert str(q.curve_paths) == '[[[0, 0], {"c": [[2, 0], [1, 1]]}, [3, 1]]]'


@pytest.mark.parametrize("name, value, exc, message", [
    ("paths", (1,), TypeError, "Multipart from_py requires a Multipart or a list"),
    ("curve_paths", vg.Polyline({}).paths, TypeError, "Multipart from_py requires a Multipart or a list"),
    ("paths", vg.Polyline({}).curve_paths, TypeError, "Multipart from_py requires a Multipart or a list"),
    ("paths", vg.Polyline({"hasZ": True}).paths, Exception, "Mismatching dimensions, expected 'XY' but got 'XYZ'"),
    ("curve_paths", vg.Polyline({"hasM": True}).curve_paths, Exception,
     "Mismatching dimensions, expected 'XY' but got 'XYM'"),
    ("paths", [5], TypeError, "'int' object cannot be cast as 'list'"),
])
def test_path_setter_refusals_leave_the_polyline_unchanged(name, value, exc, message):
    p = vg.Polyline({"paths": LINE, "curvePaths": [ARC_PATH]})
    before = str(p)
    with pytest.raises(exc) as info:
        setattr(p, name, value)
    assert type(info.value) is exc and str(info.value) == message
    assert str(p) == before


def test_to_dict_is_the_engine_json_and_a_fresh_dict():
    p = vg.Polyline({"hasZ": True, "paths": [[[0, 0, 1], [1, 1, 2]]], "spatialReference": {"wkid": 4326}})
    d = p.to_dict()
    assert d == {"hasZ": True, "paths": [[[0.0, 0.0, 1.0], [1.0, 1.0, 2.0]]], "spatialReference": {"wkid": 4326}}
    d["paths"].clear()
    assert p.to_dict() == {**d, "paths": [[[0.0, 0.0, 1.0], [1.0, 1.0, 2.0]]]}
    assert p.JSON != str(p)
