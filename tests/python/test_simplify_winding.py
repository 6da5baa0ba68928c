"""simplify of polygons that are valid but wound OGC's way (exteriors counter-clockwise, holes
clockwise), or every ring counter-clockwise: the rings come back turned round, vertex for vertex
what shapely's orient(sign=-1) makes of them, with their z, m and curves; a polygon that needs
more than its winding still goes through the repair."""
import json
import math

import pytest
from shapely.geometry import MultiPolygon, Point, Polygon
from shapely.geometry.polygon import orient
from shapely.ops import unary_union
from shapely.validation import make_valid

import vornix_geometry as vg
from vornix_geometry.utils import is_clockwise


def ring(points, clockwise):
    """A closed ring through `points` (given counter-clockwise), run the way asked."""
    closed = [list(p) for p in points] + [list(points[0])]
    return closed[::-1] if clockwise else closed


def box(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


# name: the multipolygon as (shell, holes) pairs, every ring given counter-clockwise; the rings
# are then written OGC's way (holes clockwise) unless the name says every ring runs one way.
VALID = {
    "holes off the grid": [(box(0.1234567891234, -3.9876543219876, 20.5555555555551, 7.3333333333337),
                            [box(1.1, -1.9, 3.3, 1.7), box(5.0000000001, 2.5, 9.75, 6.125),
                             [(12.2, 0.3), (15.4, 0.31), (13.9, 5.7)]])],
    "two shells, each holed": [(box(0, 0, 10, 10), [box(2, 2, 4, 4)]), (box(20, 0, 30, 10), [box(22, 2, 28, 8)])],
    "island in a hole": [(box(0, 0, 10, 10), [box(2, 2, 8, 8)]), (box(4, 4, 6, 6), [])],
    "hole touching the shell": [(box(0, 0, 10, 10), [[(0, 5), (4, 3), (4, 7)]])],
    "holes touching each other": [(box(0, 0, 10, 10), [box(2, 2, 5, 5), box(5, 5, 8, 8)])],
    "sliver": [([(0, 0), (1000, 0.001), (0, 0.002)], [])],
    "across the antimeridian": [([(179.25, -16.5), (180.75, -16.25), (180.5, -15.125), (179.5, -15.5)],
                                 [[(179.9, -16.0), (180.1, -15.9), (180.0, -15.75)]])],
    "every ring counter-clockwise": [(box(0, 0, 10, 10), [box(3, 3, 7, 7)])],
    # Longer than the rings GEOS is given through a scratch copy.
    "long ring": [([(math.cos(2 * math.pi * i / 40_000), math.sin(2 * math.pi * i / 40_000)) for i in range(40_000)],
                   [box(-0.5, -0.25, 0.5, 0.25)])],
}


def written(polygons, one_way=False):
    return [r for shell, holes in polygons for r in [ring(shell, False)] + [ring(h, not one_way) for h in holes]]


def opened(r):
    return r[:-1] if len(r) > 1 and r[0] == r[-1] else r


def peer_rings(polygons):
    """The rings of shapely's orient(make_valid(...), -1): exteriors clockwise, holes counter-clockwise."""
    valid = make_valid(MultiPolygon([Polygon(shell, holes) for shell, holes in polygons]))
    parts = valid.geoms if valid.geom_type == "MultiPolygon" else [valid]
    oriented = [orient(p, sign=-1.0) for p in parts]
    return [opened(list(map(list, r.coords))) for p in oriented for r in [p.exterior, *p.interiors]]


@pytest.mark.parametrize("name", VALID)
def test_a_valid_polygon_is_turned_round_as_shapely_orients_it(name):
    polygons = VALID[name]
    g = vg.Polygon({"rings": written(polygons, one_way=name.startswith("every ring"))})
    assert not g.is_simple()
    simplified = g.simplify()
    rings = json.loads(str(simplified))["rings"]
    assert sorted(map(opened, rings)) == sorted(peer_rings(polygons))
    assert simplified.area == pytest.approx(g.area, rel=1e-12)
    assert simplified.is_simple()
    peer = MultiPolygon([Polygon(shell, holes) for shell, holes in polygons])
    assert simplified.distance_to(vg.Point({"x": 0.3, "y": 40.0})) == pytest.approx(peer.distance(Point(0.3, 40.0)))


@pytest.mark.parametrize("has_z,has_m", [(True, False), (False, True), (True, True)])
def test_z_and_m_stay_with_their_vertices(has_z, has_m):
    def lifted(r):
        return [[x, y] + ([x + 100.0] if has_z else []) + ([y + 200.0] if has_m else []) for x, y in r]

    rings = [lifted(r) for r in written(VALID["island in a hole"])]
    simplified = vg.Polygon({"hasZ": has_z, "hasM": has_m, "rings": rings}).simplify()
    assert (simplified.has_z, simplified.has_m) == (has_z, has_m)
    out = json.loads(str(simplified))["rings"]
    assert {tuple(v[:2]) for r in out for v in r} == {tuple(v[:2]) for r in rings for v in r}
    for v in (v for r in out for v in r):
        assert v[2:] == lifted([v[:2]])[0][2:]


def test_curves_turn_with_their_ring():
    # Counter-clockwise, its right side bulging out through (12, 5).
    g = vg.Polygon({"curveRings": [[[0, 0], [10, 0], {"c": [[10, 10], [12, 5]]}, [0, 10], [0, 0]]]})
    simplified = g.simplify()
    assert simplified.has_curves
    assert simplified.area == pytest.approx(g.area, rel=1e-12)
    (out,) = json.loads(str(simplified))["curveRings"]
    arcs = [e["c"] for e in out if isinstance(e, dict)]
    assert arcs == [[[10.0, 0.0], [12.0, 5.0]]]
    assert simplified.is_simple()


def test_a_full_circle_is_repaired_into_chords_as_before():
    # A full circle always runs counter-clockwise, and would read back so however it were turned.
    disc = vg.Polygon({"curveRings": [[[1, 0], {"c": [[1, 0], [-1, 0]]}]]})
    simplified = disc.simplify()
    assert not simplified.has_curves
    assert simplified.area == pytest.approx(math.pi, rel=2e-3)
    assert is_clockwise([tuple(v) for v in json.loads(str(simplified))["rings"][0]])
    assert simplified.is_simple()


# name: the rings as written (OGC's winding), and shapely's answer for the region they mean.
REPAIRED = {
    "bow tie": ([[[0, 0], [4, 4], [4, 0], [0, 4], [0, 0]]],
                lambda: make_valid(Polygon([(0, 0), (4, 4), (4, 0), (0, 4)]))),
    "overlapping shells": ([ring(box(0, 0, 4, 4), False), ring(box(2, 2, 6, 6), False)],
                           lambda: unary_union([Polygon(box(0, 0, 4, 4)), Polygon(box(2, 2, 6, 6))])),
    "repeated vertex": ([[[0, 0], [4, 0], [4, 0], [4, 4], [0, 4], [0, 0]]], lambda: Polygon(box(0, 0, 4, 4))),
}


@pytest.mark.parametrize("name", REPAIRED)
def test_a_polygon_needing_repair_is_still_repaired(name):
    rings, peer = REPAIRED[name]
    simplified = vg.Polygon({"rings": rings}).simplify()
    assert simplified.area == pytest.approx(peer().area, rel=1e-12)
    assert simplified.is_simple()
    shells = [r for r in json.loads(str(simplified))["rings"] if is_clockwise([tuple(v) for v in r])]
    assert len(shells) == len(getattr(peer(), "geoms", [peer()]))
