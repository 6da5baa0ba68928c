"""One reading of every polygon: a ring inside an even number of the other rings is an exterior, one
inside an odd number a hole of the smallest ring holding it, whatever the winding. Each polygon is
written here in several windings and every operation is checked against shapely's reading of the
region it means; results are written with exteriors clockwise and holes counter-clockwise."""
import json
import math

import pytest
from shapely.geometry import MultiPolygon, Point, Polygon

import vornix_geometry as vg
from vornix_geometry.utils import is_clockwise


def square(x0, y0, size, clockwise):
    ring = [[x0, y0], [x0 + size, y0], [x0 + size, y0 + size], [x0, y0 + size], [x0, y0]]
    return ring[::-1] if clockwise else ring


# name: (rings as (x0, y0, size) squares, the region shapely is given)
REGIONS = {
    "holed": ([(0, 0, 10), (3, 3, 4)], Polygon(square(0, 0, 10, False), [square(3, 3, 4, False)])),
    "two_exteriors": ([(0, 0, 10), (20, 20, 10)],
                      MultiPolygon([Polygon(square(0, 0, 10, False)), Polygon(square(20, 20, 10, False))])),
    "island_in_hole": ([(0, 0, 10), (2, 2, 6), (4, 4, 2)],
                       MultiPolygon([Polygon(square(0, 0, 10, False), [square(2, 2, 6, False)]),
                                     Polygon(square(4, 4, 2, False))])),
    "two_holes": ([(0, 0, 10), (1, 1, 2), (6, 6, 3)],
                  Polygon(square(0, 0, 10, False), [square(1, 1, 2, False), square(6, 6, 3, False)])),
}
# Windings of the rings in order: clockwise exteriors, OGC winding, every ring one way.
WINDINGS = {
    "clockwise_exteriors": lambda i, nesting: nesting % 2 == 0,
    "ogc": lambda i, nesting: nesting % 2 == 1,
    "all_clockwise": lambda i, nesting: True,
    "all_counter_clockwise": lambda i, nesting: False,
}
NESTING = {"holed": [0, 1], "two_exteriors": [0, 0], "island_in_hole": [0, 1, 2], "two_holes": [0, 1, 1]}
PROBES = [(1, 1), (5, 5), (4.5, 4.5), (25, 25), (15, 15), (2, 2), (7, 7)]


def polygon(name, winding):
    squares, _ = REGIONS[name]
    rings = [square(*s, WINDINGS[winding](i, NESTING[name][i])) for i, s in enumerate(squares)]
    return vg.Polygon({"rings": rings})


def written_rings(geometry):
    return json.loads(str(geometry))["rings"]


@pytest.mark.parametrize("winding", WINDINGS)
@pytest.mark.parametrize("name", REGIONS)
def test_every_winding_reads_as_the_nested_region(name, winding):
    g, peer = polygon(name, winding), REGIONS[name][1]
    assert g.area == pytest.approx(peer.area)
    assert g.length == pytest.approx(peer.length)
    assert [g.contains(vg.Point({"x": x, "y": y})) for x, y in PROBES] == [peer.contains(Point(x, y)) for x, y in PROBES]
    assert g.union(g).area == pytest.approx(peer.area)
    assert g.simplify().area == pytest.approx(peer.area)
    assert g.convex_hull().area == pytest.approx(peer.convex_hull.area)
    assert g.buffer(0.5).area == pytest.approx(peer.buffer(0.5, resolution=18).area, rel=1e-4)
    assert g.intersect(vg.Polygon({"rings": [square(-1, -1, 40, True)]})).area == pytest.approx(peer.area)
    assert peer.contains(Point(g.label_point().x, g.label_point().y))


@pytest.mark.parametrize("winding", WINDINGS)
def test_results_are_written_with_clockwise_exteriors(winding):
    simplified = polygon("island_in_hole", winding).simplify()
    rings = written_rings(simplified)
    # The exterior, the hole and the island: clockwise, counter-clockwise, clockwise.
    assert sorted((abs(Polygon(r).area), is_clockwise([tuple(v) for v in r])) for r in rings) == [
        (4.0, True), (36.0, False), (100.0, True)]


@pytest.mark.parametrize("scale_x,scale_y", [(-1, 1), (1, -1), (-2, -3), (2, 0.5)])
def test_mirrors_keep_the_region_and_the_winding(scale_x, scale_y):
    g = polygon("holed", "clockwise_exteriors")
    mirrored = g.scale(scale_x, scale_y, vg.Point({"x": 0, "y": 0}))
    assert mirrored.area == pytest.approx(84 * abs(scale_x * scale_y))
    windings = [is_clockwise([tuple(v) for v in r]) for r in written_rings(mirrored)]
    assert windings == [True, False]


def test_a_mirrored_curve_ring_keeps_its_area():
    half_circles = {"curveRings": [[[0, -3], {"c": [[0, 3], [-3, 0]]}, {"c": [[0, -3], [3, 0]]}]]}
    g = vg.Polygon(half_circles)
    for mirrored in (g, g.scale(-1, 1, vg.Point({"x": 0, "y": 0}))):
        assert mirrored.area == pytest.approx(9 * math.pi, rel=1e-3)


def test_a_ring_too_thin_to_enclose_area_is_measured_as_a_path():
    g = vg.Polygon({"rings": [[[0, 0], [0, 100], [0, 100], [0, 0]]]})
    assert g.length == pytest.approx(Polygon([(0, 0), (0, 100), (0, 100), (0, 0)]).length)
    assert g.area == 0.0


def test_geodetic_area_does_not_depend_on_winding():
    rings = [square(0, 0, 1, clockwise) for clockwise in (True, False)]
    areas = [vg.Polygon({"rings": [r], "spatialReference": {"wkid": 4326}}).calculate_area(vg.GeodeticCurveType.Geodesic)
             for r in rings]
    assert areas[0] == pytest.approx(areas[1]) and areas[0] == pytest.approx(1.2308778e10, rel=1e-6)


# A full circle keeps no direction, so its role comes from nesting like any ring.
@pytest.mark.parametrize("clockwise", [0, 1])
@pytest.mark.parametrize("square_ring,expected_area,centre_inside", [
    (square(-1, -1, 2, False), 9 * math.pi - 4, False),
    (square(5, 5, 1, True), 9 * math.pi + 1, True),
])
def test_full_circles_take_their_role_from_nesting(clockwise, square_ring, expected_area, centre_inside):
    g = vg.Polygon({"curveRings": [[[3, 0], {"a": [[3, 0], [0, 0], 0, clockwise]}], square_ring]})
    assert g.area == pytest.approx(expected_area)
    assert g.contains(vg.Point({"x": 0, "y": 0})) is centre_inside
    assert g.contains(vg.Point({"x": 2, "y": 0})) is True
