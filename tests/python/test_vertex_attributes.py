"""z and m of result vertices. A vertex the input has keeps its own z and m; where an input part
passes one point more than once (a path that comes back to a point, a ring touching itself), each
passage in a result keeps the values of that passage. A new vertex takes them interpolated along the
input segment it lies on: the nearest within the tolerance, the first of equals. Positions against
shapely (the same GEOS answer in x and y), z and m against the input."""
import json
import math
import random

import pytest
from shapely.geometry import LineString, Polygon
from shapely.ops import clip_by_rect

import vornix_geometry as vg

# Passes (2, 2) twice, with z 2 and m 20, then z 6 and m 60.
PATH_XY = [(0, 0), (2, 2), (4, 0), (6, 2), (4, 4), (2, 2), (0, 4)]
PATH = vg.Polyline({"hasZ": True, "hasM": True, "paths": [[[x, y, i + 1, 10 * (i + 1)] for i, (x, y) in enumerate(PATH_XY)]]})
CUTTER = vg.Polyline({"paths": [[[3, -10], [3, 10]]]})
# The same with a vertex just off its way back, which generalize drops.
WIGGLED_XY = PATH_XY[:5] + [(3, 3.05)] + PATH_XY[5:]
WIGGLED = vg.Polyline({"hasZ": True, "hasM": True,
                       "paths": [[[x, y, i + 1, 10 * (i + 1)] for i, (x, y) in enumerate(WIGGLED_XY)]]})

# Each case: the operation, and the parts it gives as [x, y, z, m].
PATH_CASES = {
    "clip": (lambda g: [g.clip(vg.Envelope({"xmin": 1, "ymin": -1, "xmax": 5, "ymax": 5}))],
             [[[1, 1, 1.5, 15], [2, 2, 2, 20], [4, 0, 3, 30], [5, 1, 3.5, 35]],
              [[5, 3, 4.5, 45], [4, 4, 5, 50], [2, 2, 6, 60], [1, 3, 6.5, 65]]]),
    # GEOS nodes the path where it comes back to (2, 2), so the left side has four pieces.
    "cut": (lambda g: g.cut(CUTTER),
            [[[0, 0, 1, 10], [2, 2, 2, 20]], [[2, 2, 2, 20], [3, 1, 2.5, 25]], [[3, 3, 5.5, 55], [2, 2, 6, 60]],
             [[2, 2, 6, 60], [0, 4, 7, 70]],
             [[3, 1, 2.5, 25], [4, 0, 3, 30], [6, 2, 4, 40], [4, 4, 5, 50], [3, 3, 5.5, 55]]]),
    "generalize keeping every vertex": (lambda g: [g.generalize(0.0)],
                                        [[[x, y, i + 1, 10 * (i + 1)] for i, (x, y) in enumerate(PATH_XY)]]),
    "generalize": (lambda g: [WIGGLED.generalize(0.5)],
                   [[[0, 0, 1, 10], [2, 2, 2, 20], [4, 0, 3, 30], [6, 2, 4, 40], [4, 4, 5, 50], [2, 2, 7, 70],
                     [0, 4, 8, 80]]]),
    "simplify": (lambda g: [g.simplify()], [[[x, y, i + 1, 10 * (i + 1)] for i, (x, y) in enumerate(PATH_XY)]]),
}


def parts(g):
    d = json.loads(str(g))
    return d.get("paths", d.get("rings"))


@pytest.mark.parametrize("name", PATH_CASES)
def test_each_passage_of_a_point_keeps_its_own_z_and_m(name):
    operation, expected = PATH_CASES[name]
    assert [part for g in operation(PATH) for part in parts(g)] == expected


def test_path_positions_are_shapelys():
    line = LineString(PATH_XY)
    clipped = clip_by_rect(line, 1, -1, 5, 5)
    assert [[p[:2] for p in part] for part in parts(PATH_CASES["clip"][0](PATH)[0])] == \
        [[list(c) for c in g.coords] for g in clipped.geoms]
    kept = LineString(WIGGLED_XY).simplify(0.5, preserve_topology=False)
    assert [p[:2] for p in PATH_CASES["generalize"][1][0]] == [list(c) for c in kept.coords]


# The ring passes (5, 0) twice: on the square with m 50, and closing a loop inside it with m 80
# (what GEOS reads as a hole touching its shell there).
RING_XYM = [(0, 0, 10), (0, 10, 20), (10, 10, 30), (10, 0, 40), (5, 0, 50), (6, 2, 60), (4, 2, 70), (5, 0, 80)]
RING = vg.Polygon({"hasM": True, "rings": [[list(v) for v in RING_XYM + RING_XYM[:1]]]})
PINCHED = Polygon([v[:2] for v in RING_XYM]).buffer(0)

# Each case: the operation, the peer's answer, and the m of every passage of (5, 0) left in the
# result (generalize drops the square's, which lies on a straight edge).
RING_CASES = {
    "simplify": (lambda g: [g.simplify()], PINCHED, [50, 80]),
    "generalize": (lambda g: [g.generalize(0.1)], PINCHED, [80]),
    "clip": (lambda g: [g.clip(vg.Envelope({"xmin": -1, "ymin": -1, "xmax": 8, "ymax": 11}))],
             clip_by_rect(PINCHED, -1, -1, 8, 11), [50, 80]),
    "cut": (lambda g: g.cut(vg.Polyline({"paths": [[[-1, 5], [11, 5]]]})), PINCHED, [50, 80]),
}


@pytest.mark.parametrize("name", RING_CASES)
def test_a_ring_touching_itself_keeps_both_passages(name):
    operation, peer, pinch = RING_CASES[name]
    results = operation(RING)
    assert sum(g.area for g in results) == pytest.approx(peer.area)
    assert sorted(v[2] for g in results for ring in parts(g) for v in ring if v[:2] == [5, 0]) == pinch
    # Every other vertex is the input's own or lies on the square's edges (m along them).
    own = {v[:2]: v[2] for v in RING_XYM}
    for g in results:
        for x, y, m in (v for ring in parts(g) for v in ring):
            assert m == own[(x, y)] if (x, y) in own and (x, y) != (5, 0) else not math.isnan(m)


def scanned_m(lines, scale, x, y):
    """The m a scan of every input segment gives a new vertex: the nearest segment within the
    tolerance, the first of equals."""
    tolerance, best, found = 1e-9 * max(scale, 1.0), math.inf, math.nan
    for line in lines:
        for a, b in zip(line, line[1:]):
            dx, dy = b[0] - a[0], b[1] - a[1]
            length2 = dx * dx + dy * dy
            if length2 == 0:
                continue
            f = min(max(((x - a[0]) * dx + (y - a[1]) * dy) / length2, 0.0), 1.0)
            d = math.hypot(a[0] + f * dx - x, a[1] + f * dy - y)
            if d <= tolerance and d < best:
                best, found = d, a[2] + (b[2] - a[2]) * f
    return found


@pytest.mark.parametrize("kind", ["polyline", "polygon"])
def test_new_vertices_of_clip_take_m_from_the_segment_they_lie_on(kind):
    # A random walk of 3,000 vertices with many-digit coordinates, crossing itself everywhere.
    steps = random.Random(5)
    walk, x, y = [], 1234.56789012, -987.654321098
    for i in range(3000):
        walk.append([x, y, steps.uniform(0, 1000)])
        x, y = x + steps.uniform(-1.3, 1.3), y + steps.uniform(-1.3, 1.3)
    if kind == "polygon":
        g = vg.Polygon({"hasM": True, "rings": [walk + walk[:1]]})
        lines = [walk + walk[:1]]
    else:
        g = vg.Polyline({"hasM": True, "paths": [walk]})
        lines = [walk]
    xs, ys = [v[0] for v in walk], [v[1] for v in walk]
    cx, cy = sum(xs) / len(xs), sum(ys) / len(ys)
    box = (cx - 9.3, cy - 8.7, cx + 10.1, cy + 9.9)
    clipped = g.clip(vg.Envelope(dict(zip(["xmin", "ymin", "xmax", "ymax"], box))))
    own = {tuple(v[:2]): v[2] for v in walk}
    scale = max(max(map(abs, xs)), max(map(abs, ys)))
    new = [v for part in parts(clipped) for v in part if tuple(v[:2]) not in own]
    assert len(new) > 20
    for x, y, m in new:
        expected = scanned_m(lines, scale, x, y)
        assert m == expected or (math.isnan(m) and math.isnan(expected)), (x, y)
