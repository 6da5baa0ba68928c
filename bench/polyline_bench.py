"""A polyline of many vertices: Polyline(d) from a dictionary of coordinate lists against shapely
1.8's LineString(coords), str() against json.dumps of the same dictionary, iterating its vertices
against iterating the LineString's coords, all measured in the same run; then the model's memory
per vertex (resident-set growth over a million XYZM vertices). Prints median times of the rounds
and the ratio to the peer (above 1: this module is faster).

    PYTHONPATH=build/python /usr/bin/python3 bench/polyline_bench.py [--vertices N] [--rounds N]
"""
import argparse
import gc
import json
import statistics
import time

import numpy as np
from shapely.geometry import LineString

import vornix_geometry as vg


def median_seconds(function, rounds):
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        function()
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def compare(title, ours, peer, rounds):
    a = median_seconds(ours, rounds)
    b = median_seconds(peer, rounds)
    print(f"{title:<40} {a * 1e3:9.2f} ms  {b * 1e3:9.2f} ms  {b / a:6.2f}x")


def resident_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * 4096


def memory_per_vertex(count):
    """Resident growth while a model of `count` XYZM vertices is built, its Python input kept alive
    on both sides of the measurement."""
    coords = np.arange(count * 4, dtype=float).reshape(count, 4).tolist()
    d = {"hasZ": True, "hasM": True, "paths": [coords]}
    gc.collect()
    before = resident_bytes()
    p = vg.Polyline(d)
    gc.collect()
    after = resident_bytes()
    assert len(p.paths[0]) == count
    return (after - before) / count


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vertices", type=int, default=100_000)
    parser.add_argument("--rounds", type=int, default=7)
    parser.add_argument("--memory-vertices", type=int, default=1_000_000)
    args = parser.parse_args()

    # First, before the other workloads leave freed memory behind for the allocator to reuse.
    per_vertex = memory_per_vertex(args.memory_vertices)

    rng = np.random.default_rng(7)
    coords = rng.uniform((-180, -90), (180, 90), (args.vertices, 2)).round(6).tolist()
    d = {"paths": [coords], "spatialReference": {"wkid": 4326}}
    p = vg.Polyline(d)
    shapely_line = LineString(coords)

    print(f"{'':<40} {'ours':>12}  {'peer':>12}  {'ratio':>7}")
    compare(f"Polyline(d) / LineString, {args.vertices} vertices", lambda: vg.Polyline(d),
            lambda: LineString(coords), args.rounds)
    compare("str(polyline) / json.dumps(d)", lambda: str(p), lambda: json.dumps(d), args.rounds)
    compare("iterate vertices / LineString.coords", lambda: [c for c in p.paths[0]],
            lambda: [c for c in shapely_line.coords], args.rounds)
    compare("x, y of vertices / LineString.coords", lambda: [(c.x, c.y) for c in p.paths[0]],
            lambda: [(x, y) for x, y in shapely_line.coords], args.rounds)
    print(f"model memory per XYZM vertex: {per_vertex:.1f} bytes (RSS growth over {args.memory_vertices})")


if __name__ == "__main__":
    main()
