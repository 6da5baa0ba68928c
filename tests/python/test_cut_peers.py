"""cut against shapely's split of the same geometry by the same line. Every cutter here runs east
across its x range, so a piece above it lies on its left: the pieces above, as one geometry, come
first, then those below, then each part the cutter does not divide. A geometry with no area (or
length) to divide gives nothing."""
import json
import math

import pytest
from shapely.geometry import LineString, MultiLineString, MultiPolygon, Polygon
from shapely.ops import split, unary_union

import vornix_geometry as vg


def comb(n, *, teeth_holes=False, counter_clockwise=False, x0=0.0, y0=0.0, unit=1.0):
    """Teeth [2i, 2i + 1] x [0, 1] on a base [0, 2n - 1] x [-1, 0]; a hole [.25, .75] x [.25, .75]
    in each tooth where asked. Rings as (shell, holes) pairs, shells clockwise, holes the other way."""
    at = lambda x, y: (x0 + unit * x, y0 + unit * y)
    top = [p for i in range(n) for p in ((2 * i, 1), (2 * i + 1, 1), (2 * i + 1, 0), (2 * i + 2, 0))][:-1]
    shell = [at(*p) for p in [(0, -1), (0, 0)] + top + [(2 * n - 1, -1)]]
    holes = [[at(2 * i + x, y) for x, y in ((.25, .25), (.75, .25), (.75, .75), (.25, .75))]
             for i in range(n)] if teeth_holes else []
    if counter_clockwise:
        shell, holes = shell[::-1], [h[::-1] for h in holes]
    return [(shell, holes)]


def squares(cells):
    """Unit squares with lower left corners `cells`, each a part of its own."""
    return [([(x, y), (x, y + 1), (x + 1, y + 1), (x + 1, y)], []) for x, y in cells]


def wave(x0, x1, steps, y, amplitude, turns):
    return [(x0 + (x1 - x0) * k / steps, y + amplitude * math.sin(2 * math.pi * turns * k / steps))
            for k in range(steps + 1)]


def zigzag_cutter(x0, x1, teeth, low, high):
    return [(x0 + (x1 - x0) * k / (2 * teeth), high if k % 2 else low) for k in range(2 * teeth + 1)]


def ours_of(parts):
    return vg.Polygon({"rings": [[list(p) for p in ring + ring[:1]] for shell, holes in parts for ring in [shell] + holes]})


def peer_of(parts):
    return MultiPolygon([Polygon(shell, holes) for shell, holes in parts])


def height_at(cutter, x):
    for (xa, ya), (xb, yb) in zip(cutter, cutter[1:]):
        if xa <= x <= xb:
            return ya + (yb - ya) * (x - xa) / (xb - xa)
    raise AssertionError(f"{x} is beyond the cutter")


def expected(peer, cutter):
    """shapely's pieces of each part: (above, below, parts not divided)."""
    above, below, whole = [], [], []
    for part in peer.geoms:
        pieces = list(split(part, LineString(cutter)).geoms)
        if len(pieces) == 1:
            whole.append(part)
            continue
        for piece in pieces:
            p = piece.representative_point()
            (above if p.y > height_at(cutter, p.x) else below).append(piece)
    return above, below, whole


def shapely_of(g):
    """One of our results as shapely sees it, and how many parts it has."""
    d = json.loads(str(g))
    if "paths" in d:
        return MultiLineString(d["paths"]), len(d["paths"])
    # Exteriors run clockwise, holes the other way.
    signed = [(sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(r, r[1:] + r[:1])), r) for r in d["rings"]]
    shells = [Polygon(r) for s, r in signed if s < 0]
    holes = [Polygon(r) for s, r in signed if s > 0]
    return unary_union(shells).difference(unary_union(holes)), len(shells)


def assert_same(ours, theirs):
    region, parts = shapely_of(ours)
    union = unary_union(theirs)
    assert parts == len(theirs)
    size = (lambda g: g.length) if region.geom_type.endswith("LineString") else (lambda g: g.area)
    assert size(region.symmetric_difference(union)) <= 1e-9 * size(union)


def assert_cut_as_shapely(ours, peer, cutter):
    pieces = ours.cut(vg.Polyline({"paths": [[list(p) for p in cutter]]}))
    above, below, whole = expected(peer, cutter)
    if not above:
        assert pieces == []
        return pieces
    assert len(pieces) == 2 + len(whole)
    for got, want in zip(pieces, [above, below] + [[w] for w in whole]):
        assert_same(got, want)
    return pieces


ACROSS = [(-2.0, 0.5), (300.0, 0.5)]

POLYGONS = {
    "comb": (comb(100), ACROSS),
    "comb, counter-clockwise": (comb(100, counter_clockwise=True), ACROSS),
    "comb, a hole in every tooth": (comb(60, teeth_holes=True), ACROSS),
    "comb, a hole in every tooth, counter-clockwise": (comb(60, teeth_holes=True, counter_clockwise=True), ACROSS),
    "comb, many digits": (comb(80, x0=1234567.123456789, y0=-7654321.98765432, unit=0.1234567891),
                          [(1234567.123456789 - 1, -7654321.98765432 + 0.05), (1234567.123456789 + 30, -7654321.98765432 + 0.07)]),
    # teeth as parts of their own, touching the base along its edge
    "teeth on a base": (squares([(2 * i, 0) for i in range(40)]) + [([(0, -1), (0, 0), (79, 0), (79, -1)], [])], ACROSS),
    # a row of squares touching at corners, only the lower ones crossed
    "squares touching at corners": (squares([(i, i % 2) for i in range(40)]), ACROSS),
    "a cutter crossing many times": ([([(0, 0), (0, 1), (100, 1), (100, 0)], [])],
                                     zigzag_cutter(-0.5, 100.5, 101, -0.5, 1.5)),
    "a cutter of many segments": (comb(50), wave(-2, 101, 20_000, 0.5, 0.3, 37)),
    "a wave along the teeth": (comb(50), wave(-2, 101, 5_000, 0.5, 0.45, 200)),
}


@pytest.mark.parametrize("name", POLYGONS)
def test_polygon_pieces_are_shapely_split_by_side(name):
    parts, cutter = POLYGONS[name]
    assert_cut_as_shapely(ours_of(parts), peer_of(parts), cutter)


def test_pieces_cut_again_are_shapely_split_of_its_pieces():
    parts = comb(60, teeth_holes=True)
    tips = assert_cut_as_shapely(ours_of(parts), peer_of(parts), ACROSS)[0]
    peer_tips, _ = shapely_of(tips)
    assert_cut_as_shapely(tips, peer_tips, wave(-2, 121, 3_000, 0.6, 0.25, 41))


def test_line_pieces_are_shapely_split_by_side():
    path = [(float(i), float(i % 2)) for i in range(401)]
    pieces = vg.Polyline({"paths": [[list(p) for p in path]]}).cut(vg.Polyline({"paths": [[list(p) for p in ACROSS]]}))
    theirs = list(split(LineString(path), LineString(ACROSS)).geoms)
    above = [p for p in theirs if p.interpolate(0.5, normalized=True).y > 0.5]
    below = [p for p in theirs if p.interpolate(0.5, normalized=True).y < 0.5]
    assert len(pieces) == 2 and len(above) + len(below) == len(theirs)
    assert_same(pieces[0], above)
    assert_same(pieces[1], below)


NOTHING_TO_DIVIDE = {
    "envelope of no width": {"xmin": 1, "ymin": 6, "xmax": 1, "ymax": 28},
    "envelope of no height": {"xmin": -20, "ymin": 8, "xmax": 40, "ymax": 8},
    "envelope of neither": {"xmin": 1, "ymin": 8, "xmax": 1, "ymax": 8},
    "ring of two points": {"rings": [[[1, 6], [1, 28], [1, 6]]]},
    "ring of no area": {"rings": [[[1, 6], [1, 28], [1, 17], [1, 6]]]},
    "rings of no area, crossed": {"rings": [[[-20, 8], [40, 8], [10, 8]], [[1, 6], [1, 28], [1, 17]]]},
}


@pytest.mark.parametrize("name", NOTHING_TO_DIVIDE)
def test_nothing_to_divide_gives_no_pieces(name):
    cutter = vg.Polyline({"paths": [[[-10, 0], [-5, 9], [36, 7]]]})
    assert vg.Geometry(NOTHING_TO_DIVIDE[name]).cut(cutter) == []


@pytest.mark.parametrize("degenerate, whole", [
    ([[1, 6], [1, 28], [1, 17]], [[0, 0], [0, 20], [20, 20], [20, 0]]),
    ([[5, 5], [5, 5]], [[0, 0], [0, 20]]),
])
def test_a_part_with_nothing_to_divide_is_not_listed(degenerate, whole):
    key = "rings" if len(degenerate) > 2 else "paths"
    g = vg.Geometry({key: [degenerate, whole]})
    pieces = g.cut(vg.Polyline({"paths": [[[-10, 0], [-5, 9], [36, 7]]]}))
    assert len(pieces) == 2
