"""generalize (Douglas-Peucker) against shapely 1.8's simplify(preserve_topology=False), the same GEOS
answer, on long lines of sizes shapely survives on the main thread: a zig-zag (every section ends
next to its start, quadratic for GEOS), a spiral (every turn comes near the farthest vertex) and a
random walk. Prints the best time of the rounds and the ratio shapely / ours (above 1: this module
is faster), and checks that both kept the same vertices.

    PYTHONPATH=build-release/python /usr/bin/python3 bench/generalize_bench.py [--rounds N]
"""
import argparse
import json
import math
import random
import time

from shapely.geometry import LineString

import vornix_geometry as vg


def best(function, rounds, summary=min):
    """The summary (the least, unless told) of the function's times over `rounds` calls, and its
    last result."""
    times = []
    for _ in range(rounds):
        start = time.perf_counter()
        result = function()
        times.append(time.perf_counter() - start)
    return summary(times), result


def lines():
    walk, x, y = [], 0.0, 0.0
    steps = random.Random(1)
    for _ in range(100_000):
        x, y = x + steps.uniform(-1, 1), y + steps.uniform(-1, 1)
        walk.append([x, y])
    yield "zig-zag, 20,000 vertices", 1e-6, [[float(i), float(i % 2)] for i in range(20_000)]
    yield "spiral, 50,000 vertices", 1e-6, [[(0.05 * i + 1) * math.cos(0.05 * i + 1),
                                             (0.05 * i + 1) * math.sin(0.05 * i + 1)] for i in range(50_000)]
    yield "random walk, 100,000 vertices", 0.5, walk


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    print(f"{'generalize':<36} {'ours (ms)':>10} {'shapely (ms)':>13} {'ratio':>8}  same")
    for title, tolerance, points in lines():
        ours, theirs = vg.Polyline({"paths": [points]}), LineString(points)
        a, kept = best(lambda: ours.generalize(tolerance), args.rounds)
        b, peer = best(lambda: theirs.simplify(tolerance, preserve_topology=False), args.rounds)
        same = json.loads(str(kept))["paths"][0] == [list(c) for c in peer.coords]
        print(f"{title:<36} {a * 1e3:10.1f} {b * 1e3:13.1f} {b / a:7.2f}x  {same}")


if __name__ == "__main__":
    main()
