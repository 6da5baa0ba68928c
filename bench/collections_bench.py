"""Collection functions on 100,000 geometries against their peers in the same run: area_collection and
intersects_collection against shapely 1.8 looping in Python, project_collection against pyproj's
Transformer.transform on arrays. Then where the module's time goes: the model of each item converted
into an engine geometry (its __kxc_geo), and a cheap map (move_relative_collection by 0, 0) that pays
the same conversions in and out as project_collection, leaving the projection itself as the rest.
The same without spatial references shows what making the engine's spatial reference of every item
costs. Prints the best time of each and the ratio to the peer (above 1: this module is faster).

    PYTHONPATH=build/python /usr/bin/python3 bench/collections_bench.py [--count N] [--rounds N]
"""
import argparse
import time

import numpy as np
import pyproj
from shapely.geometry import Point as ShapelyPoint
from shapely.geometry import Polygon as ShapelyPolygon

import vornix_geometry as vg

WGS84 = {"wkid": 4326}


def best(function, rounds):
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return min(times)


def report(title, ours, peer, count):
    ratio = f"{peer / ours:7.2f}x" if peer else ""
    peer_text = f"{peer * 1e3:10.1f} ms" if peer else " " * 13
    print(f"{title:<46} {ours * 1e3:10.1f} ms {peer_text} {ratio}   {ours / count * 1e9:8.0f} ns/item")


def squares(count):
    """Small squares (5 vertices) on a grid, none touching another."""
    rings = []
    for i in range(count):
        x, y = (i % 1000) * 3.0, (i // 1000) * 3.0
        rings.append([[x, y], [x, y + 1], [x + 1, y + 1], [x + 1, y], [x, y]])
    return rings


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    n, rounds = args.count, args.rounds

    rings = squares(n)
    ours = [vg.Polygon({"rings": [r], "spatialReference": WGS84}) for r in rings]
    theirs = [ShapelyPolygon(r) for r in rings]
    probe = vg.Polygon({"rings": [[[-10, -10], [-10, -5], [-5, -5], [-5, -10], [-10, -10]]],
                        "spatialReference": WGS84})
    shapely_probe = ShapelyPolygon([[-10, -10], [-10, -5], [-5, -5], [-5, -10], [-10, -10]])

    print(f"{n} geometries{'':<33} {'ours':>13} {'peer':>13} {'ratio':>8}")
    a = best(lambda: vg.area_collection(ours), rounds)
    report("area_collection / shapely loop", a, best(lambda: sum(g.area for g in theirs), rounds), n)
    # Nothing intersects the probe: every item is read.
    i = best(lambda: vg.intersects_collection(probe, ours), rounds)
    report("intersects_collection / shapely loop", i,
           best(lambda: any(shapely_probe.intersects(g) for g in theirs), rounds), n)

    lon = np.random.default_rng(1).uniform(-170, 170, n)
    lat = np.random.default_rng(2).uniform(-80, 80, n)
    points = [vg.Point({"x": x, "y": y, "spatialReference": WGS84}) for x, y in zip(lon.tolist(), lat.tolist())]
    target = vg.SpatialReference({"wkid": 3857})
    transformer = pyproj.Transformer.from_crs(4326, 3857, always_xy=True)
    p = best(lambda: vg.projection.project_collection(points, target), rounds)
    report("project_collection / Transformer on arrays", p, best(lambda: transformer.transform(lon, lat), rounds), n)

    print("\nwhere the time goes")
    bare = [vg.Polygon({"rings": [r]}) for r in rings]
    bare_probe = vg.Polygon({"rings": [[[-10, -10], [-10, -5], [-5, -5], [-5, -10], [-10, -10]]]})
    report("area_collection, no spatial reference", best(lambda: vg.area_collection(bare), rounds),
           best(lambda: sum(g.area for g in theirs), rounds), n)
    report("intersects_collection, no spatial reference",
           best(lambda: vg.intersects_collection(bare_probe, bare), rounds),
           best(lambda: any(shapely_probe.intersects(g) for g in theirs), rounds), n)
    bare_kxc_geo = getattr(vg.Polygon, "__kxc_geo")
    report("polygons without one: model to engine", best(lambda: [bare_kxc_geo(g) for g in bare], rounds), 0, n)
    kxc_geo = getattr(vg.Polygon, "__kxc_geo")
    convert = best(lambda: [kxc_geo(g) for g in ours], rounds)
    report("polygons: model to engine (__kxc_geo each)", convert, 0, n)
    point_kxc_geo = getattr(vg.Point, "__kxc_geo")
    report("points: model to engine (__kxc_geo each)", best(lambda: [point_kxc_geo(g) for g in points], rounds), 0, n)
    moved = best(lambda: vg.move_relative_collection(points, 0.0, 0.0), rounds)
    report("points: move_relative_collection (in and out)", moved, 0, n)
    report("points: projection alone (project - move)", max(p - moved, 0.0), 0, n)
    report("shapely: Point objects from arrays", best(lambda: [ShapelyPoint(x, y) for x, y in zip(lon, lat)], 1), 0, n)


if __name__ == "__main__":
    main()
