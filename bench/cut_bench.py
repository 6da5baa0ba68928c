"""cut into many pieces against shapely 1.8's shapely.ops.split of the same geometry by the same line:
a comb of n teeth (a polygon) and a zig-zag of n teeth (a polyline), both cut by the line y = 0.5,
which takes the tip off every tooth. Prints the best time of the rounds, the ratio shapely / ours
(above 1: this module is faster), whether both made the same number of pieces of the same total
size, and how our time grows from one size to the next four times larger (log(t2/t1)/log(4); 1 is
linear).

    PYTHONPATH=build-release/python /usr/bin/python3 bench/cut_bench.py [--rounds N] [--sizes N ...]
"""
import argparse
import json
import math

from shapely.geometry import LineString, Polygon
from shapely.ops import split

import vornix_geometry as vg
from generalize_bench import best


def comb(n):
    """Teeth [2i, 2i + 1] x [0, 1] on a base [0, 2n - 1] x [-1, 0], clockwise."""
    top = [p for i in range(n) for p in ([2 * i, 1], [2 * i + 1, 1], [2 * i + 1, 0], [2 * i + 2, 0])][:-1]
    return [[0, -1], [0, 0]] + top + [[2 * n - 1, -1]]


def zigzag(n):
    return [[i, i % 2] for i in range(2 * n + 1)]


def cutter(n):
    return [[-1, 0.5], [2 * n + 1, 0.5]]


def ours_size(pieces):
    """Pieces and total area (or length) of our cut: the parts of every geometry it gave."""
    parts = [part for p in pieces for part in json.loads(str(p)).get("rings", json.loads(str(p)).get("paths"))]
    return len(parts), sum(p.area if isinstance(p, vg.Polygon) else p.length for p in pieces)


def shapely_size(pieces):
    return len(pieces.geoms), sum(p.area if p.geom_type == "Polygon" else p.length for p in pieces.geoms)


def workloads(sizes):
    for n in sizes:
        line = cutter(n)
        yield ("comb", n, vg.Polygon({"rings": [comb(n)]}), Polygon(comb(n)), line)
    for n in sizes:
        line = cutter(n)
        yield ("zig-zag", n, vg.Polyline({"paths": [zigzag(n)]}), LineString(zigzag(n)), line)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=3)
    parser.add_argument("--sizes", type=int, nargs="+", default=[1_000, 4_000, 16_000])
    args = parser.parse_args()
    print(f"{'cut by y = 0.5':<24} {'ours (ms)':>10} {'shapely (ms)':>13} {'ratio':>8} {'growth':>7}  same")
    previous = {}
    for title, n, ours, theirs, line in workloads(args.sizes):
        by_ours, by_theirs = vg.Polyline({"paths": [line]}), LineString(line)
        a, pieces = best(lambda: ours.cut(by_ours), args.rounds)
        b, peer = best(lambda: split(theirs, by_theirs), args.rounds)
        (count, size), (peer_count, peer_size) = ours_size(pieces), shapely_size(peer)
        same = count == peer_count and math.isclose(size, peer_size, rel_tol=1e-12)
        last = previous.get(title)
        growth = f"{math.log(a / last[1]) / math.log(n / last[0]):7.2f}" if last else f"{'':7}"
        previous[title] = (n, a)
        print(f"{title + f', {n:,} teeth':<24} {a * 1e3:10.1f} {b * 1e3:13.1f} {b / a:7.2f}x {growth}  {same}")


if __name__ == "__main__":
    main()
