"""The ring orientation test, and the re-orientation of rings by the VeltJSON builder."""
import collections.abc

import pytest

from vornix_geometry.utils import is_clockwise, wkb_to_veltjson_dict, wkt_to_veltjson_dict

SQUARE_CW = [(0, 0), (0, 1), (1, 1), (1, 0)]
OFFSET_CW = [(1, 1), (1, 2), (2, 2), (2, 1)]


class Ring(collections.abc.Sequence):
    def __init__(self, items):
        self.items = items

    def __len__(self):
        return len(self.items)

    def __getitem__(self, index):
        return self.items[index]


class Broken:
    def __float__(self):
        raise ValueError("no float here")


@pytest.mark.parametrize("coords, expected", [
    (SQUARE_CW, True),
    (SQUARE_CW + [(0, 0)], True),
    (SQUARE_CW[::-1], False),
    ((SQUARE_CW + [(0, 0)])[::-1], False),
    ([(0, 0), (1, 0), (2, 0)], False),  # collinear: a sum of exactly 0
    ([[0, 0, 5, 6], [0, 1, 7, 8], [1, 1, 9, 9]], True),  # z and m are ignored
    ([(0.0, 1.0), (1, 1), (1, 0), (0, 0), (0.0, 1.0000000000000002)], True),
    (tuple(SQUARE_CW), True),
    (Ring([Ring([0, 0]), Ring([0, 1]), Ring([1, 1])]), True),
    ([(0, 0), (0, float("nan")), (1, 1)], False),
    # finite ordinates whose shoelace products overflow (to infinities of both signs) keep their
    # orientation
    ([(x * 1e155, y * 1e155) for x, y in OFFSET_CW], True),
    ([(x * 1e155, y * 1e155) for x, y in OFFSET_CW[::-1]], False),
    ([(x * 8e307, y * 8e307) for x, y in OFFSET_CW], True),
    ([(x * 8e307, y * 8e307) for x, y in OFFSET_CW + [(1, 1)]][::-1], False),
    ([(1e-300, 1e300), (1e300, 2e300), (2e300, 2e300), (2e300, 1e300)], True),
    ([(-1.7e308, -1.7e308), (-1.7e308, 1.7e308), (1.7e308, 1.7e308), (1.7e308, -1.7e308)], True),
    # an infinite ordinate stays with the formula's answer
    ([(0, 0), (0, float("inf")), (1, 1), (1, 0)], False),
])
def test_orientation(coords, expected):
    assert is_clockwise(coords) is expected


def test_a_closing_vertex_off_by_the_last_bit_closes_the_ring():
    assert is_clockwise([(1.0, 1.0), (0, 1), (0, 0), (1.0000000000000002, 1.0)]) is False
    # two distinct vertices once the closing one is dropped
    with pytest.raises(RuntimeError, match="^ring must have at least 3 vertices$"):
        is_clockwise([(1.0, 1.0), (0, 0), (1.0000000000000002, 1.0)])


@pytest.mark.parametrize("coords, error, message", [
    ([], IndexError, "list index out of range"),
    ((), IndexError, "tuple index out of range"),
    ([(0, 0)], RuntimeError, "ring must have at least 3 vertices"),
    ([(0, 0), (1, 1)], RuntimeError, "ring must have at least 3 vertices"),
    ([(0, 0), (1, 1), (0, 0)], RuntimeError, "ring must have at least 3 vertices"),
    ([5, (0, 1), (1, 1)], TypeError, "'int' object cannot be cast as 'Sequence'"),
    ([(0, 0), (1, 1), 5], TypeError, "'int' object cannot be cast as 'Sequence'"),
    # the last vertex is tested before the count
    ([(0, 0), 5], TypeError, "'int' object cannot be cast as 'Sequence'"),
    ([(0, 0), (0, 1), 7, (1, 1)], TypeError, "'int' object cannot be cast as 'Sequence'"),
    ([("a", 0), (0, 1), (1, 1)], TypeError, "must be real number, not str"),
    ([(0,), (0, 1), (1, 1)], IndexError, "tuple index out of range"),
    ([(Broken(), 0), (0, 1), (1, 1)], ValueError, "no float here"),
])
def test_errors(coords, error, message):
    with pytest.raises(error) as raised:
        is_clockwise(coords)
    assert str(raised.value) == message


def test_nothing_is_changed_in_the_input():
    ring = [[0, 0], [1, 0], [1, 1]]
    is_clockwise(ring)
    assert ring == [[0, 0], [1, 0], [1, 1]]


CW = "(0 0, 0 10, 10 10, 10 0, 0 0)"
CCW = "(0 0, 10 0, 10 10, 0 10, 0 0)"
HOLE_CW = "(2 2, 2 4, 4 4, 4 2, 2 2)"
HOLE_CCW = "(2 2, 4 2, 4 4, 2 4, 2 2)"


@pytest.mark.parametrize("text", [
    f"POLYGON ({CW}, {HOLE_CCW})", f"POLYGON ({CCW}, {HOLE_CCW})", f"POLYGON ({CW}, {HOLE_CW})",
    f"POLYGON ({CCW}, {HOLE_CW}, {HOLE_CW})", f"MULTIPOLYGON (({CCW}), ({CW}, {HOLE_CW}))",
])
def test_veltjson_rings_run_exterior_clockwise_and_holes_counter_clockwise(text):
    rings = wkt_to_veltjson_dict(text)["rings"]
    exterior = [i for i, r in enumerate(rings) if r[0] == (0.0, 0.0)]
    for i, ring in enumerate(rings):
        assert is_clockwise(ring) is (i in exterior), (text, i)


def test_veltjson_orients_rings_of_huge_coordinates():
    # already clockwise: left as it is
    rings = wkt_to_veltjson_dict("POLYGON ((1e300 1e300, 1e300 2e300, 2e300 2e300, 2e300 1e300, 1e300 1e300))")["rings"]
    assert rings[0][1] == (1e300, 2e300)


def test_veltjson_reverses_in_place_and_leaves_paths_alone():
    assert wkt_to_veltjson_dict(f"POLYGON ({CCW})")["rings"] == [[(0.0, 0.0), (0.0, 10.0), (10.0, 10.0),
                                                                  (10.0, 0.0), (0.0, 0.0)]]
    paths = wkt_to_veltjson_dict(f"MULTILINESTRING ({CCW}, {HOLE_CW})")["paths"]
    assert paths[0][1] == (10.0, 0.0) and paths[1][1] == (2.0, 4.0)
    assert wkt_to_veltjson_dict(f"LINESTRING {CCW}")["paths"][0][1] == (10.0, 0.0)
    # a multipolygon's rings land in one flat list
    assert len(wkt_to_veltjson_dict("MULTIPOLYGON (((0 0, 0 1, 1 1, 0 0)), ((5 5, 5 6, 6 6, 5 5)))")["rings"]) == 2
