"""Geodetic area (geodesic edges) against pyproj's Geod.geometry_area_perimeter on the same
polygons: one ring of 1,000 to 100,000 vertices across the antimeridian, written wrapped, and a
shell with 10 to 1,000 holes across it. Sizes ten times apart show how each grows. Prints the median
time of the rounds and the ratio pyproj / ours (above 1: this module is faster), and checks that
both measured the same area.

    PYTHONPATH=build-release/python /usr/bin/python3 bench/geodetic_area_bench.py [--rounds N]
"""
import argparse
import math
import statistics

from pyproj import Geod
from shapely.geometry import Polygon

import vornix_geometry as vg
from generalize_bench import best

GEOD = Geod(ellps="WGS84")


def median(function, rounds):
    return best(function, rounds, statistics.median)


def wrapped(ring):
    return [[math.remainder(x, 360), y] for x, y in ring]


def star(vertices, lon=180.0, lat=-20.0, radius=5.0):
    """A clockwise star about (lon, lat), closed."""
    ring = [[lon + radius * (1 - 0.3 * (k % 2)) * math.sin(2 * math.pi * k / vertices),
             lat + radius * (1 - 0.3 * (k % 2)) * math.cos(2 * math.pi * k / vertices)] for k in range(vertices)]
    return ring + [ring[0]]


def holed(holes):
    """A 40 x 20 degree shell across the antimeridian with a grid of small square holes."""
    shell = [[160, -30], [160, -10], [200, -10], [200, -30], [160, -30]]
    side = math.ceil(math.sqrt(holes))
    rings = []
    for k in range(holes):
        x, y = 160.5 + 39 * (k % side) / side, -29.5 + 19 * (k // side) / side
        s = 0.5 * 19 / side
        rings.append([[x, y], [x + s, y], [x + s, y + s], [x, y + s], [x, y]])
    return shell, rings


def polygons():
    for n in (1_000, 10_000, 100_000):
        ring = star(n)
        yield f"one ring, {n:,} vertices", [wrapped(ring)], Polygon(ring)
    for h in (10, 100, 1_000):
        shell, holes = holed(h)
        yield f"shell and {h:,} holes", [wrapped(shell)] + [wrapped(r) for r in holes], Polygon(shell, holes)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=7)
    args = parser.parse_args()
    geodesic = vg.GeodeticCurveType.Geodesic
    print(f"{'geodetic area':<30} {'ours (ms)':>10} {'pyproj (ms)':>12} {'ratio':>8}  same")
    for title, rings, peer in polygons():
        ours = vg.Polygon({"rings": rings, "spatialReference": {"wkid": 4326}})
        a, area = median(lambda: ours.calculate_area(geodesic), args.rounds)
        b, (peer_area, _) = median(lambda: GEOD.geometry_area_perimeter(peer), args.rounds)
        same = math.isclose(area, abs(peer_area), rel_tol=1e-9)
        print(f"{title:<30} {a * 1e3:10.3f} {b * 1e3:12.3f} {b / a:7.2f}x  {same}")


if __name__ == "__main__":
    main()
