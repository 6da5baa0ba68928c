"""VeltJSON dictionaries of every kind and dimension, straight and curved, with their defaults and
refusals, and the coordinate lists inside them."""
import math

import pytest

import vornix_geometry as vg

DIMS = [(False, False), (True, False), (False, True), (True, True)]


def coord_text(values, has_z, has_m):
    """The vertex as a part with these dimensions stores it: z, then m (the third item without z)."""
    kept = values[:2] + values[2:2 + has_z + has_m]
    return "[" + ", ".join(f"{v:g}" for v in kept) + "]"


def dims_text(has_z, has_m):
    return ('"hasZ": true, ' if has_z else "") + ('"hasM": true, ' if has_m else "")


V1, V2, V3 = [0, 0, 3, 4], [2, 0, 7, 8], [1, -1, 11, 12]


def cases():
    for has_z, has_m in DIMS:
        d = {"hasZ": has_z, "hasM": has_m}
        c = [coord_text(v, has_z, has_m) for v in (V1, V2, V3)]
        head = "{" + dims_text(has_z, has_m)
        arc = '{"c": [' + c[1] + ", [1, 1]]}"
        yield vg.MultiPoint, {**d, "points": [V1, V2]}, f'{head}"points": [{c[0]}, {c[1]}]}}'
        yield vg.Polyline, {**d, "paths": [[V1, V2]]}, f'{head}"paths": [[{c[0]}, {c[1]}]]}}'
        yield (vg.Polyline, {**d, "curvePaths": [[V1, {"c": [V2, [1, 1]]}]]},
               f'{head}"curvePaths": [[{c[0]}, {arc}]], "paths": []}}')
        yield vg.Polygon, {**d, "rings": [[V1, V2, V3]]}, f'{head}"rings": [[{c[0]}, {c[1]}, {c[2]}]]}}'
        yield (vg.Polygon, {**d, "curveRings": [[V1, {"c": [V2, [1, 1]]}]], "rings": [[V3, V2, V1]]},
               f'{head}"curveRings": [[{c[0]}, {arc}]], "rings": [[{c[2]}, {c[1]}, {c[0]}]]}}')


@pytest.mark.parametrize("cls, d, text", list(cases()))
def test_every_kind_and_dimension(cls, d, text):
    g = cls(d)
    assert str(g) == text
    assert (g.has_z, g.has_m) == (d["hasZ"], d["hasM"])
    assert type(vg.Geometry(d)) is cls and str(vg.Geometry(d)) == text


@pytest.mark.parametrize("cls, d", [(cls, d) for cls, d, _ in cases()])
def test_every_kind_round_trips_through_the_engine(cls, d):
    g = cls(d)
    again = vg.Geometry(g.JSON)
    assert type(again) is cls and str(again) == str(g)


@pytest.mark.parametrize("cls, d, text", [
    (vg.MultiPoint, {"points": [[1, 2, 3]]}, '{"points": [[1, 2]]}'),
    (vg.MultiPoint, {"points": [[1, 2]], "hasZ": True}, '{"hasZ": true, "points": [[1, 2, NaN]]}'),
    (vg.MultiPoint, {"points": [[1, 2, 3]], "hasZ": 1, "hasM": "true"}, '{"points": [[1, 2]]}'),
    (vg.MultiPoint, {"points": [[1, 2, 3]], "hasM": True}, '{"hasM": true, "points": [[1, 2, 3]]}'),
    (vg.MultiPoint, {"points": [[1, 2, None, 7, 9]], "hasZ": True, "hasM": True},
     '{"hasZ": true, "hasM": true, "points": [[1, 2, NaN, 7]]}'),
    (vg.MultiPoint, {"points": [[1, 2, "a", []]], "hasZ": True, "hasM": True},
     '{"hasZ": true, "hasM": true, "points": [[1, 2, NaN, NaN]]}'),
    (vg.MultiPoint, {"points": [], "spatialReference": {"wkid": 4326, "vcsWkid": 5773}},
     '{"spatialReference": {"wkid":4326,"vcsWkid":5773}, "points": []}'),
    (vg.Polyline, {"paths": []}, '{"paths": []}'),
    (vg.Polyline, {"paths": [[]]}, '{"paths": [[]]}'),
    (vg.Polygon, {}, '{"rings": []}'),
    (vg.Polygon, {"hasZ": True}, '{"hasZ": true, "rings": []}'),
    (vg.Polygon, {"rings": [[[0, 0], [1, 1], [2, 0]]], "type": "polygon", "attributes": {}},
     '{"rings": [[[0, 0], [1, 1], [2, 0]]]}'),
    (vg.Polygon, {"rings": [[[0, 0, 5], [1, 1], [2, 0]]], "hasZ": True},
     '{"hasZ": true, "rings": [[[0, 0, 5], [1, 1, NaN], [2, 0, NaN]]]}'),
    (vg.Polygon, {"curveRings": [[[0, 0], {"a": [[2, 0], [1, 0], 0, 1, 0, 1, 0.5]}]]},
     '{"curveRings": [[[0, 0], {"a": [[2, 0], [1, 0], 0, 1, 0, 1, 0.5]}]], "rings": []}'),
    (vg.Polygon, {"curveRings": [[[0, 0], {"b": [[2, 0], [0, 1], [2, 1]]}, [1, -1]]]},
     '{"curveRings": [[[0, 0], {"b": [[2, 0], [0, 1], [2, 1]]}, [1, -1]]], "rings": []}'),
])
def test_defaults(cls, d, text):
    assert str(cls(d)) == text


RESOLUTION = "^Resolution error: 'Did not find points in multipoint dict'$"


@pytest.mark.parametrize("cls, d, exc, message", [
    (vg.MultiPoint, {}, Exception, RESOLUTION),
    (vg.MultiPoint, {"points": None}, TypeError, r"^'NoneType' object cannot be cast as 'list'$"),
    (vg.MultiPoint, {"points": ([1, 2],)}, TypeError, r"^'tuple' object cannot be cast as 'list'$"),
    (vg.MultiPoint, {"points": [(1, 2)]}, TypeError, r"^'tuple' object cannot be cast as 'list'$"),
    (vg.MultiPoint, {"points": [[1]]}, IndexError, r"list index out of range"),
    (vg.MultiPoint, {"points": [[None, 2]]}, TypeError, r"must be real number, not NoneType"),
    (vg.MultiPoint, {"points": [[1, "2"]]}, TypeError, r"must be real number, not str"),
    (vg.MultiPoint, {"points": [], "spatialReference": 5}, Exception,
     r"^Python cast error: ''int' object cannot be cast as 'dict''$"),
    (vg.Polyline, {"paths": [[[0, 0]], 5]}, TypeError, r"^'int' object cannot be cast as 'list'$"),
    (vg.Polygon, {"rings": None}, TypeError, r"^'NoneType' object cannot be cast as 'list'$"),
    (vg.Polygon, {"rings": ()}, TypeError, r"^'tuple' object cannot be cast as 'list'$"),
    (vg.Polygon, {"curveRings": None}, TypeError, r"^'NoneType' object cannot be cast as 'list'$"),
    (vg.Polygon, {"rings": [[[0, 0], [1, 1]]]}, Exception,
     r"^Ring must have sufficient data to enclose an area: Linear ring requires len >= 3, but got: 2$"),
    (vg.Polygon, {"curveRings": [[[0, 0]]]}, Exception,
     r"^Ring must have sufficient data to enclose an area: Curved ring requires at least 2 vertices, but got: 1$"),
    (vg.Polygon, {"curveRings": [[[0, 0], [1, 1]]]}, Exception,
     r"^Ring must have sufficient data to enclose an area: Curved ring with only two vertices requires a curved "
     r"segment in order to enclose an area$"),
    (vg.Polygon, {"curveRings": [[{"c": [[2, 0], [1, 1]]}, [0, 0]]]}, ValueError,
     r"^Tried to create curve part with a curve as the first segment- must have a regular coordinate as start "
     r"vertex$"),
    (vg.Polygon, {"rings": [[[0, 0], [1, 1], [2, 0]]], "spatialReference": None}, Exception,
     r"^Python cast error: ''NoneType' object cannot be cast as 'dict''$"),
    (vg.Polygon, 1, TypeError, r"^Polygon.push_part expects a Part or a dict$"),
    (vg.MultiPoint, [[1, 2]], TypeError, r"^MultiPoint from_py expects a MultiPoint or dict$"),
    (vg.MultiPoint, vg.Polygon({}), TypeError, r"^MultiPoint from_py expects a MultiPoint or dict$"),
])
def test_refusals(cls, d, exc, message):
    with pytest.raises(exc, match=message) as info:
        cls(d)
    assert type(info.value) is exc


class Ordinate:
    """A number-like value whose conversion fails in a chosen way."""

    def __init__(self, error):
        self.error = error

    def __float__(self):
        raise self.error


@pytest.mark.parametrize("z", [Ordinate(TypeError("no")), Ordinate(ValueError("no")), Ordinate(RuntimeError("no")),
                               Ordinate(MemoryError()), Ordinate(ZeroDivisionError()), 10**400, "1", None])
def test_z_or_m_that_does_not_convert_is_absent_whatever_exception_it_raises(z):
    assert str(vg.MultiPoint({"points": [[1, 2, z]], "hasZ": True})) == '{"hasZ": true, "points": [[1, 2, NaN]]}'
    p = vg.Polyline({"hasZ": True, "hasM": True, "paths": [[[1.0, 2.0, z, z]]]})
    assert str(p.paths[0]) == "[[1, 2, NaN, NaN]]"
    assert math.isnan(p.paths[0][0].z) and math.isnan(p.paths[0][0].m)


@pytest.mark.parametrize("error", [KeyboardInterrupt(), SystemExit(3)])
def test_what_is_no_exception_still_propagates_from_a_z_or_m(error):
    with pytest.raises(type(error)):
        vg.MultiPoint({"points": [[1, 2, 3, Ordinate(error)]], "hasZ": True, "hasM": True})
    with pytest.raises(type(error)):
        vg.Polygon({"rings": [[[0, 0], [1, 1], [2, 0, Ordinate(error)]]], "hasM": True})


def test_readers_copy_and_leave_the_dictionary_alone():
    ring = [[0, 0], [1, 1], [2, 0]]
    d = {"rings": [ring], "spatialReference": {"wkid": 4326}}
    p = vg.Polygon(d)
    ring[0][0] = 99
    d["spatialReference"]["wkid"] = 1
    assert str(p) == '{"spatialReference": {"wkid":4326}, "rings": [[[0, 0], [1, 1], [2, 0]]]}'
    assert d == {"rings": [[[99, 0], [1, 1], [2, 0]]], "spatialReference": {"wkid": 1}}


@pytest.mark.parametrize("d, text", [
    ({}, "{}"),
    ({"wkid": 0, "latestWkid": 3857, "vcsWkid": None, "latestVcsWkid": 115700, "wkt": "W", "wkt2": "V"},
     '{"wkid":0,"latestWkid":3857,"latestVcsWkid":115700,"wkt":"W","wkt2":"V"}'),
])
def test_spatial_reference_layout(d, text):
    assert str(vg.SpatialReference(d)) == text
    p = vg.Point({"x": 1, "y": 2, "spatialReference": d})
    assert str(p) == '{"spatialReference": ' + text + ', "x": 1, "y": 2}'


class Emptying:
    """A number whose conversion empties the dictionary being read (the values' only owner)."""

    def __init__(self, target, value):
        self.target, self.value = target, value

    def __float__(self):
        self.target.clear()
        return self.value

    __index__ = __float__


def test_values_outlive_code_that_empties_the_dictionary():
    d = {"hasZ": True}
    d["points"] = [[1, 2, Emptying(d, 3.0)], [4, 5, 6]]
    assert str(vg.MultiPoint(d)) == '{"hasZ": true, "points": [[1, 2, 3], [4, 5, 6]]}'
    d = {}
    d["rings"] = [[[0, 0], [1, Emptying(d, 1.0)], [2, 0]]]
    assert str(vg.Polygon(d)) == '{"rings": [[[0, 0], [1, 1], [2, 0]]]}'
    sr = {}
    sr.update(wkid=Emptying(sr, 0), wkt="W")
    assert str(vg.Point({"x": 1, "y": 2, "spatialReference": sr})).startswith('{"spatialReference": {"wkid":')
