"""WKT and WKB to dictionaries: the four conversions of vornix_geometry.utils against shapely's
mapping(shapely.wkt.loads(s)) and mapping(shapely.wkb.loads(b)), measured in the same run over one
generated corpus. Prints geometries per second, the cost per vertex and the ratio to shapely for
the same input (medians of the rounds).

    PYTHONPATH=build/python /usr/bin/python3 bench/utils_conversions.py [--count N] [--rounds R]
"""
import argparse
import math
import statistics
import time

import numpy as np
import shapely.wkb
import shapely.wkt
from shapely.geometry import LineString, Point, Polygon, mapping

from vornix_geometry import utils


def corpus(count, seed):
    """Points, line strings and polygons in equal shares, half of them with z; lines and polygons
    have 4 to 1,000 vertices, log-uniformly (many small, some large), coordinates as longitude and
    latitude with six decimals."""
    rng = np.random.default_rng(seed)
    geometries, vertices = [], 0
    for i in range(count):
        kind, with_z = i % 3, (i // 3) % 2 == 1
        if kind == 0:
            xy = rng.uniform((-180, -90), (180, 90), (1, 2))
        else:
            n = int(round(math.exp(rng.uniform(math.log(4), math.log(1000)))))
            centre = rng.uniform((-170, -80), (170, 80))
            if kind == 1:
                xy = centre + np.cumsum(rng.normal(0, 0.01, (n, 2)), axis=0)
            else:
                angles = np.sort(rng.uniform(0, 2 * math.pi, n - 1))
                radius = rng.uniform(0.5, 1.0, n - 1)
                ring = centre + np.column_stack((radius * np.cos(angles), radius * np.sin(angles)))
                xy = np.vstack((ring, ring[:1]))
        coords = np.column_stack((xy, rng.uniform(0, 1000, len(xy)))) if with_z else xy
        coords = coords.round(6)
        geometry = Point(coords[0]) if kind == 0 else LineString(coords) if kind == 1 else Polygon(coords)
        geometries.append(geometry)
        vertices += len(coords)
    return geometries, vertices


def timed(function, inputs):
    start = time.perf_counter()
    for item in inputs:
        function(item)
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()

    geometries, vertices = corpus(args.count, seed=20261210)
    texts = [g.wkt for g in geometries]
    blobs = [g.wkb for g in geometries]
    print(f"corpus: {len(geometries)} geometries (points, line strings, polygons; half with z), "
          f"{vertices} vertices, {sum(map(len, texts)) / 1e6:.1f} MB of WKT, {sum(map(len, blobs)) / 1e6:.1f} MB of WKB")

    cases = [
        ("wkt", "wkt_to_geojson_dict", utils.wkt_to_geojson_dict, texts),
        ("wkt", "wkt_to_veltjson_dict", utils.wkt_to_veltjson_dict, texts),
        ("wkt", "shapely mapping(wkt.loads(s))", lambda s: mapping(shapely.wkt.loads(s)), texts),
        ("wkb", "wkb_to_geojson_dict", utils.wkb_to_geojson_dict, blobs),
        ("wkb", "wkb_to_veltjson_dict", utils.wkb_to_veltjson_dict, blobs),
        ("wkb", "shapely mapping(wkb.loads(b))", lambda b: mapping(shapely.wkb.loads(b)), blobs),
    ]
    seconds = {name: [] for _, name, _, _ in cases}
    for _ in range(args.rounds):
        for _, name, function, inputs in cases:
            seconds[name].append(timed(function, inputs))

    median = {name: statistics.median(times) for name, times in seconds.items()}
    print(f"{'conversion':32} {'geometries/s':>14} {'ns/vertex':>10} {'x shapely':>10}")
    for fmt, name, _, _ in cases:
        peer = median[f"shapely mapping({fmt}.loads({'s' if fmt == 'wkt' else 'b'}))"]
        print(f"{name:32} {len(geometries) / median[name]:14,.0f} {median[name] / vertices * 1e9:10.1f} "
              f"{peer / median[name]:10.2f}")


if __name__ == "__main__":
    main()
