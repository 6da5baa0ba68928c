"""The headline table: each workload through this module and through its peer, measured in the same
run on prebuilt objects (the median of the rounds), with the ratio peer time / our time (above 1:
this module is faster).

  area, intersects and intersect (overlay) on polygons of 100 and 1,000 vertices, against shapely 1.8;
  area_collection and intersects_collection of 100,000 small polygons, against shapely looping in
  Python; projection.project_collection of 100,000 points, against pyproj's Transformer.transform on
  numpy arrays.

Then the cost per vertex of the conversions every operation pays: model into engine geometry
(__kxc_geo of a 1,000-vertex against a 100-vertex polygon), and engine result back into a model
(move_relative by 0, 0, which converts in, moves and converts out, less the conversion in).

    PYTHONPATH=build-release/python /usr/bin/python3 bench/ratio_table.py [--count N] [--rounds N]
"""
import argparse

import numpy as np
import pyproj
from shapely.geometry import Polygon as ShapelyPolygon

import vornix_geometry as vg
from collections_bench import squares
from operations_bench import per_call, ring

WGS84 = {"wkid": 4326}


def row(title, ours, peer, goal):
    ratio = peer / ours
    mark = "" if goal is None else ("  ok" if ratio >= goal else "  below")
    goal_text = "" if goal is None else f">= {goal:.2f}x"
    print(f"{title:<52} {ours * 1e6:12.2f} {peer * 1e6:12.2f} {ratio:8.2f}x {goal_text:>9}{mark}")


def polygon(ring):
    return vg.Polygon({"rings": [ring], "spatialReference": WGS84})


GOALS = {("area", 100): 0.8, ("area", 1000): 0.5, ("intersects", 100): 0.9, ("intersects", 1000): 0.7,
         ("intersect", 100): 0.9, ("intersect", 1000): 0.9}


def single_operations(rounds):
    for vertices in (100, 1000):
        a_ring, b_ring = ring(vertices, 1.0, 0.0, 0.0), ring(vertices, 1.0, 0.5, 0.3)
        a, b = polygon(a_ring), polygon(b_ring)
        sa, sb = ShapelyPolygon(a_ring), ShapelyPolygon(b_ring)
        calls = max(20, 20_000 // vertices)
        # A vertex of either star lies inside the other, which settles intersects at once; across the
        # band no vertex does, so that line measures the full relation test.
        band_ring = [[-5, 0.29], [-5, 0.31], [5, 0.31], [5, 0.29], [-5, 0.29]]
        band, shapely_band = polygon(band_ring), ShapelyPolygon(band_ring)
        for name, ours, peer in [("area", lambda: a.area, lambda: sa.area),
                                 ("intersects", lambda: a.intersects(b), lambda: sa.intersects(sb)),
                                 ("intersects across a band", lambda: a.intersects(band),
                                  lambda: sa.intersects(shapely_band)),
                                 ("intersect", lambda: a.intersect(b), lambda: sa.intersection(sb))]:
            row(f"{name}, {vertices} vertices", per_call(ours, calls, rounds), per_call(peer, calls, rounds),
                GOALS.get((name, vertices)))


def collections(count, rounds):
    rings = squares(count)
    ours = [polygon(r) for r in rings]
    theirs = [ShapelyPolygon(r) for r in rings]
    far = [[-10, -10], [-10, -5], [-5, -5], [-5, -10], [-10, -10]]
    probe, shapely_probe = polygon(far), ShapelyPolygon(far)
    row(f"area_collection of {count:,} / sum(g.area ...)", per_call(lambda: vg.area_collection(ours), 1, rounds),
        per_call(lambda: sum(g.area for g in theirs), 1, rounds), 1.5)
    # Nothing meets the probe, so every item is tested.
    row(f"intersects_collection of {count:,} / any(...)",
        per_call(lambda: vg.intersects_collection(probe, ours), 1, rounds),
        per_call(lambda: any(shapely_probe.intersects(g) for g in theirs), 1, rounds), 1.0)
    lon = np.random.default_rng(1).uniform(-170, 170, count)
    lat = np.random.default_rng(2).uniform(-80, 80, count)
    points = [vg.Point({"x": x, "y": y, "spatialReference": WGS84}) for x, y in zip(lon.tolist(), lat.tolist())]
    target = vg.SpatialReference({"wkid": 3857})
    transformer = pyproj.Transformer.from_crs(4326, 3857, always_xy=True)
    row(f"project_collection of {count:,} / Transformer",
        per_call(lambda: vg.projection.project_collection(points, target), 1, rounds),
        per_call(lambda: transformer.transform(lon, lat), 1, rounds), 0.25)


def per_vertex(rounds):
    small, large = polygon(ring(100, 1.0, 0.0, 0.0)), polygon(ring(1000, 1.0, 0.0, 0.0))
    kxc_geo = getattr(vg.Polygon, "__kxc_geo")
    into = [per_call(lambda g=g: kxc_geo(g), 200, rounds) for g in (small, large)]
    both = [per_call(lambda g=g: g.move_relative(0.0, 0.0), 200, rounds) for g in (small, large)]
    into_vertex = (into[1] - into[0]) / 900
    out_vertex = (both[1] - both[0]) / 900 - into_vertex
    print(f"\nper vertex: model -> engine {into_vertex * 1e9:6.1f} ns, engine -> model {out_vertex * 1e9:6.1f} ns"
          f" (fixed cost of one conversion in: {(into[0] - 100 * into_vertex) * 1e6:.2f} us)")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()
    print(f"{'workload':<52} {'ours us':>12} {'peer us':>12} {'ratio':>9} {'goal':>9}")
    single_operations(args.rounds)
    collections(args.count, args.rounds)
    per_vertex(args.rounds)


if __name__ == "__main__":
    main()
