"""Poisoned locks (a fault while a lock is held, forced through the engine's fault hooks) and the
writes that run user code: no Python code ever runs under a model lock."""
import pytest

import engine_hooks
import vornix_geometry as vg

LOCK_ERROR = "Lock error: 'poisoned lock: another task failed inside'"


def panics(action, message):
    with pytest.raises(BaseException) as info:
        action()
    assert (type(info.value).__qualname__, str(info.value)) == ("PanicException", message)


def lock_error(action):
    with pytest.raises(Exception) as info:
        action()
    assert type(info.value) is Exception and str(info.value) == LOCK_ERROR


def poisoned_while_converting(function, curved=True):
    """A polyline whose conversion into the engine stopped inside `function` (curve paths are
    converted first); views and polylines sharing its collections are taken before."""
    curve_paths = [[[0, 0], {"c": [[2, 0], [1, 1]]}]] if curved else [[]]
    p = vg.Polyline({"paths": [[[0, 0], [1, 1]]], "curvePaths": curve_paths})
    sharing_paths, sharing_curves = vg.Polyline({}), vg.Polyline({"paths": [[[7, 7]]]})
    sharing_paths.paths = p.paths
    sharing_curves.curve_paths = p.curve_paths
    views = {"other": vg.Polyline(p), "paths": p.paths, "part": p.paths[0], "curve_part": p.curve_paths[0],
             "coord": p.paths[0][0], "arc": p.curve_paths[0][1] if curved else None, "sharing_paths": sharing_paths,
             "sharing_curves": sharing_curves}
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            p.__kxc_geo()
    assert type(info.value).__qualname__ == "PanicException"
    return p, views


def test_a_fault_inside_a_part_poisons_every_lock_it_held():
    p, v = poisoned_while_converting("KX_MutablePart_addPointXY", curved=False)
    for action in (lambda: str(p), lambda: v["other"].has_z, lambda: p.__kxc_geo(), lambda: p.paths,
                   lambda: setattr(p, "spatial_reference", {}), lambda: str(v["paths"]), lambda: v["paths"][0],
                   lambda: v["paths"].pop(), lambda: v["part"][0], lambda: len(v["part"]),
                   lambda: str(v["part"]), lambda: v["part"].pop(), lambda: v["part"].remove(0)):
        lock_error(action)
    # Reading the dimensions of a collection or part for a new value, iterating, and writing
    # through a vertex view stop instead.
    for action in (lambda: v["paths"].append([]), lambda: v["part"].append([1, 1]), lambda: next(iter(v["paths"])),
                   lambda: next(iter(v["part"])), lambda: setattr(v["coord"], "x", 5.0)):
        panics(action, "Lock poisoned")
    assert v["coord"].x == 5.0  # the view took the value before the part's lock refused it
    panics(lambda: str(v["sharing_paths"]), "Rings lock poisoned")
    lock_error(lambda: v["sharing_paths"].has_m)  # that stop came while its own lock was held
    panics(lambda: str(v["sharing_curves"]), "Curve paths lock poisoned")


def test_a_fault_inside_a_curve_part():
    p, v = poisoned_while_converting("KX_MutablePart_addPointXY")
    cp = v["curve_part"]
    for action in (lambda: cp[0], lambda: len(cp), lambda: str(cp), lambda: cp.pop(), lambda: cp.remove(0),
                   lambda: cp.append([1, 1]), lambda: cp.insert(0, [1, 1]), lambda: cp.clear()):
        lock_error(action)
    panics(lambda: next(iter(cp)), "Lock poisoned")
    panics(lambda: setattr(v["arc"], "interior_x", 5.0), "Lock poisoned")
    panics(lambda: setattr(v["arc"], "y", 5.0), "Lock poisoned")
    assert str(v["part"]) == "[[0, 0], [1, 1]]"


def test_a_fault_after_the_parts_leaves_the_parts_sound():
    p, v = poisoned_while_converting("KX_MultipartBuilder_setParts")
    lock_error(lambda: v["paths"][0])
    assert str(v["part"]) == "[[0, 0], [1, 1]]"
    v["arc"].interior_x = 3.0
    assert str(v["curve_part"]) == '[[0, 0], {"c": [[2, 0], [3, 1]]}]'


def test_spatial_reference_assignment_with_user_code_touching_the_polyline():
    p = vg.Polyline({"paths": [[[0, 0]]]})

    class Touching:
        def __index__(self):
            p.spatial_reference = {"wkid": 1}   # the same setter, re-entered
            p.paths[0].append([5, 5])
            return 2

    p.spatial_reference = {"wkid": Touching(), "wkt": "t"}
    assert str(p) == '{"spatialReference": {"wkid":2,"wkt":"t"}, "paths": [[[0, 0], [5, 5]]]}'


class Shrinking:
    """A number whose conversion empties the part it is being written into."""

    def __init__(self, part, value=9.0):
        self.part, self.value = part, value

    def __float__(self):
        self.part.clear()
        return self.value


@pytest.mark.parametrize("write, index, length", [
    (lambda cp, x: cp.__setitem__(2, [x, 0]), 2, 0),
    (lambda cp, x: cp.insert(3, {"c": [[x, 0], [1, 1]]}), 3, 0),
    (lambda cp, x: cp.append({"b": [[x, 0], [1, 1], [2, 2]]}), 3, 0),
])
def test_curve_part_write_whose_conversion_shrinks_the_part(write, index, length):
    cp = vg.Polyline({"curvePaths": [[[0, 0], [1, 1], [2, 2]]]}).curve_paths[0]
    with pytest.raises(IndexError, match=f"^Index {index} out of bounds, CurvePart has {length} elements$"):
        write(cp, Shrinking(cp))
    assert str(cp) == "[]"


def test_curve_part_write_whose_conversion_reads_the_part():
    cp = vg.Polyline({"curvePaths": [[[0, 0], [1, 1]]]}).curve_paths[0]
    seen = []

    class Reading:
        def __float__(self):
            seen.append(str(cp))
            return 4.0

    cp.append({"c": [[Reading(), 0], [1, 1]]})
    cp[0] = [Reading(), 0]
    assert seen == ["[[0, 0], [1, 1]]", '[[0, 0], [1, 1], {"c": [[4, 0], [1, 1]]}]']
    assert str(cp) == '[[4, 0], [1, 1], {"c": [[4, 0], [1, 1]]}]'


def test_views_write_user_values_outside_the_lock():
    p = vg.Polyline({"paths": [[[0, 0], [1, 1]]], "curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]]})

    class Reading:
        def __float__(self):
            return float(len(str(p)))

    p.paths[0][0] = [Reading(), 0]
    p.paths[0].append([Reading(), 0])
    p.paths[0][1].x = Reading()
    p.curve_paths[0][1].interior_x = Reading()
    assert str(p) == '{"curvePaths": [[[0, 0], {"c": [[2, 0], [91, 1]]}]], "paths": [[[80, 0], [90, 1], [81, 0]]]}'
