"""Vertex and segment views: copies read alone, written back whole at their fixed index."""
import pytest

import engine_hooks  # noqa: F401
import vornix_geometry as vg

CURVED = [[0, 0], {"c": [[2, 0], [1, 1]]}, {"b": [[4, 0], [3, 1], [3, -1]]},
          {"a": [[6, 0], [5, 0], 1, 0, 0.5, 10, 0.25]}]


def polyline(dims, vertex):
    return vg.Polyline({**dims, "paths": [[vertex, [9, 9]]]})


@pytest.mark.parametrize("dims, vertex, flat, z, m", [
    ({}, [1, 2], [1.0, 2.0], None, None),
    ({"hasZ": True}, [1, 2, 3], [1.0, 2.0, 3.0], 3.0, None),
    ({"hasM": True}, [1, 2, 7], [1.0, 2.0, 7.0], None, 7.0),
    ({"hasZ": True, "hasM": True}, [1, 2, 3, 4], [1.0, 2.0, 3.0, 4.0], 3.0, 4.0),
    ({"hasZ": True, "hasM": True}, [1, 2], [1.0, 2.0, float("nan"), float("nan")], float("nan"), float("nan")),
])
def test_flat_form(dims, vertex, flat, z, m):
    c = polyline(dims, vertex).paths[0][0]
    n = len(flat)
    assert len(c) == n
    assert repr(list(c)) == repr(flat) and repr([c[i] for i in range(-n, n)]) == repr(flat + flat)
    assert (c.x, c.y, repr(c.z), repr(c.m)) == (1.0, 2.0, repr(z), repr(m))
    for key in (n, -n - 1):
        with pytest.raises(IndexError, match=f"^Index {key} out of bounds, Coord has {n} elements$"):
            c[key]


@pytest.mark.parametrize("key", ["0", 0.0, slice(0, 2)])
def test_key_must_be_an_integer(key):
    c = polyline({}, [1, 2]).paths[0][0]
    with pytest.raises(TypeError, match="^argument 'key': "):
        c[key]


@pytest.mark.parametrize("dims, vertex, action, message", [
    ({}, [1, 2], lambda c: setattr(c, "z", 1.0), "Tried to set z value on coord with dims: xy"),
    ({"hasM": True}, [1, 2, 3], lambda c: setattr(c, "z", 1.0), "Tried to set z value on coord with dims: xym"),
    ({"hasZ": True}, [1, 2, 3], lambda c: setattr(c, "m", 1.0), "Tried to set m value on coord with dims: xyz"),
    ({}, [1, 2], lambda c: c.__setitem__(2, 5.0),
     "Failed index based access to coord with dims: xy, buffer representation len: 2, idx: 2"),
    ({"hasZ": True, "hasM": True}, [1, 2, 3, 4], lambda c: c.__setitem__(4, 5.0),
     "Failed index based access to coord with dims: xyzm, buffer representation len: 4, idx: 4"),
])
def test_refused_edits_change_nothing(dims, vertex, action, message):
    p = polyline(dims, vertex)
    before = str(p)
    c = p.paths[0][0]
    with pytest.raises(Exception) as info:
        action(c)
    assert type(info.value) is Exception and str(info.value) == "Invalid dims for operation: " + message
    assert str(p) == before and list(c) == list(p.paths[0][0])


@pytest.mark.parametrize("action, exc, message", [
    (lambda c: setattr(c, "x", "a"), TypeError, "argument 'val': must be real number, not str"),
    (lambda c: c.__setitem__(0, "a"), TypeError, "argument 'val': must be real number, not str"),
    (lambda c: c.__setitem__("0", 1.0), TypeError, "argument 'idx': 'str' object cannot be interpreted as an integer"),
    (lambda c: c.__setitem__(-1, 5.0), OverflowError, "can't convert negative int to unsigned"),
    (lambda c: delattr(c, "x"), AttributeError, "can't delete attribute"),
    (lambda c: c.__delitem__(0), NotImplementedError, "can't delete item"),
])
def test_argument_refusals(action, exc, message):
    p = polyline({}, [1, 2])
    c = p.paths[0][0]
    with pytest.raises(exc) as info:
        action(c)
    assert type(info.value) is exc and str(info.value) == message
    assert str(p) == '{"paths": [[[1, 2], [9, 9]]]}'


def test_writes_go_through_to_the_part():
    p = polyline({"hasZ": True, "hasM": True}, [1, 2, 3, 4])
    c = p.paths[0][0]
    c.x = 3
    c[1] = 5.0
    c.z = 6
    c.m = 7
    c[2] = 8
    assert list(c) == [3.0, 5.0, 8.0, 7.0]
    assert str(p) == '{"hasZ": true, "hasM": true, "paths": [[[3, 5, 8, 7], [9, 9, NaN, NaN]]]}'


def test_stale_views_write_their_whole_copy_at_the_fixed_index():
    p = vg.Polyline({"paths": [[[0, 0], [1, 1], [2, 2]]]})
    part = p.paths[0]
    a, b = part[0], part[0]
    a.x = 10
    b.y = 20
    assert str(part) == "[[0, 20], [1, 1], [2, 2]]" and list(a) == [10.0, 0.0]
    c = part[1]
    part.insert(0, [5, 5])
    c.x = 7
    assert str(part) == "[[5, 5], [7, 1], [1, 1], [2, 2]]"
    part[3] = [8, 8]
    late = part[3]
    part.remove(0)
    part.remove(0)
    late.x = 4
    assert list(late) == [4.0, 8.0] and str(part) == "[[1, 1], [8, 8]]"
    popped = part.pop()
    popped.x = 0
    assert str(part) == "[[1, 1]]"


def test_curve_views_take_their_class_from_the_record():
    cp = vg.Polyline({"curvePaths": [CURVED]}).curve_paths[0]
    line, arc, bezier, ellipse = cp[0], cp[1], cp[2], cp[3]
    assert [type(v) for v in (line, arc, bezier, ellipse)] == [vg.Linear, vg.CircularArc, vg.BezierCurve,
                                                              vg.EllipticArc]
    assert all(isinstance(v, vg.CurveSegment) and isinstance(v, vg.Segment) for v in (line, arc))
    assert not isinstance(vg.Polyline({"paths": [[[0, 0]]]}).paths[0][0], vg.CurveSegment)
    assert (arc.x, arc.y, arc.interior_x, arc.interior_y) == (2.0, 0.0, 1.0, 1.0)
    assert (bezier.ctrl1_x, bezier.ctrl1_y, bezier.ctrl2_x, bezier.ctrl2_y) == (3.0, 1.0, 3.0, -1.0)
    assert (ellipse.center_x, ellipse.center_y, ellipse.rotation, ellipse.axis, ellipse.ratio) == (5, 0, 0.5, 10, 0.25)
    assert (ellipse.minor, ellipse.clockwise) == (True, False)


def test_curve_setters_write_the_whole_record_back():
    p = vg.Polyline({"curvePaths": [CURVED]})
    cp = p.curve_paths[0]
    arc, earlier = cp[1], cp[1]
    arc.interior_x = 5.0
    assert earlier.interior_x == 1.0
    arc.x = 7.0
    assert str(cp[1].__class__.__name__) == "CircularArc"
    assert str(cp).startswith('[[0, 0], {"c": [[7, 0], [5, 1]]}')
    bezier = cp[2]
    cp[2] = {"c": [[4, 0], [3, 3]]}
    bezier.ctrl1_x = 0
    assert '{"b": [[4, 0], [0, 1], [3, -1]]}' in str(cp)
    ellipse = cp[3]
    ellipse.minor = False
    ellipse.clockwise = True
    assert '{"a": [[6, 0], [5, 0], 0, 1, 0.5, 10, 0.25]}' in str(cp)


@pytest.mark.parametrize("value", [1, 1.0, None])
def test_bool_curve_properties_take_bools_only(value):
    p = vg.Polyline({"curvePaths": [CURVED]})
    ellipse = p.curve_paths[0][3]
    before = str(p)
    with pytest.raises(TypeError, match=r"^argument 'val': '.*' object cannot be cast as 'bool'$"):
        ellipse.minor = value
    assert ellipse.minor is True and str(p) == before


def test_curve_views_past_the_end_and_detached():
    cp = vg.Polyline({"curvePaths": [CURVED]}).curve_paths[0]
    late = cp[3]
    cp.pop()
    popped = cp.pop()
    late.rotation = 2.0
    popped.ctrl1_x = 8.0
    assert late.rotation == 2.0 and popped.ctrl1_x == 8.0
    assert str(cp) == '[[0, 0], {"c": [[2, 0], [1, 1]]}]'
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        del cp[1].interior_x


@pytest.mark.parametrize("cls", [vg.Segment, vg.Coord, vg.CurveSegment, vg.Linear, vg.CircularArc,
                                 vg.EllipticArc, vg.BezierCurve])
def test_views_are_made_only_by_the_module(cls):
    with pytest.raises(TypeError):
        cls()


def test_which_views_can_be_subclassed():
    for base in (vg.Segment, vg.CurveSegment):
        type("Mine", (base,), {})
    for base in (vg.Coord, vg.Linear, vg.CircularArc, vg.EllipticArc, vg.BezierCurve):
        with pytest.raises(TypeError):
            type("Mine", (base,), {})
