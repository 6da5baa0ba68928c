"""How polygon rings are read. Rings wound the model's way (clockwise exteriors, counter-clockwise
holes) are read by winding, so a clockwise ring inside a clockwise ring is a second exterior, as
GEOS reads that multipolygon; rings wound any other way (OGC's, all one way counter-clockwise) are
read by nesting. Each polygon is checked against shapely's reading of the multipolygon it means:
its area is MultiPolygon.area, its region unary_union's; results are written with exteriors
clockwise and holes counter-clockwise."""
import json
import math
import random

import pytest
from shapely.geometry import LinearRing, MultiPolygon, Point, Polygon
from shapely.ops import unary_union

import vornix_geometry as vg
from vornix_geometry.utils import is_clockwise


def square(x0, y0, size, clockwise):
    ring = [[x0, y0], [x0 + size, y0], [x0 + size, y0 + size], [x0, y0 + size], [x0, y0]]
    return ring[::-1] if clockwise else ring


def peer_multipolygon(polygons):
    """A shapely MultiPolygon of (shell, holes) pairs of vertex lists, valid or not."""
    return MultiPolygon([Polygon(shell, holes) for shell, holes in polygons])


def module_polygon(rings):
    return vg.Polygon({"rings": rings})


def check_against_peer(g, peer):
    """The measures of the rings as written, and the region they mean, against shapely."""
    region = unary_union(peer)
    assert g.area == pytest.approx(peer.area)
    assert g.length == pytest.approx(peer.length)
    x0, y0, x1, y1 = region.bounds
    probes = [(x0 + (x1 - x0) * i / 7 + 0.01, y0 + (y1 - y0) * j / 7 + 0.013) for i in range(8) for j in range(8)]
    assert [g.contains(vg.Point({"x": x, "y": y})) for x, y in probes] == [region.contains(Point(p)) for p in probes]
    assert g.union(g).area == pytest.approx(region.area)
    assert g.simplify().area == pytest.approx(region.area)
    assert g.convex_hull().area == pytest.approx(region.convex_hull.area)
    assert g.buffer(0.5).area == pytest.approx(region.buffer(0.5, resolution=18).area, rel=1e-4)
    frame = module_polygon([square(-100, -100, 400, True)])
    assert g.intersect(frame).area == pytest.approx(region.area)
    assert frame.difference(g).area == pytest.approx(400 ** 2 - region.area)
    assert region.contains(Point(g.label_point().x, g.label_point().y))


# name: rings as (x0, y0, size, clockwise) squares written in the model's winding, and the
# multipolygon they mean as (shell index, hole indexes) pairs.
MODEL_WOUND = {
    "holed": ([(0, 0, 10, True), (3, 3, 4, False)], [(0, [1])]),
    "two_exteriors": ([(0, 0, 10, True), (20, 20, 10, True)], [(0, []), (1, [])]),
    "part_inside_part": ([(0, 0, 10, True), (2, 2, 3, True)], [(0, []), (1, [])]),
    "island_in_lake": ([(0, 0, 10, True), (2, 2, 6, False), (4, 4, 2, True)], [(0, [1]), (2, [])]),
    "lake_in_island_in_lake": ([(0, 0, 20, True), (2, 2, 16, False), (4, 4, 12, True), (6, 6, 8, False)],
                               [(0, [1]), (2, [3])]),
    "part_inside_part_outside_its_hole": ([(0, 0, 10, True), (1, 1, 2, False), (5, 5, 3, True)],
                                          [(0, [1]), (2, [])]),
    "overlapping": ([(0, 0, 10, True), (5, 5, 10, True)], [(0, []), (1, [])]),
    "touching_at_a_corner": ([(0, 0, 10, True), (10, 10, 5, True)], [(0, []), (1, [])]),
    "touching_along_an_edge": ([(0, 0, 10, True), (10, 2, 5, True)], [(0, []), (1, [])]),
    "equal_parts": ([(0, 0, 10, True), (0, 0, 10, True)], [(0, []), (1, [])]),
    "two_holes": ([(0, 0, 10, True), (1, 1, 2, False), (6, 6, 3, False)], [(0, [1, 2])]),
}


@pytest.mark.parametrize("name", MODEL_WOUND)
def test_model_winding_reads_each_ring_by_its_winding(name):
    squares, meaning = MODEL_WOUND[name]
    rings = [square(*s) for s in squares]
    peer = peer_multipolygon([(rings[shell], [rings[h] for h in holes]) for shell, holes in meaning])
    check_against_peer(module_polygon(rings), peer)


# The same nested squares (x0, y0, size, depth) wound OGC's way, or all counter-clockwise: read by
# nesting, an even depth an exterior, an odd one a hole of the ring around it.
NESTED = {
    "holed": [(0, 0, 10, 0), (3, 3, 4, 1)],
    "two_exteriors": [(0, 0, 10, 0), (20, 20, 10, 0)],
    "island_in_lake": [(0, 0, 10, 0), (2, 2, 6, 1), (4, 4, 2, 2)],
    "two_holes": [(0, 0, 10, 0), (1, 1, 2, 1), (6, 6, 3, 1)],
}
OTHER_WINDINGS = {"ogc": lambda depth: depth % 2 == 1, "all_counter_clockwise": lambda depth: False}


@pytest.mark.parametrize("winding", OTHER_WINDINGS)
@pytest.mark.parametrize("name", NESTED)
def test_other_windings_read_by_nesting(name, winding):
    squares = NESTED[name]
    rings = [square(x0, y0, size, OTHER_WINDINGS[winding](depth)) for x0, y0, size, depth in squares]
    polygons = []
    for i, (_, _, _, depth) in enumerate(squares):
        if depth % 2 == 0:
            holes = [j for j in range(i + 1, len(squares)) if squares[j][3] == depth + 1]
            polygons.append((rings[i], [rings[j] for j in holes]))
    check_against_peer(module_polygon(rings), peer_multipolygon(polygons))


def touching_hole(rng, shell_clockwise):
    """A valid polygon whose triangular hole touches the shell at one point inside a slanted edge:
    the shell (0, 0), (x1, y1), (x1, 30), (0, 30), the hole's apex p = t * (x1, y1) rounded (drawn
    again where rounding put it outside the shell, which GEOS calls invalid)."""
    while True:
        shell, hole, in_hole = touching_hole_drawn(rng, shell_clockwise)
        if Polygon(shell, [hole]).is_valid:
            return shell, hole, in_hole


def touching_hole_drawn(rng, shell_clockwise):
    x1, y1, t = rng.uniform(5, 20), rng.uniform(0.5, 10), rng.uniform(0.2, 0.8)
    p = [t * x1, t * y1]
    w = rng.uniform(0.1, 0.9) * min(t, 1 - t) * x1
    h = w * y1 / x1 + rng.uniform(0.1, 0.9) * (30 - y1 - w * y1 / x1)
    shell = [[0, 0], [0, 30], [x1, 30], [x1, y1], [0, 0]]
    hole = [p, [p[0] + w, p[1] + h], [p[0] - w, p[1] + h], p]
    if not shell_clockwise:
        shell, hole = shell[::-1], hole[::-1]
    return shell, hole, [p[0], p[1] + h / 2]


@pytest.mark.parametrize("shell_clockwise", [True, False])
def test_holes_touching_their_shell_are_holes(shell_clockwise):
    rng = random.Random(25)
    for _ in range(300):
        shell, hole, in_hole = touching_hole(rng, shell_clockwise)
        peer = Polygon(shell, [hole])
        g = module_polygon([shell, hole])
        assert g.area == pytest.approx(peer.area, rel=1e-12)
        assert g.contains(vg.Point({"x": in_hole[0], "y": in_hole[1]})) is False
        assert g.union(g).area == pytest.approx(peer.area, rel=1e-9)


@pytest.mark.parametrize("shell_clockwise", [True, False])
def test_overlays_of_touching_holes_fed_back(shell_clockwise):
    rng = random.Random(26)
    for _ in range(60):
        a, b, c = (touching_hole(rng, shell_clockwise) for _ in range(3))
        ga, gb, gc = (module_polygon([s, h]) for s, h, _ in (a, b, c))
        pa, pb, pc = (Polygon(s, [h]) for s, h, _ in (a, b, c))
        assert ga.difference(gb).union(gc).area == pytest.approx(pa.difference(pb).union(pc).area, rel=1e-9)
        assert ga.symmetric_difference(gb).intersect(gc).area == pytest.approx(
            pa.symmetric_difference(pb).intersection(pc).area, rel=1e-9, abs=1e-9)


def many_holes(shape):
    """A shell of many vertices (a near-circle, or a comb whose tall teeth span the whole height)
    holding many holes, some of them touching the shell with a vertex at the middle of one of its
    edges; as (shell, holes), the shell clockwise."""
    if shape == "circle":
        shell = [[30 * math.cos(-2 * math.pi * k / 400), 30 * math.sin(-2 * math.pi * k / 400)] for k in range(400)]
        inside = [(x, y) for x in range(-20, 21, 3) for y in range(-20, 21, 3)]
    else:
        shell = [[0.0, 0.0], [0.0, 40.0]]
        for k in range(30):
            shell += [[2.0 * k + 1.3, 40.0], [2.0 * k + 1.3, 3.0], [2.0 * k + 2.0, 3.0], [2.0 * k + 2.0, 40.0]]
        shell += [[61.0, 40.0], [61.0, 0.0]]
        inside = [(2.0 * k + 0.3, y) for k in range(30) for y in range(5, 38, 4)]
    holes = [[[x, y], [x + 0.5, y], [x + 0.5, y + 0.5], [x, y + 0.5]] for x, y in inside]
    for k in range(0, len(shell) - 1, 7):
        (ax, ay), (bx, by) = shell[k], shell[k + 1]
        apex = [(ax + bx) / 2, (ay + by) / 2]
        cx, cy = sum(v[0] for v in shell) / len(shell), sum(v[1] for v in shell) / len(shell)
        dx, dy = (cx - apex[0]) * 0.01, (cy - apex[1]) * 0.01
        holes.append([apex, [apex[0] + dx - dy * 0.3, apex[1] + dy + dx * 0.3], [apex[0] + dx + dy * 0.3, apex[1] + dy - dx * 0.3]])
    holes = [h for h in holes if Polygon(shell, [h]).is_valid and Polygon(h).is_valid]
    # Holes drawn counter-clockwise, each closed.
    holes = [h[::-1] if is_clockwise([tuple(v) for v in h + [h[0]]]) else h for h in holes]
    return [v for v in shell] + [shell[0]], [h + [h[0]] for h in holes]


@pytest.mark.parametrize("winding", ["model", "ogc"])
@pytest.mark.parametrize("shape", ["circle", "comb"])
def test_a_shell_with_many_holes(shape, winding):
    shell, holes = many_holes(shape)
    peer = Polygon(shell, holes)
    assert peer.is_valid and len(holes) > 100
    rings = [shell] + holes if winding == "model" else [r[::-1] for r in [shell] + holes]
    g = module_polygon(rings)
    assert g.area == pytest.approx(peer.area, rel=1e-12)
    assert g.union(g).area == pytest.approx(peer.area, rel=1e-9)
    centres = [Polygon(h).representative_point() for h in holes[::5]]
    assert [g.contains(vg.Point({"x": c.x, "y": c.y})) for c in centres] == [peer.contains(c) for c in centres]


def peer_of(g):
    """The shapely multipolygon of a module polygon written as results are (clockwise exteriors,
    each counter-clockwise ring a hole of the exterior containing it)."""
    rings = json.loads(str(g)).get("rings", [])
    shells = [r for r in rings if is_clockwise([tuple(v) for v in r])]
    holes = [r for r in rings if not is_clockwise([tuple(v) for v in r])]
    polygons = []
    for s in shells:
        own = [h for h in holes if Polygon(s).contains(Polygon(h).representative_point())]
        polygons.append(Polygon(s, own))
    return MultiPolygon(polygons)


# Each operation on the module's polygons and on shapely's, the result fed back: its area, and a
# second overlay with a shape crossing it.
OPERATIONS = {
    "intersection": (lambda a, b: a.intersect(b), lambda a, b: a.intersection(b)),
    "union": (lambda a, b: a.union(b), lambda a, b: a.union(b)),
    "difference": (lambda a, b: a.difference(b), lambda a, b: a.difference(b)),
    "symmetric_difference": (lambda a, b: a.symmetric_difference(b), lambda a, b: a.symmetric_difference(b)),
    "buffer": (lambda a, b: a.buffer(0.7), lambda a, b: a.buffer(0.7, resolution=18)),
    "simplify": (lambda a, b: a.simplify(), lambda a, b: a.buffer(0)),
}


@pytest.mark.parametrize("operation", OPERATIONS)
def test_results_read_back_mean_what_geos_returned(operation):
    ours, theirs = OPERATIONS[operation]
    rng = random.Random(27)
    for _ in range(25):
        (sa, ha, _), (sb, hb, _) = touching_hole(rng, True), touching_hole(rng, True)
        shift = rng.uniform(-4, 4)
        sb = [[x + shift, y + 1.5] for x, y in sb]
        hb = [[x + shift, y + 1.5] for x, y in hb]
        ga, gb = module_polygon([sa, ha]), module_polygon([sb, hb])
        pa, pb = Polygon(sa, [ha]), Polygon(sb, [hb])
        result, expected = ours(ga, gb), theirs(pa, pb)
        tolerance = 1e-4 if operation == "buffer" else 1e-9
        assert result.area == pytest.approx(expected.area, rel=tolerance)
        assert peer_of(result).area == pytest.approx(result.area, rel=1e-12)
        cross = module_polygon([[[2, 5], [2, 12], [12, 12], [12, 5], [2, 5]]])
        assert result.intersect(cross).area == pytest.approx(
            expected.intersection(Polygon([(2, 5), (2, 12), (12, 12), (12, 5)])).area, rel=tolerance, abs=1e-9)
        assert result.union(result).area == pytest.approx(result.area, rel=1e-9)


def written_rings(geometry):
    return json.loads(str(geometry))["rings"]


@pytest.mark.parametrize("winding", ["model", "ogc"])
def test_results_are_written_with_clockwise_exteriors(winding):
    squares = [(0, 0, 10, 0), (2, 2, 6, 1), (4, 4, 2, 2)]
    clockwise = (lambda d: d % 2 == 0) if winding == "model" else (lambda d: d % 2 == 1)
    simplified = module_polygon([square(x, y, s, clockwise(d)) for x, y, s, d in squares]).simplify()
    rings = written_rings(simplified)
    # The exterior, the hole and the island: clockwise, counter-clockwise, clockwise.
    assert sorted((abs(Polygon(r).area), is_clockwise([tuple(v) for v in r])) for r in rings) == [
        (4.0, True), (36.0, False), (100.0, True)]


@pytest.mark.parametrize("scale_x,scale_y", [(-1, 1), (1, -1), (-2, -3), (2, 0.5)])
def test_mirrors_keep_the_region_and_the_winding(scale_x, scale_y):
    g = module_polygon([square(0, 0, 10, True), square(3, 3, 4, False)])
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


def test_geodetic_area_reads_rings_as_every_operation_does():
    wgs84 = {"wkid": 4326}
    one = vg.Polygon({"rings": [square(0, 0, 1, True)], "spatialReference": wgs84})
    overlapping = vg.Polygon({"rings": [square(0, 0, 1, True), square(0.25, 0.25, 0.5, True)], "spatialReference": wgs84})
    holed = vg.Polygon({"rings": [square(0, 0, 1, True), square(0.25, 0.25, 0.5, False)], "spatialReference": wgs84})
    inner = vg.Polygon({"rings": [square(0.25, 0.25, 0.5, True)], "spatialReference": wgs84})
    area = lambda g: g.calculate_area(vg.GeodeticCurveType.Geodesic)
    assert area(overlapping) == pytest.approx(area(one) + area(inner), rel=1e-12)
    assert area(holed) == pytest.approx(area(one) - area(inner), rel=1e-12)


# A full circle keeps no direction of its own: it runs counter-clockwise, and so is a hole inside
# a clockwise ring and read by nesting otherwise.
@pytest.mark.parametrize("circle_clockwise", [0, 1])
@pytest.mark.parametrize("square_ring,expected_area,centre_inside,in_circle_inside", [
    (square(-1, -1, 2, False), 9 * math.pi - 4, False, True),
    (square(-1, -1, 2, True), 9 * math.pi - 4, False, True),
    (square(5, 5, 1, True), 9 * math.pi + 1, True, True),
    (square(-5, -5, 10, True), 100 - 9 * math.pi, False, False),
])
def test_full_circles_take_their_role_like_any_ring(circle_clockwise, square_ring, expected_area, centre_inside,
                                                     in_circle_inside):
    g = vg.Polygon({"curveRings": [[[3, 0], {"a": [[3, 0], [0, 0], 0, circle_clockwise]}], square_ring]})
    assert g.area == pytest.approx(expected_area)
    assert g.contains(vg.Point({"x": 0, "y": 0})) is centre_inside
    assert g.contains(vg.Point({"x": 2, "y": 0})) is in_circle_inside


def quadrilateral(rng, x, y, size):
    """A clockwise quadrilateral about (x, y), each corner moved a little, coordinates with many
    digits."""
    corners = [(-1, -1), (-1, 1), (1, 1), (1, -1)]
    return [[x + size * (cx + rng.uniform(-0.2, 0.2)), y + size * (cy + rng.uniform(-0.2, 0.2))] for cx, cy in corners]


def crossing_pair(rng, x, y):
    """Two clockwise quadrilaterals about 14 m across, the second moved so that they cross: by a
    little (a sliver of overlap) or by much; neither holds a vertex of the other in some draws."""
    a = quadrilateral(rng, x, y, 7)
    dx, dy = rng.choice([(13.9, 0.3), (12, 9), (6, 1), (0.5, 13.5)])
    b = [[vx + dx, vy + dy] for vx, vy in quadrilateral(rng, x, y, 7)]
    return a, b


# Each overlay of the crossing exteriors against shapely's of their union: with themselves, with a
# geometry far away, with a frame crossing them, and the frame less them.
CROSSING_OPERATIONS = {
    "union_with_itself": (lambda g, far, frame: g.union(g), lambda region, far, frame: region),
    "union_with_far": (lambda g, far, frame: g.union(far), lambda region, far, frame: region.union(far)),
    "intersect": (lambda g, far, frame: g.intersect(frame), lambda region, far, frame: region.intersection(frame)),
    "difference": (lambda g, far, frame: frame.difference(g), lambda region, far, frame: frame.difference(region)),
}


@pytest.mark.parametrize("operation", CROSSING_OPERATIONS)
@pytest.mark.parametrize("offset", [0, 5e5, 5e6, 1e9])
def test_crossing_exteriors_mean_their_union(offset, operation):
    ours, theirs = CROSSING_OPERATIONS[operation]
    rng = random.Random(int(offset) % 1000 + 29)
    x, y = offset / 10, offset
    far_ring = [[x + 1000, y + 1000], [x + 1000, y + 1001], [x + 1001, y + 1001], [x + 1001, y + 1000], [x + 1000, y + 1000]]
    frame_ring = [[x - 3, y - 20], [x - 3, y + 30], [x + 9, y + 30], [x + 9, y - 20], [x - 3, y - 20]]
    for _ in range(20):
        a, b = crossing_pair(rng, x, y)
        g = module_polygon([a + [a[0]], b + [b[0]]])
        region = unary_union([Polygon(a), Polygon(b)])
        expected = theirs(region, Polygon(far_ring), Polygon(frame_ring))
        result = ours(g, module_polygon([far_ring]), module_polygon([frame_ring]))
        # Rounding at the coordinates' magnitude, over the perimeters involved.
        tolerance = 1e-9 + 6e-14 * offset
        assert result.area == pytest.approx(expected.area, abs=tolerance)
        assert g.area == pytest.approx(Polygon(a).area + Polygon(b).area, abs=tolerance)


def test_crossing_squares_united_with_a_third():
    sq = lambda x0, y0, x1, y1: [[x0, y0], [x0, y1], [x1, y1], [x1, y0], [x0, y0]]
    g = module_polygon([sq(0, 0, 10, 10), sq(5, 5, 15, 15)])
    assert g.union(module_polygon([sq(100, 100, 101, 101)])).area == pytest.approx(176.0)


# Rings meeting without sharing area: no union needed, and none may change what they mean.
TOUCHING = {
    "parcels_with_a_t_junction": [[[0, 0], [0, 10], [10, 10], [10, 0]], [[10, 0], [10, 5], [15, 5], [15, 0]],
                                  [[10, 5], [10, 10], [15, 10], [15, 5]]],
    "a_grid_of_parcels": [square(x, y, 3, True)[:-1] for x in (0, 3, 6) for y in (0, 3, 6)],
    "slanted_parcels_sharing_an_edge": [[[0, 0], [2, 9], [11, 8], [7, 1]], [[7, 1], [11, 8], [16, 3], [12, -2]]],
    "a_triangle_on_a_square's_corner": [[[0, 0], [0, 10], [10, 10], [10, 0]], [[10, 10], [10, 14], [14, 10]]],
}


@pytest.mark.parametrize("winding", ["model", "all_counter_clockwise"])
@pytest.mark.parametrize("name", TOUCHING)
def test_exteriors_touching_without_sharing_area(name, winding):
    rings = [r + [r[0]] for r in TOUCHING[name]]
    if winding != "model":
        rings = [r[::-1] for r in rings]
    check_against_peer(module_polygon(rings), MultiPolygon([Polygon(r) for r in rings]))


# A plus of two bars, no vertex of either inside the other, and bars crossing through each other's
# corners: the exteriors share area although no vertex tells.
SHARING_WITHOUT_A_VERTEX_INSIDE = {
    "plus": [[[0, 4], [0, 6], [10, 6], [10, 4]], [[4, 0], [4, 10], [6, 10], [6, 0]]],
    "through_corners": [[[0, 0], [0, 4], [4, 4], [4, 0]], [[-2, 2], [2, 6], [6, 2], [2, -2]]],
}


@pytest.mark.parametrize("name", SHARING_WITHOUT_A_VERTEX_INSIDE)
def test_exteriors_sharing_area_without_a_vertex_inside(name):
    rings = [r + [r[0]] for r in SHARING_WITHOUT_A_VERTEX_INSIDE[name]]
    rings = [r if is_clockwise([tuple(v) for v in r]) else r[::-1] for r in rings]
    check_against_peer(module_polygon(rings), MultiPolygon([Polygon(r) for r in rings]))


def thin_hole(x, y, where, height):
    """A 10 m square at (x, y) and a triangular hole lying along its bottom or top edge, or along
    the shell's slanted edge, thinner than rounding at that magnitude; and a point inside the hole."""
    shell = [[x, y], [x, y + 10], [x + 10, y + 10], [x + 10, y]]
    if where == "bottom":
        hole = [[x + 2, y + height], [x + 8, y + height], [x + 5, y + 3.75 * height]]
        return shell, hole, [x + 5, y + 2 * height]
    if where == "top":
        hole = [[x + 2, y + 10 - height], [x + 5, y + 10 - 3.75 * height], [x + 8, y + 10 - height]]
        return shell, hole, [x + 5, y + 10 - 2 * height]
    shell = [[x, y], [x, y + 10], [x + 10, y]]
    hole = [[x + 2, y + 8 - height], [x + 8, y + 2 - height], [x + 2, y + 8 - 3.75 * height]]
    return shell, hole, [x + 4, y + 6 - 2 * height]


@pytest.mark.parametrize("winding", ["model", "ogc"])
@pytest.mark.parametrize("where", ["bottom", "top", "slanted"])
@pytest.mark.parametrize("x,y,height", [(500000, 5000000, 4e-9), (5e8, 1e9, 8e-7), (0, 0, 5e-15)])
def test_a_hole_thinner_than_rounding_is_a_hole(x, y, height, where, winding):
    shell, hole, inside = thin_hole(x, y, where, height)
    peer = Polygon(shell, [hole])
    assert peer.is_valid
    # (GEOS's robust orientation: a sliver's shoelace sum at this magnitude may not tell.)
    shell_cw = not LinearRing(shell).is_ccw
    hole = hole if LinearRing(hole).is_ccw == shell_cw else hole[::-1]
    rings = [shell, hole] if shell_cw == (winding == "model") else [shell[::-1], hole[::-1]]
    g = module_polygon([r + [r[0]] for r in rings])
    assert g.area == pytest.approx(peer.area, rel=1e-13)
    assert g.contains(vg.Point({"x": inside[0], "y": inside[1]})) is False
    assert g.union(g).area == pytest.approx(peer.area, rel=1e-12)


def islands_in_holes(k, model):
    """A shell holding k x k square holes, an island in each: rings as written, and shapely's
    multipolygon of them."""
    shell = square(0, 0, 10 * k, model)
    holes = [square(10 * i + 2, 10 * j + 2, 6, not model) for i in range(k) for j in range(k)]
    isles = [square(10 * i + 4, 10 * j + 4, 2, model) for i in range(k) for j in range(k)]
    peer = MultiPolygon([Polygon(shell, holes)] + [Polygon(s) for s in isles])
    return [shell] + holes + isles, peer


@pytest.mark.parametrize("model", [True, False])
def test_islands_in_holes(model):
    rings, peer = islands_in_holes(5, model)
    check_against_peer(module_polygon(rings), peer)
    # Rings in another order read the same.
    rng = random.Random(31)
    rng.shuffle(rings)
    assert module_polygon(rings).area == pytest.approx(peer.area)


@pytest.mark.parametrize("winding", ["model", "ogc"])
def test_rings_nested_many_deep(winding):
    """Forty squares each inside the last, alternately exteriors and holes; far more rings around
    each than any index question reads before turning to the rings next in size."""
    depth = 40
    rings = [square(d, d, 2 * (depth - d) + 1.5, (d % 2 == 0) == (winding == "model")) for d in range(depth)]
    peer = MultiPolygon([Polygon(rings[d], [rings[d + 1]] if d + 1 < depth else []) for d in range(0, depth, 2)])
    g = module_polygon(rings[::-1])
    assert g.area == pytest.approx(peer.area)
    probes = [(d + 0.5, depth + 0.75) for d in range(depth)]
    assert [g.contains(vg.Point({"x": x, "y": y})) for x, y in probes] == [peer.contains(Point(p)) for p in probes]
