"""Operations read the model as it is at the call. A geometry edited through any view or setter,
from this thread or another, after operations have already run on it, gives each following
operation the data it holds now: the answers agree with shapely built from the geometry's current
text, and with a fresh geometry read from that text (the only check for true curves)."""
import json
import math
import threading

import pytest
import shapely.geometry as sg

import engine_hooks  # noqa: F401
import vornix_geometry as vg

PROBE = {"xmin": 3.5, "ymin": 0.5, "xmax": 6, "ymax": 2}


def as_shapely(geometry):
    """The shapely geometry of the current text (straight geometries only)."""
    data = json.loads(str(geometry))
    if "x" in data:
        return sg.Point(data["x"], data["y"])
    if "xmin" in data:
        return sg.box(data["xmin"], data["ymin"], data["xmax"], data["ymax"])
    if "points" in data:
        return sg.MultiPoint([p[:2] for p in data["points"]])
    if "paths" in data and data["paths"]:
        return sg.MultiLineString([[v[:2] for v in path] for path in data["paths"]])
    rings = [[v[:2] for v in ring] for ring in data["rings"]]
    return sg.Polygon(rings[0], rings[1:])


def numbers(geometry):
    """The numbers of the geometry's text in order (true curves are rebuilt from their text with
    the last digit free)."""
    def walk(value):
        if isinstance(value, bool):
            return []
        if isinstance(value, (int, float)):
            return [float(value)]
        if isinstance(value, dict):
            return [n for key in sorted(value) for n in walk(value[key])]
        if isinstance(value, list):
            return [n for item in value for n in walk(item)]
        return []
    return walk(json.loads(str(geometry)))


def agrees_with_its_text(geometry, straight=True):
    """Every operation answers for the current data; asked twice, to catch a form kept from an
    earlier call."""
    fresh = vg.Geometry(str(geometry))
    probe = vg.Envelope(PROBE)
    for _ in range(2):
        assert geometry.length == pytest.approx(fresh.length)
        assert geometry.calculate_area() == pytest.approx(fresh.calculate_area())
        assert geometry.extent == pytest.approx(fresh.extent)
        assert geometry.intersects(probe) == fresh.intersects(probe)
        assert geometry.distance_to(probe) == pytest.approx(fresh.distance_to(probe))
        assert numbers(geometry.move_relative(1, 2)) == pytest.approx(numbers(fresh.move_relative(1, 2)))
        if straight:
            peer = as_shapely(geometry)
            box = sg.box(PROBE["xmin"], PROBE["ymin"], PROBE["xmax"], PROBE["ymax"])
            assert geometry.length == pytest.approx(peer.length)
            assert geometry.calculate_area() == pytest.approx(peer.area)
            assert geometry.extent == pytest.approx(peer.bounds)
            assert geometry.intersects(probe) == peer.intersects(box)
            assert geometry.distance_to(probe) == pytest.approx(peer.distance(box))
            assert geometry.intersect(probe).calculate_area() == pytest.approx(peer.intersection(box).area)


def polyline():
    return vg.Polyline({"paths": [[[0, 0], [4, 0], [4, 3]]]})


def polygon():
    return vg.Polygon({"rings": [[[0, 0], [0, 4], [4, 4], [4, 0], [0, 0]]]})


def curved():
    return vg.Polyline({"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}, {"b": [[4, 0], [3, 1], [3, -1]]},
                                        {"a": [[6, 0], [5, 0], 0, 1, 0.5, 10, 0.25]}]]})


def set_item(container, index, value):
    container[index] = value


# (maker, edit, straight): one edit through each kind of view or setter.
EDITS = [
    # part views
    (polyline, lambda g: set_item(g.paths[0], 1, [5, 1]), True),
    (polyline, lambda g: g.paths[0].append([9, 9]), True),
    (polyline, lambda g: g.paths[0].insert(0, [-3, 4]), True),
    (polyline, lambda g: g.paths[0].remove(0), True),
    (polyline, lambda g: g.paths[0].pop(), True),
    (polyline, lambda g: g.paths.append([[5, 5], [5, 8]]), True),
    (polyline, lambda g: set_item(g.paths, 0, [[3, 0], [8, 0]]), True),
    (polygon, lambda g: set_item(g.rings[0], 2, [6, 6]), True),
    (polygon, lambda g: g.rings.append([[1, 1], [2, 1], [2, 2], [1, 2], [1, 1]]), True),
    # point views
    (polyline, lambda g: setattr(g.paths[0][2], "x", 7), True),
    (polyline, lambda g: set_item(g.paths[0][0], 1, -5.0), True),
    (polygon, lambda g: setattr(g.rings[0][1], "y", 9), True),
    (lambda: vg.MultiPoint({"points": [[0, 0], [1, 1]]}), lambda g: setattr(g.points[1], "x", 4), True),
    (lambda: vg.MultiPoint({"points": [[0, 0], [1, 1]]}), lambda g: g.points.append([5, 1]), True),
    # whole-value setters
    (polyline, lambda g: setattr(g, "paths", [[[4, 1], [4, 9]]]), True),
    (polygon, lambda g: setattr(g, "rings", [[[3, 0], [3, 3], [9, 3], [9, 0], [3, 0]]]), True),
    (lambda: vg.MultiPoint({"points": [[0, 0]]}), lambda g: setattr(g, "points", [[5, 1], [0, 0]]), True),
    (lambda: vg.Point({"x": 0, "y": 0}), lambda g: setattr(g, "x", 4), True),
    (lambda: vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 2, "ymax": 3}), lambda g: setattr(g, "xmax", 5), True),
    # curve and segment views
    (curved, lambda g: setattr(g.curve_paths[0][1], "interior_y", -1.0), False),
    (curved, lambda g: setattr(g.curve_paths[0][1], "x", 2.5), False),
    (curved, lambda g: setattr(g.curve_paths[0][2], "ctrl1_y", 3.0), False),
    (curved, lambda g: setattr(g.curve_paths[0][3], "rotation", 1.0), False),
    (curved, lambda g: setattr(g.curve_paths[0][0], "x", -1.0), False),
    (curved, lambda g: set_item(g.curve_paths[0], 1, {"c": [[2, 0], [1, -1]]}), False),
    (curved, lambda g: g.curve_paths[0].pop(), False),
    (curved, lambda g: setattr(g, "curve_paths", [[[0, 0], {"c": [[4, 0], [2, 2]]}]]), False),
]


@pytest.mark.parametrize("make, edit, straight", EDITS)
def test_each_edit_is_seen_by_the_next_operations(make, edit, straight):
    geometry = make()
    agrees_with_its_text(geometry, straight)
    before = str(geometry)
    edit(geometry)
    assert str(geometry) != before
    agrees_with_its_text(geometry, straight)


@pytest.mark.parametrize("make, edit, straight", EDITS)
def test_an_edit_from_another_thread_is_seen(make, edit, straight):
    geometry = make()
    agrees_with_its_text(geometry, straight)
    worker = threading.Thread(target=edit, args=(geometry,))
    worker.start()
    worker.join()
    agrees_with_its_text(geometry, straight)


def test_an_arc_bent_through_its_view_measures_as_the_new_arc():
    line = vg.Polyline({"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]]})
    assert line.length == pytest.approx(math.pi)
    arc = line.curve_paths[0][1]
    arc.x, arc.interior_x, arc.interior_y = 4.0, 2.0, 2.0
    assert line.length == pytest.approx(2 * math.pi)


def test_edits_interleaved_with_operations_in_two_threads():
    """One thread edits while another measures: every answer is one the model held at some moment,
    and once the editor is done the answers are those of the final data."""
    line = vg.Polyline({"paths": [[[0, 0], [1, 0]]]})
    lengths = {float(n) for n in range(1, 201)}
    seen = []

    def edit():
        for n in range(2, 201):
            line.paths[0][1].x = float(n)

    def measure():
        for _ in range(200):
            seen.append(line.length)

    threads = [threading.Thread(target=edit), threading.Thread(target=measure)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert set(seen) <= lengths
    assert line.length == 200.0
    agrees_with_its_text(line)
