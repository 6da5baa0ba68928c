"""WKT and WKB to dictionaries: the four conversions of vornix_geometry.utils against shapely's
mapping(shapely.wkt.loads(s)) and mapping(shapely.wkb.loads(b)), measured in the same run over
three generated corpora. Prints geometries per second, the cost per vertex, that cost against the
floor (CPython's own C code building the same tuples of floats: list(struct.iter_unpack(...)) over
the raw coordinates of every line, ring and point) and the ratio to shapely for the same input
(medians of the rounds).

    PYTHONPATH=build/python /usr/bin/python3 bench/utils_conversions.py [--count N] [--rounds R]
"""
import argparse
import math
import statistics
import struct
import time

import numpy as np
import shapely.wkb
import shapely.wkt
from shapely.geometry import LineString, Point, Polygon, mapping

from vornix_geometry import utils


def line(rng, n):
    centre = rng.uniform((-170, -80), (170, 80))
    return centre + np.cumsum(rng.normal(0, 0.01, (n, 2)), axis=0)


def ring(rng, n):
    centre = rng.uniform((-170, -80), (170, 80))
    angles = np.sort(rng.uniform(0, 2 * math.pi, n - 1))
    radius = rng.uniform(0.5, 1.0, n - 1)
    xy = centre + np.column_stack((radius * np.cos(angles), radius * np.sin(angles)))
    return np.vstack((xy, xy[:1]))


def shaped(kind, coords):
    return Point(coords[0]) if kind == 0 else LineString(coords) if kind == 1 else Polygon(coords)


def mixed(count, rng):
    """Points, line strings and polygons in equal shares, half of them with z; lines and polygons
    have 4 to 1,000 vertices, log-uniformly (many small, some large), coordinates as longitude and
    latitude with six decimals."""
    for i in range(count):
        kind, with_z = i % 3, (i // 3) % 2 == 1
        if kind == 0:
            xy = rng.uniform((-180, -90), (180, 90), (1, 2))
        else:
            n = int(round(math.exp(rng.uniform(math.log(4), math.log(1000)))))
            xy = line(rng, n) if kind == 1 else ring(rng, n)
        coords = np.column_stack((xy, rng.uniform(0, 1000, len(xy)))) if with_z else xy
        yield shaped(kind, coords.round(6))


def full_xy(count, rng):
    """Points, line strings and polygons in equal shares, XY only, coordinates at full precision;
    lines and polygons have 4 to 257 vertices, uniformly."""
    for i in range(count):
        kind, n = i % 3, int(rng.integers(4, 258))
        xy = rng.uniform((-180, -90), (180, 90), (1, 2)) if kind == 0 else line(rng, n) if kind == 1 else ring(rng, n)
        yield shaped(kind, xy)


def lines_256(count, rng):
    """Line strings of 256 XY vertices at full precision."""
    for _ in range(count):
        yield LineString(line(rng, 256))


CORPORA = [("mixed", mixed, 1), ("xy", full_xy, 1), ("lines-256", lines_256, 4)]


def bodies(geometry):
    """The little-endian raw coordinates of every point, line and ring of a geometry, with the
    struct format of one vertex."""
    fmt = "<ddd" if geometry.has_z else "<dd"
    rings = [geometry.exterior, *geometry.interiors] if geometry.geom_type == "Polygon" else [geometry]
    return [(fmt, np.asarray(r.coords, dtype="<f8").tobytes()) for r in rings]


def floor(items):
    for parts in items:
        for fmt, body in parts:
            list(struct.iter_unpack(fmt, body))


def timed(function, inputs):
    start = time.perf_counter()
    for item in inputs:
        function(item)
    return time.perf_counter() - start


def measure(title, geometries, rounds):
    vertices = sum(len(r.coords) for g in geometries for r in ([g.exterior, *g.interiors] if g.geom_type == "Polygon" else [g]))
    texts = [g.wkt for g in geometries]
    blobs = [g.wkb for g in geometries]
    parts = [bodies(g) for g in geometries]
    print(f"\n{title}: {len(geometries)} geometries, {vertices} vertices, {sum(map(len, texts)) / 1e6:.1f} MB of WKT, "
          f"{sum(map(len, blobs)) / 1e6:.1f} MB of WKB")

    cases = [
        ("wkt", "wkt_to_geojson_dict", utils.wkt_to_geojson_dict, texts),
        ("wkt", "wkt_to_veltjson_dict", utils.wkt_to_veltjson_dict, texts),
        ("wkt", "shapely mapping(wkt.loads(s))", lambda s: mapping(shapely.wkt.loads(s)), texts),
        ("wkb", "wkb_to_geojson_dict", utils.wkb_to_geojson_dict, blobs),
        ("wkb", "wkb_to_veltjson_dict", utils.wkb_to_veltjson_dict, blobs),
        ("wkb", "shapely mapping(wkb.loads(b))", lambda b: mapping(shapely.wkb.loads(b)), blobs),
    ]
    seconds = {name: [] for _, name, _, _ in cases}
    floor_seconds = []
    for _ in range(rounds):
        start = time.perf_counter()
        floor(parts)
        floor_seconds.append(time.perf_counter() - start)
        for _, name, function, inputs in cases:
            seconds[name].append(timed(function, inputs))

    median = {name: statistics.median(times) for name, times in seconds.items()}
    floor_ns = statistics.median(floor_seconds) / vertices * 1e9
    print(f"floor list(struct.iter_unpack(...)): {floor_ns:.1f} ns/vertex")
    print(f"{'conversion':32} {'geometries/s':>14} {'ns/vertex':>10} {'x floor':>8} {'x shapely':>10}")
    for fmt, name, _, _ in cases:
        peer = median[f"shapely mapping({fmt}.loads({'s' if fmt == 'wkt' else 'b'}))"]
        ns = median[name] / vertices * 1e9
        print(f"{name:32} {len(geometries) / median[name]:14,.0f} {ns:10.1f} {ns / floor_ns:8.2f} "
              f"{peer / median[name]:10.2f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=100_000, help="geometries per corpus")
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    for title, make, divisor in CORPORA:
        rng = np.random.default_rng(20261210)
        measure(title, list(make(args.count // divisor, rng)), args.rounds)


if __name__ == "__main__":
    main()
