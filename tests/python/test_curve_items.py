"""Items of curve parts: coordinate lists and the "c", "a" and "b" curve dictionaries, read through
CurvePart.append on a part whose last vertex is (0, 0)."""
import pytest

import engine_hooks  # noqa: F401
import vornix_geometry as vg


def appended(item, dims=None):
    p = vg.Polyline({**(dims or {}), "curvePaths": [[[0, 0]]]})
    p.curve_paths[0].append(item)
    return p.curve_paths[0]


class ListSub(list):
    pass


class DictSub(dict):
    pass


@pytest.mark.parametrize("item, dims, text", [
    ([1.0, 2.0], {}, "[[0, 0], [1, 2]]"),
    ([1, 2, "a"], {"hasZ": True}, "[[0, 0, NaN], [1, 2, NaN]]"),
    ([1, 2, 5], {"hasM": True}, "[[0, 0, NaN], [1, 2, 5]]"),
    ([1, 2, 5], {"hasZ": True, "hasM": True}, "[[0, 0, NaN, NaN], [1, 2, 5, NaN]]"),
    ({"c": [[3, 4], [2, 5, 9]]}, {}, '[[0, 0], {"c": [[3, 4], [2, 5]]}]'),
    ({"c": [[3, 4, 7], [2, 5, 9]]}, {"hasZ": True}, '[[0, 0, NaN], {"c": [[3, 4, 7], [2, 5]]}]'),
    ({"c": [[3, 4], [2, 5]], "b": None}, {}, '[[0, 0], {"c": [[3, 4], [2, 5]]}]'),
    ({"b": [[3, 4], [1, 1], [2, 2], "x"], "m": None}, {}, '[[0, 0], {"b": [[3, 4], [1, 1], [2, 2]]}]'),
    ({"a": [[2, 0], [1, 0], True, False, 0.5, 10.0, 0.25, 99]}, {}, '[[0, 0], {"a": [[2, 0], [1, 0], 1, 0, 0.5, 10, 0.25]}]'),
    ({"a": [[2, 0], [1, 0], 2, 0, 0.5, 10.0, 0.25]}, {}, '[[0, 0], {"a": [[2, 0], [1, 0], 1, 0, 0.5, 10, 0.25]}]'),
    (DictSub(c=ListSub([ListSub([3, 4]), [2, 5]])), {}, '[[0, 0], {"c": [[3, 4], [2, 5]]}]'),
])
def test_accepted_items(item, dims, text):
    assert str(appended(item, dims)) == text


@pytest.mark.parametrize("item, exc, message", [
    ((1.0, 2.0), TypeError, "point_and_curve_from_py: Did not get a valid dict or list for curve/point segment"),
    ({"x": 1.0}, TypeError, "point_and_curve_from_py: Did not get a valid dict or list for curve/point segment"),
    ({"c": None}, TypeError, "'NoneType' object cannot be cast as 'list'"),
    ({"b": [[3, 4], [1, 1], [2, 2]], "a": None}, TypeError, "'NoneType' object cannot be cast as 'list'"),
    ({"c": [[3.0, 4.0], (2.0, 5.0)]}, TypeError, "'tuple' object cannot be cast as 'list'"),
    ({"c": [["a", 4.0], (2.0, 5.0)]}, TypeError, "'tuple' object cannot be cast as 'list'"),
    ({"b": [[1.0, 2.0], [3.0, 4.0]]}, IndexError, "list index out of range"),
    ({"a": [[2, 0], [1, 0], 1, 0, 0.5]}, IndexError, "list index out of range"),
    ({"a": [[2, 0], [1, 0], 1.0, 0]}, TypeError, "'float' object cannot be interpreted as an integer"),
    ({"a": [[2, 0], [1, 0], 300, 0]}, OverflowError, "out of range integral type conversion attempted"),
    ({"a": [[2, 0], [1, 0], 1, 0, "r", 1, 1]}, TypeError, "must be real number, not str"),
    ({"c": [[None, 4.0], [2.0, 5.0]]}, TypeError, "must be real number, not NoneType"),
])
def test_refused_items(item, exc, message):
    cp = vg.Polyline({"curvePaths": [[[0, 0]]]}).curve_paths[0]
    with pytest.raises(exc) as info:
        cp.append(item)
    assert type(info.value) is exc and str(info.value) == message
    assert str(cp) == "[[0, 0]]"


def test_four_item_arc_is_built_about_the_centre_from_the_previous_vertex():
    cp = appended({"a": [[2, 0], [1, 0], 1, 0]})
    arc = cp[1]
    assert type(arc) is vg.CircularArc
    assert (arc.x, arc.y) == (2.0, 0.0)
    assert arc.interior_x == pytest.approx(1.0) and abs(arc.interior_y) == pytest.approx(1.0)
    # the arc starts at the vertex before the insertion position
    cp.insert(1, [1, -1])
    cp.insert(2, {"a": [[1, 1], [1, 0], 1, 0]})
    assert type(cp[2]) is vg.CircularArc and (cp[2].x, cp[2].y) == (1.0, 1.0)


def test_four_item_arc_refused_by_the_engine():
    cp = vg.Polyline({"curvePaths": [[[0, 0]]]}).curve_paths[0]
    with pytest.raises(Exception) as info:
        cp.append({"a": [[5, 5], [4, 4], 1, 0]})
    assert type(info.value) is Exception
    assert str(info.value).startswith("Corvane library error: '")
    assert str(cp) == "[[0, 0]]" and engine_hooks.live_objects() == 0
