"""Envelopes without width or height are the segment or point they cover: relation tests and
relate, both ways round, against shapely's LineString or Point, and the overlays that meet them."""
import itertools

import pytest
from shapely.geometry import LineString, Point, Polygon

import vornix_geometry as vg

PREDICATES = ["contains", "crosses", "disjoint", "equals", "intersects", "overlaps", "touches", "within"]

# Each envelope and the shape it covers.
ENVELOPES = {
    "no width, on the square's edge": ((10, 2, 10, 5), LineString([(10, 2), (10, 5)])),
    "no width, across the square's edge": ((10, -2, 10, 5), LineString([(10, -2), (10, 5)])),
    "no width, inside": ((3, 2, 3, 5), LineString([(3, 2), (3, 5)])),
    "no height, through the square": ((-5, 4, 15, 4), LineString([(-5, 4), (15, 4)])),
    "no height, along the line": ((2, 10, 5, 10), LineString([(2, 10), (5, 10)])),
    "a point on the square's corner": ((10, 10, 10, 10), Point(10, 10)),
    "a point inside": ((4, 4, 4, 4), Point(4, 4)),
    "a point outside": ((30, 30, 30, 30), Point(30, 30)),
}

# What they are tested against: ours and shapely's.
OTHERS = {
    "square": ({"rings": [[[0, 0], [0, 10], [10, 10], [10, 0], [0, 0]]]}, Polygon([(0, 0), (0, 10), (10, 10), (10, 0)])),
    "envelope": ({"xmin": 0, "ymin": 0, "xmax": 10, "ymax": 10}, Polygon([(0, 0), (0, 10), (10, 10), (10, 0)])),
    "line along the top": ({"paths": [[[0, 10], [4, 10]]]}, LineString([(0, 10), (4, 10)])),
    "point": ({"x": 10, "y": 3}, Point(10, 3)),
    "same envelope as a line": ({"xmin": 10, "ymin": 2, "xmax": 10, "ymax": 5}, LineString([(10, 2), (10, 5)])),
}


def envelope(name):
    (xmin, ymin, xmax, ymax), shape = ENVELOPES[name]
    return vg.Geometry({"xmin": xmin, "ymin": ymin, "xmax": xmax, "ymax": ymax}), shape


def agree(ours, other, theirs, their_other):
    assert {p: getattr(ours, p)(other) for p in PREDICATES if p != "equals"} == \
        {p: getattr(theirs, p)(their_other) for p in PREDICATES if p != "equals"}
    # Equal is the same kind occupying the same space.
    assert ours.equals(other) is (type(ours) is type(other) and theirs.equals(their_other))
    matrix = theirs.relate(their_other)
    assert ours.relate(other, matrix) is True
    wrong = ("F" if matrix[0] != "F" else "0") + matrix[1:]
    assert ours.relate(other, wrong) is False


@pytest.mark.parametrize("other", OTHERS)
@pytest.mark.parametrize("name", ENVELOPES)
def test_a_flat_envelope_relates_as_the_shape_it_covers(name, other):
    e, shape = envelope(name)
    d, their_other = OTHERS[other]
    g = vg.Geometry(d)
    agree(e, g, shape, their_other)
    agree(g, e, their_other, shape)


@pytest.mark.parametrize("name", ENVELOPES)
def test_overlays_and_buffers_of_a_flat_envelope(name):
    e, shape = envelope(name)
    square_d, square = OTHERS["square"]
    s = vg.Geometry(square_d)
    assert e.length == pytest.approx(2 * shape.length)  # its boundary runs there and back
    assert s.union(e).area == pytest.approx(square.area)
    assert s.difference(e).area == pytest.approx(square.area)
    assert s.intersect(e).is_empty  # no area in common
    line_d, line = OTHERS["line along the top"]
    assert e.intersect(vg.Geometry(line_d)).length == pytest.approx(shape.intersection(line).length)
    assert e.buffer(1).area == pytest.approx(shape.buffer(1, resolution=18).area, rel=1e-9)
    for a, b in itertools.permutations([e, vg.Geometry(OTHERS["point"][0])]):
        assert a.distance_to(b) == pytest.approx(shape.distance(OTHERS["point"][1]))
