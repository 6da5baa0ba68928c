"""The part containers (Part, CurvePart, Multipart, CurveMultipart): the index rule, live views
sharing one model, iterators, and the list-like methods."""
import inspect

import pytest

import engine_hooks  # noqa: F401
import vornix_geometry as vg

THREE = [[0, 0], [1, 1], [2, 2]]
CURVED = [[0, 0], {"c": [[2, 0], [1, 1]]}, {"b": [[4, 0], [3, 1], [3, -1]]}]


def part():
    return vg.Polyline({"paths": [THREE]}).paths[0]


def curve_part():
    return vg.Polyline({"curvePaths": [CURVED]}).curve_paths[0]


def multipart():
    return vg.Polyline({"paths": [THREE, [[5, 5]]]}).paths


def curve_multipart():
    return vg.Polyline({"curvePaths": [CURVED, [[5, 5]]]}).curve_paths


def index_error(index, name, length):
    return f"^Index {index} out of bounds, {name} has {length} elements$"


# (container maker, operation, expected IndexError index/name/length); every operation leaves the
# container unchanged.
@pytest.mark.parametrize("make, operation, index, name, length", [
    (part, lambda c: c[3], 3, "Part", 3),
    (part, lambda c: c[-4], -4, "Part", 3),
    (part, lambda c: c.__setitem__(3, [9, 9]), 3, "Part", 3),
    (part, lambda c: c.insert(4, [9, 9]), 4, "Part", 3),
    (part, lambda c: c.insert(-4, [9, 9]), -4, "Part", 3),
    (part, lambda c: c.remove(3), 3, "Part", 3),
    (multipart, lambda c: c[2], 2, "Multipart", 2),
    (multipart, lambda c: c.__setitem__(2, []), 2, "Part", 2),
    (multipart, lambda c: c.insert(-3, []), -3, "Part", 2),
    (multipart, lambda c: c.remove(-3), -3, "Part", 2),
    (lambda: vg.Polyline({}).paths, lambda c: c[0], 0, "Multipart", 0),
    (lambda: vg.Polyline({}).paths, lambda c: c.insert(-1, []), -1, "Part", 0),
    (curve_multipart, lambda c: c[5], 5, "Multipart", 2),
    (curve_multipart, lambda c: c.__setitem__(5, []), 5, "Part", 2),
    (curve_multipart, lambda c: c.insert(3, []), 3, "Part", 2),
    (curve_part, lambda c: c[3], 3, "CurvePart", 3),
    (curve_part, lambda c: c[-4], -4, "CurvePart", 3),
    (curve_part, lambda c: c.__setitem__(7, "x"), 7, "CurvePart", 3),
    (curve_part, lambda c: c.insert(4, [1, 1]), 4, "CurvePart", 3),
    (curve_part, lambda c: c.remove(3), 3, "Part", 3),
])
def test_index_rule_refusals(make, operation, index, name, length):
    container = make()
    before = str(container)
    with pytest.raises(IndexError, match=index_error(index, name, length)):
        operation(container)
    assert str(container) == before


@pytest.mark.parametrize("index, expected", [
    (3, "[[0, 0], [1, 1], [2, 2], [9, 9]]"),
    (-3, "[[9, 9], [0, 0], [1, 1], [2, 2]]"),
    (-1, "[[0, 0], [1, 1], [9, 9], [2, 2]]"),
    (0, "[[9, 9], [0, 0], [1, 1], [2, 2]]"),
])
def test_part_insert_positions(index, expected):
    p = part()
    p.insert(index, [9, 9])
    assert str(p) == expected


def test_part_reads_and_writes():
    p = part()
    assert (p[-1].x, p[-1].y) == (2.0, 2.0) and len(p) == 3
    p[0] = [7, 8]
    p.append([3, 3, 3])
    p.remove(-1)
    assert p.remove(0) is None
    assert str(p) == "[[1, 1], [2, 2]]"
    popped = p.pop()
    assert type(popped) is vg.Coord and list(popped) == [2.0, 2.0]
    popped.x = 99
    p.clear()
    assert (len(p), str(p), bool(p)) == (0, "[]", False)
    assert p.pop() is None


def test_part_conversion_comes_before_the_index():
    with pytest.raises(TypeError, match=r"^'tuple' object cannot be cast as 'list'$"):
        part()[10] = (1, 2)


@pytest.mark.parametrize("value, exc, message", [
    ((1, 2), TypeError, "'tuple' object cannot be cast as 'list'"),
    ({"x": 1}, TypeError, "'dict' object cannot be cast as 'list'"),
    ([1], IndexError, "list index out of range"),
    (["a", 2], TypeError, "must be real number, not str"),
])
def test_part_vertex_refusals(value, exc, message):
    p = part()
    with pytest.raises(exc) as info:
        p.append(value)
    assert type(info.value) is exc and str(info.value) == message
    with pytest.raises(TypeError, match=r"^'Coord' object cannot be cast as 'list'$"):
        p.append(p[0])
    assert len(p) == 3


@pytest.mark.parametrize("dims, value, text", [
    ({}, [1, 2, 3], "[[1, 2]]"),
    ({"hasZ": True, "hasM": True}, [1, 2], "[[1, 2, NaN, NaN]]"),
    ({"hasZ": True, "hasM": True}, [1, 2, None, 4], "[[1, 2, NaN, 4]]"),
    ({"hasZ": True, "hasM": True}, [1, 2, 3, 4, 5], "[[1, 2, 3, 4]]"),
    ({"hasM": True}, [1, 2, 5], "[[1, 2, 5]]"),
    ({"hasZ": True}, [1, 2, "a"], "[[1, 2, NaN]]"),
])
def test_part_append_by_dimensions(dims, value, text):
    p = vg.Polyline({**dims, "paths": [[]]}).paths[0]
    p.append(value)
    assert str(p) == text


@pytest.mark.parametrize("make", [part, curve_part, multipart, curve_multipart])
def test_deleting_an_item_is_refused(make):
    container = make()
    before = str(container)
    with pytest.raises(NotImplementedError, match="^can't delete item$"):
        del container[0]
    assert str(container) == before


@pytest.mark.parametrize("make", [part, curve_part, multipart, curve_multipart])
def test_key_must_be_an_integer(make):
    container = make()
    for key, name in [("a", "key"), (1.0, "key")]:
        with pytest.raises(TypeError, match=f"^argument '{name}': "):
            container[key]
    with pytest.raises(TypeError, match="^argument 'index': "):
        container["a"] = []
    with pytest.raises(OverflowError):
        container[2**63]


@pytest.mark.parametrize("cls", [vg.Part, vg.CurvePart, vg.Multipart, vg.CurveMultipart])
def test_views_have_no_constructor_and_list_signatures(cls):
    with pytest.raises(TypeError):
        cls()
    assert [getattr(cls, m).__text_signature__ for m in ("append", "insert", "remove", "pop", "clear")] == [
        "($self, value)", "($self, index, value)", "($self, index)", "($self)", "($self)"]
    assert str(inspect.signature(cls.insert)) == "(self, /, index, value)"


def test_views_share_one_model():
    p = vg.Polyline({"paths": [THREE]})
    a, b = p.paths[0], p.paths[0]
    assert a is not b
    a.append([3, 3])
    c = b[3]
    c.y = 7
    assert str(p) == '{"paths": [[[0, 0], [1, 1], [2, 2], [3, 7]]]}'
    assert str(a) == str(b) == "[[0, 0], [1, 1], [2, 2], [3, 7]]"
    assert a[0] not in a  # every read is a new object


def test_multipart_stores_the_very_part_object():
    p = vg.Polyline({"paths": [THREE]})
    q = vg.Polyline({})
    q.paths.append(p.paths[0])
    q.paths.insert(0, [[8, 8]])
    p.paths[0][0] = [5, 5]
    assert str(q) == '{"paths": [[[8, 8]], [[5, 5], [1, 1], [2, 2]]]}'
    q.paths[0] = q.paths[1]
    q.paths[1].append([6, 6])
    assert str(q) == '{"paths": [[[5, 5], [1, 1], [2, 2], [6, 6]], [[5, 5], [1, 1], [2, 2], [6, 6]]]}'


def test_multipart_pop_remove_clear_keep_views_alive():
    p = vg.Polyline({"paths": [THREE, [[5, 5]]]})
    first = p.paths[0]
    popped = p.paths.pop()
    assert type(popped) is vg.Part and str(popped) == "[[5, 5]]"
    assert p.paths.remove(0) is None
    first.append([3, 3])
    assert str(p) == '{"paths": []}' and str(first) == "[[0, 0], [1, 1], [2, 2], [3, 3]]"
    assert p.paths.pop() is None
    p.paths.append([[1, 1]])
    p.paths.clear()
    assert str(p.paths) == repr(p.paths) == "[]"


@pytest.mark.parametrize("collection, value, exc, message", [
    (multipart, (1, 2), TypeError, "Part from_py requires a Part or a list"),
    (multipart, {"x": 1}, TypeError, "Part from_py requires a Part or a list"),
    (multipart, vg.Polyline({"hasZ": True, "paths": [[]]}).paths[0], Exception,
     "Mismatching dimensions, expected 'XY' but got 'XYZ'"),
    (curve_multipart, part(), TypeError, "CurvePart from_py requires a Part or a list"),
    (curve_multipart, vg.Polyline({"hasM": True, "curvePaths": [[]]}).curve_paths[0], Exception,
     "Mismatching dimensions, expected 'XY' but got 'XYM'"),
    (curve_multipart, [{"c": [[1, 1], [0.5, 0.5]]}], ValueError,
     "Tried to create curve part with a curve as the first segment- must have a regular coordinate as start vertex"),
])
def test_multipart_part_refusals(collection, value, exc, message):
    for operation in (lambda c: c.append(value), lambda c: c.insert(0, value), lambda c: c.__setitem__(0, value)):
        c = collection()
        before = str(c)
        with pytest.raises(exc) as info:
            operation(c)
        assert type(info.value) is exc and str(info.value) == message
        assert str(c) == before


def test_multipart_has_no_length_and_is_always_true():
    empty = vg.Polyline({}).paths
    for view in (empty, vg.Polyline({}).curve_paths):
        with pytest.raises(TypeError):
            len(view)
        assert bool(view)


def test_iterators_continue_after_their_end():
    p = vg.Polyline({"paths": [[[0, 0]]], "curvePaths": [[[0, 0]]]})
    for container, add in [(p.paths, lambda: p.paths.append([[1, 1]])),
                           (p.paths[0], lambda: p.paths[0].append([1, 1])),
                           (p.curve_paths[0], lambda: p.curve_paths[0].append([1, 1]))]:
        it = iter(container)
        assert iter(it) is it
        next(it)
        with pytest.raises(StopIteration):
            next(it)
        add()
        assert next(it) is not None
    coords = [list(c) for c in p.paths[0]]
    assert coords == [[0.0, 0.0], [1.0, 1.0]]
    assert type(iter(p.paths)).__name__ == "MultipartIterator" and not hasattr(vg, "MultipartIterator")


def test_curve_multipart_iterates_through_item_reading():
    views = list(curve_multipart())
    assert [type(v) for v in views] == [vg.CurvePart, vg.CurvePart]
    assert [len(v) for v in views] == [3, 1]
    assert str(curve_multipart()) == '[[[0, 0], {"c": [[2, 0], [1, 1]]}, {"b": [[4, 0], [3, 1], [3, -1]]}], [[5, 5]]]'


def test_curve_part_reads_and_removal_rule():
    cp = curve_part()
    assert [type(s).__name__ for s in cp] == ["Linear", "CircularArc", "BezierCurve"]
    assert type(cp[-1]) is vg.BezierCurve and len(cp) == 3
    with pytest.raises(Exception) as info:
        cp.remove(0)
    assert type(info.value) is Exception and str(info.value) == (
        "Curved parts must have starting vertex with no curve data: "
        "'CurvePart::remove first curve, curve that would replace it is nonlinear'")
    assert len(cp) == 3
    popped = cp.pop()
    assert type(popped) is vg.BezierCurve and popped.ctrl1_x == 3.0
    popped.ctrl1_x = 0
    cp.remove(1)
    assert str(cp) == '[[0, 0]]'
    cp.clear()
    assert (str(cp), len(cp), bool(cp), cp.pop()) == ("[]", 0, False, None)


START = "Tried to place curve at the beginning of a curve part- must have a regular coordinate as start vertex"


@pytest.mark.parametrize("operation, exc, message", [
    (lambda cp: cp.__setitem__(0, {"c": [[1, 1], [0.5, 0.5]]}), ValueError, START),
    (lambda cp: cp.insert(0, {"b": [[1, 1], [0, 0], [0, 0]]}), ValueError, START),
    (lambda cp: cp.insert(-3, (0, 0)), ValueError, START),
    (lambda cp: cp.append((3, 1)), TypeError,
     "point_and_curve_from_py: Did not get a valid dict or list for curve/point segment"),
    (lambda cp: cp.append([1]), IndexError, "list index out of range"),
])
def test_curve_part_write_refusals(operation, exc, message):
    cp = curve_part()
    before = str(cp)
    with pytest.raises(exc) as info:
        operation(cp)
    assert type(info.value) is exc and str(info.value) == message
    assert str(cp) == before


def test_curve_part_writes():
    cp = curve_part()
    cp[0] = [5, 5]
    cp.insert(0, [-1, -1])
    assert type(cp[1]) is vg.Linear
    cp.insert(2, {"c": [[1, 1], [0, 3]]})
    cp[-1] = [9, 9]
    assert str(cp) == '[[-1, -1], [5, 5], {"c": [[1, 1], [0, 3]]}, {"c": [[2, 0], [1, 1]]}, [9, 9]]'


@pytest.mark.parametrize("value", [{"c": [[2, 0], [1, 1]]}, (0, 0)])
def test_empty_curve_part_accepts_only_a_vertex_list_first(value):
    cp = vg.Polyline({"curvePaths": [[]]}).curve_paths[0]
    with pytest.raises(ValueError, match="^Tried to place curve at the beginning"):
        cp.append(value)
    cp.append([0, 0])
    cp.append({"c": [[2, 0], [1, 1]]})
    assert type(cp[1]) is vg.CircularArc and len(cp) == 2


def test_removing_the_first_vertex_before_a_straight_segment():
    cp = vg.Polyline({"curvePaths": [[[0, 0], [1, 1], {"c": [[2, 0], [1, 1]]}]]}).curve_paths[0]
    cp.remove(0)
    assert str(cp) == '[[1, 1], {"c": [[2, 0], [1, 1]]}]' and type(cp[0]) is vg.Linear
