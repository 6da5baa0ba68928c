"""Geometries from VeltJSON dictionaries, and their VeltJSON text: Point(d) and Polygon(d) against
shapely 1.8's shape() of the same GeoJSON dictionaries, and str() against json.dumps of the
dictionary, measured in the same run. Prints the median time of the rounds and the ratio to the
peer (above 1: this module is faster).

    PYTHONPATH=build/python /usr/bin/python3 bench/veltjson_construction.py [--points N] [--polygons N]
"""
import argparse
import json
import math
import statistics
import time

import numpy as np
from shapely.geometry import shape

import vornix_geometry as vg


def points(count, rng):
    xy = rng.uniform((-180, -90), (180, 90), (count, 2)).round(6).tolist()
    velt = [{"x": x, "y": y, "spatialReference": {"wkid": 4326}} for x, y in xy]
    geo = [{"type": "Point", "coordinates": [x, y]} for x, y in xy]
    return velt, geo


def polygons(count, vertices, rng):
    velt, geo = [], []
    for _ in range(count):
        centre = rng.uniform((-170, -80), (170, 80))
        angles = -np.sort(rng.uniform(0, 2 * math.pi, vertices - 1))  # clockwise
        ring = centre + np.column_stack((np.cos(angles), np.sin(angles))) * rng.uniform(0.5, 1.0, (vertices - 1, 1))
        ring = np.vstack((ring, ring[:1])).round(6).tolist()
        velt.append({"rings": [ring], "spatialReference": {"wkid": 4326}})
        geo.append({"type": "Polygon", "coordinates": [ring]})
    return velt, geo


def median_seconds(function, inputs, rounds):
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        for item in inputs:
            function(item)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def compare(title, ours, peer, inputs_ours, inputs_peer, rounds):
    a = median_seconds(ours, inputs_ours, rounds)
    b = median_seconds(peer, inputs_peer, rounds)
    per_item = 1e6 / len(inputs_ours)
    print(f"{title:<44} {a * per_item:9.2f} us  {b * per_item:9.2f} us  {b / a:6.2f}x")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--points", type=int, default=100_000)
    parser.add_argument("--polygons", type=int, default=10_000)
    parser.add_argument("--vertices", type=int, default=100)
    parser.add_argument("--rounds", type=int, default=5)
    args = parser.parse_args()

    rng = np.random.default_rng(20261210)
    point_velt, point_geo = points(args.points, rng)
    polygon_velt, polygon_geo = polygons(args.polygons, args.vertices, rng)
    point_objects = [vg.Point(d) for d in point_velt]
    polygon_objects = [vg.Polygon(d) for d in polygon_velt]

    print(f"{'per item (median of ' + str(args.rounds) + ' rounds)':<44} {'ours':>12}  {'peer':>12}  ratio")
    compare(f"Point(d) vs shape(d), {args.points} points", vg.Point, shape, point_velt, point_geo, args.rounds)
    compare(f"Geometry(d) vs shape(d), {args.points} points", vg.Geometry, shape, point_velt, point_geo, args.rounds)
    compare(f"Polygon(d) vs shape(d), {args.polygons} x {args.vertices}", vg.Polygon, shape, polygon_velt,
            polygon_geo, args.rounds)
    compare(f"Geometry(d) vs shape(d), {args.polygons} x {args.vertices}", vg.Geometry, shape, polygon_velt,
            polygon_geo, args.rounds)
    compare("str(point) vs json.dumps(d)", str, json.dumps, point_objects, point_velt, args.rounds)
    compare("str(polygon) vs json.dumps(d)", str, json.dumps, polygon_objects, polygon_velt, args.rounds)


if __name__ == "__main__":
    main()
