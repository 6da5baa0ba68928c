"""Single-geometry operations through the module against shapely 1.8 on the same geometries: area,
intersects, buffer and intersect on polygons of 10, 100 and 1,000 vertices, and area and intersect of
a polygon with 149 holes in both windings; geodetic area against pyproj's Geod.geometry_area_perimeter. Then, for the 100-vertex polygon, where the module's time goes:
the model converted into an engine geometry (__kxc_geo), and the result converted back (Geometry(JSON)
stands for the factory's path). Prints median times per call and the ratio to the peer (above 1:
this module is faster).

    PYTHONPATH=build/python /usr/bin/python3 bench/operations_bench.py [--rounds N] [--calls N]
"""
import argparse
import math
import statistics
import time

import pyproj
from shapely.geometry import Polygon as ShapelyPolygon

import vornix_geometry as vg


def per_call(function, calls, rounds):
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        for _ in range(calls):
            function()
        times.append((time.perf_counter() - start) / calls)
    return statistics.median(times)


def compare(title, ours, peer, calls, rounds):
    a = per_call(ours, calls, rounds)
    b = per_call(peer, calls, rounds)
    print(f"{title:<44} {a * 1e6:10.2f} us {b * 1e6:10.2f} us {b / a:7.2f}x")
    return a


def ring(vertices, radius, cx, cy):
    """A clockwise star-shaped ring (this module's exterior orientation), closed."""
    points = []
    for i in range(vertices):
        angle = -2 * math.pi * i / vertices
        r = radius * (1.0 if i % 2 == 0 else 0.8)
        points.append([cx + r * math.cos(angle), cy + r * math.sin(angle)])
    return points + [points[0]]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--calls", type=int, default=200)
    args = parser.parse_args()
    geod = pyproj.Geod(ellps="WGS84")
    geodesic = vg.GeodeticCurveType.Geodesic

    print(f"{'':<44} {'ours':>13} {'shapely/pyproj':>13} {'ratio':>8}")
    for vertices in (10, 100, 1000):
        a_ring, b_ring = ring(vertices, 1.0, 0.0, 0.0), ring(vertices, 1.0, 0.5, 0.3)
        a = vg.Polygon({"rings": [a_ring], "spatialReference": {"wkid": 4326}})
        b = vg.Polygon({"rings": [b_ring], "spatialReference": {"wkid": 4326}})
        sa, sb = ShapelyPolygon(a_ring), ShapelyPolygon(b_ring)
        calls = max(10, args.calls * 100 // vertices)
        compare(f"area, {vertices} vertices", lambda: a.area, lambda: sa.area, calls, args.rounds)
        compare(f"intersects, {vertices} vertices", lambda: a.intersects(b), lambda: sa.intersects(sb),
                calls, args.rounds)
        compare(f"buffer(0.1), {vertices} vertices", lambda: a.buffer(0.1), lambda: sa.buffer(0.1, resolution=18),
                max(5, calls // 10), args.rounds)
        compare(f"intersect, {vertices} vertices", lambda: a.intersect(b), lambda: sa.intersection(sb),
                max(5, calls // 5), args.rounds)
        compare(f"geodetic area / Geod, {vertices} vertices", lambda: a.calculate_area(geodesic),
                lambda: geod.geometry_area_perimeter(sa), calls, args.rounds)

    # Polygons of many rings, whose roles are read anew by every call: a 1,000-vertex shell with 100
    # holes of 20 vertices, wound the module's way (read by winding) and OGC's (read by nesting).
    shell = ring(1000, 20.0, 0.0, 0.0)
    holes = [ring(20, 0.4, 2.0 * i, 2.0 * j)[::-1] for i in range(-7, 8) for j in range(-7, 8) if i * i + j * j < 50]
    crossing = ring(100, 10.0, 8.0, 0.0)
    for winding, rings in [("module winding", [shell] + holes), ("OGC winding", [r[::-1] for r in [shell] + holes])]:
        g, other = vg.Polygon({"rings": rings}), vg.Polygon({"rings": [crossing]})
        peer, peer_other = ShapelyPolygon(shell, holes), ShapelyPolygon(crossing)
        compare(f"area, 149 holes, {winding}", lambda: g.area, lambda: peer.area, 50, args.rounds)
        compare(f"intersect, 149 holes, {winding}", lambda: g.intersect(other), lambda: peer.intersection(peer_other),
                20, args.rounds)

    # Where the time of one call goes, on the 100-vertex polygon.
    a = vg.Polygon({"rings": [ring(100, 1.0, 0.0, 0.0)], "spatialReference": {"wkid": 4326}})
    bare = vg.Polygon({"rings": [ring(100, 1.0, 0.0, 0.0)]})
    kxc_geo = getattr(a, "__kxc_geo")
    result = a.buffer(0.1)
    text = result.JSON
    print("\n100-vertex polygon, time per step:")
    for title, function in [("model -> engine geometry (__kxc_geo)", kxc_geo),
                            ("the same without a spatial reference", getattr(bare, "__kxc_geo")),
                            ("area without a spatial reference", lambda: bare.area),
                            ("area (one conversion + engine area)", lambda: a.area),
                            ("buffer (conversion + engine + result back)", lambda: a.buffer(0.1)),
                            ("engine text of the buffer result (JSON)", lambda: result.JSON),
                            ("engine text -> new Polygon (Geometry(JSON))", lambda: vg.Geometry(text))]:
        print(f"  {title:<46} {per_call(function, args.calls, args.rounds) * 1e6:10.2f} us")


if __name__ == "__main__":
    main()
