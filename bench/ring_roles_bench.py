"""Reading a polygon's many rings: area of a shell with many holes, of a grid of parcels sharing
edges (one polygon), and of an island in each of many holes, in the model's winding (clockwise
exteriors) and OGC's. Each line prints the time of area, its ratio to the module's own conversion
of the same polygon into the engine (area pays that conversion and the reading of the roles; goal
at most 1.3), shapely's time and the ratio shapely / ours (above 1: this module is faster); then
how area grows from about 1,600 to 14,400 rings (exponent log(t2/t1) / log(n2/n1), goal at most
1.1; the conversion's own exponent beside it, since area can grow no slower), and intersects with
a small square at the largest size. Area and conversion are timed in turn, round after round.

    PYTHONPATH=build-release/python /usr/bin/python3 bench/ring_roles_bench.py [--rounds N]
"""
import argparse
import math
import time

from shapely.geometry import MultiPolygon, Polygon, box

import vornix_geometry as vg

kxc_geo = getattr(vg.Polygon, "__kxc_geo")


def alternated(functions, rounds):
    """The best time of each function, run in turn round after round: on a busy machine both then
    see the same load, and their ratio keeps its meaning."""
    times = [[] for _ in functions]
    for _ in range(rounds):
        for function, kept in zip(functions, times):
            start = time.perf_counter()
            function()
            kept.append(time.perf_counter() - start)
    return [min(kept) for kept in times]


def square(x0, y0, size, clockwise):
    ring = [[x0, y0], [x0, y0 + size], [x0 + size, y0 + size], [x0 + size, y0]]
    return ring if clockwise else ring[::-1]


def holes(count, model):
    """A shell holding about `count` square holes."""
    k = round(math.sqrt(count))
    inner = [square(2 * i + 1, 2 * j + 1, 1, not model) for i in range(k) for j in range(k)]
    shell = square(0, 0, 2 * k + 1, model)
    return [shell] + inner, MultiPolygon([Polygon(shell, inner)])


def parcels(count, model):
    """About `count` unit squares in a grid, each sharing its edges with its neighbours."""
    k = round(math.sqrt(count))
    squares = [square(i, j, 1, model) for i in range(k) for j in range(k)]
    return squares, MultiPolygon([Polygon(s) for s in squares])


def islands(count, model):
    """A shell holding about `count` square holes, an island in each."""
    k = round(math.sqrt(count))
    lakes = [square(4 * i + 1, 4 * j + 1, 3, not model) for i in range(k) for j in range(k)]
    isles = [square(4 * i + 2, 4 * j + 2, 1, model) for i in range(k) for j in range(k)]
    shell = square(0, 0, 4 * k + 1, model)
    return [shell] + lakes + isles, MultiPolygon([Polygon(shell, lakes)] + [Polygon(s) for s in isles])


# Each arrangement, and how many rings it has for each unit of its count.
ARRANGEMENTS = {"holes": (holes, 1), "parcels": (parcels, 1), "islands in holes": (islands, 2)}


def area_and_conversion(rings, rounds):
    """The times of area and of the conversion into the engine, and the polygon."""
    g = vg.Polygon({"rings": [r + [r[0]] for r in rings]})
    return alternated([lambda: g.area, lambda: kxc_geo(g)], rounds) + [g]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=9)
    args = parser.parse_args()
    print(f"{'area':<34} {'rings':>6} {'ours ms':>8} {'/conv':>6} {'shapely ms':>10} {'ratio':>7}  {'growth':>6}"
          f" {'(conv)':>6} {'intersects ms':>13} {'shapely ms':>10}")
    probe, peer_probe = vg.Polygon({"rings": [square(0.2, 0.2, 0.3, True)]}), box(0.2, 0.2, 0.5, 0.5)
    for name, (make, per_unit) in ARRANGEMENTS.items():
        for model in (True, False):
            title = f"{name}, {'model' if model else 'OGC'} winding"
            rings, peer = make(10_000, model)
            ours, conversion, g = area_and_conversion(rings, args.rounds)
            theirs, meets, peer_meets = alternated(
                [lambda: peer.area, lambda: g.intersects(probe), lambda: peer.intersects(peer_probe)], args.rounds)
            sizes = [make(n // per_unit, model)[0] for n in (1_600, 14_400)]
            (small, small_conversion, _), (large, large_conversion, _) = (area_and_conversion(r, args.rounds) for r in sizes)
            exponent = lambda t1, t2: math.log(t2 / t1) / math.log(len(sizes[1]) / len(sizes[0]))
            print(f"{title:<34} {len(rings):>6} {ours * 1e3:8.2f} {ours / conversion:6.2f} {theirs * 1e3:10.3f}"
                  f" {theirs / ours:7.3f}  {exponent(small, large):6.2f} {exponent(small_conversion, large_conversion):6.2f}"
                  f" {meets * 1e3:13.2f} {peer_meets * 1e3:10.3f}")


if __name__ == "__main__":
    main()
