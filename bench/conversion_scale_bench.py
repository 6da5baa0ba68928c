"""Work that should cost in proportion to its size, against shapely 1.8 in the same run:

  simplify of a valid polygon written OGC's way (exterior counter-clockwise, holes clockwise) with
  10, 1,000 and 10,000 holes, against the same polygon written this module's way (exterior clockwise)
  and against shapely's make_valid;
  the conversion of one ring into an engine geometry (__kxc_geo) and its area, per vertex, at 10^4,
  10^5 and 10^6 vertices, with the growth of the cost per vertex from 10^4 to 10^6 and the ratio to
  shapely's area;
  a plain copy of the same 32 bytes per vertex (numpy) at each size, the machine's own growth from
  cache to memory, which no conversion writing the engine's vertices escapes;
  the peak resident memory of area on a 10^6-vertex polygon, each side in a fresh process: the
  high-water mark is reset once the polygon is built, so the figure is the area call's own.

Times are medians of the rounds; a ratio above 1 means this module is faster.

    PYTHONPATH=build-release/python /usr/bin/python3 bench/conversion_scale_bench.py [--rounds N]
"""
import argparse
import gc
import json
import math
import subprocess
import sys

import numpy as np

from shapely.geometry import Polygon as ShapelyPolygon
from shapely.validation import make_valid

import vornix_geometry as vg
from operations_bench import per_call, ring

SIZES = (10_000, 100_000, 1_000_000)


def square(x0, y0, size, clockwise):
    """A closed square ring with corners off the integer grid."""
    corners = [[x0, y0], [x0, y0 + size], [x0 + size, y0 + size], [x0 + size, y0], [x0, y0]]
    return corners if clockwise else corners[::-1]


def holed(holes, model_winding):
    """A square shell holding `holes` small square holes in a grid, as closed rings."""
    side = math.ceil(math.sqrt(holes))
    shell = square(-0.25, -0.25, side + 0.5, clockwise=model_winding)
    inner = [square(i % side + 0.123456789, i // side + 0.3141592653, 0.5, clockwise=not model_winding)
             for i in range(holes)]
    return [shell] + inner


def simplify_rows(rounds):
    print(f"{'simplify, valid polygon':<40} {'OGC (ms)':>10} {'model (ms)':>11} {'OGC/model':>10}"
          f" {'make_valid (ms)':>16} {'ratio':>8}")
    for holes in (10, 1_000, 10_000):
        ogc, model = vg.Polygon({"rings": holed(holes, False)}), vg.Polygon({"rings": holed(holes, True)})
        rings = holed(holes, False)
        peer = ShapelyPolygon(rings[0], rings[1:])
        calls = max(1, 2_000 // holes)
        ours = per_call(ogc.simplify, calls, rounds)
        wound = per_call(model.simplify, calls, rounds)
        theirs = per_call(lambda: make_valid(peer), calls, rounds)
        goal = "  (goal <= 1.5 at 1,000)" if holes == 1_000 else ""
        print(f"{f'{holes:,} holes':<40} {ours * 1e3:10.2f} {wound * 1e3:11.2f} {ours / wound:9.2f}x"
              f" {theirs * 1e3:16.2f} {theirs / ours:7.2f}x{goal}")


def per_vertex_rows(rounds):
    kxc_geo = getattr(vg.Polygon, "__kxc_geo")
    rows = {"__kxc_geo": {}, "area": {}, "shapely area": {}, "plain copy, 32 B/vertex": {}}
    for n in SIZES:
        points = ring(n, 1.0, 0.0, 0.0)
        ours, peer = vg.Polygon({"rings": [points]}), ShapelyPolygon(points)
        del points
        calls = max(3, 1_000_000 // n)
        rows["__kxc_geo"][n] = per_call(lambda: kxc_geo(ours), calls, rounds) / n
        rows["area"][n] = per_call(lambda: ours.area, calls, rounds) / n
        rows["shapely area"][n] = per_call(lambda: peer.area, calls, rounds) / n
        source, target = np.ones(4 * n), np.empty(4 * n)
        rows["plain copy, 32 B/vertex"][n] = per_call(lambda: np.copyto(target, source), calls, rounds) / n
        del ours, peer
        gc.collect()
    header = "".join(f"{f'{n:,} (ns/v)':>18}" for n in SIZES)
    print(f"\n{'one ring, per vertex':<24}{header} {'10^6/10^4':>10} {'shapely/ours at 10^6':>21}")
    for name, times in rows.items():
        cells = "".join(f"{times[n] * 1e9:18.2f}" for n in SIZES)
        growth = times[SIZES[-1]] / times[SIZES[0]]
        peer = f"{rows['shapely area'][SIZES[-1]] / times[SIZES[-1]]:20.2f}x" if name in ("__kxc_geo", "area") else ""
        print(f"{name:<24}{cells} {growth:9.2f}x {peer}")
    print(f"{'goal':<24}{'':>54} {'<= 1.50x':>10}")


def peak_child(side, n):
    """In a fresh process: the peak resident memory of one area call on an n-vertex polygon."""
    points = ring(n, 1.0, 0.0, 0.0)
    geometry = vg.Polygon({"rings": [points]}) if side == "ours" else ShapelyPolygon(points)
    del points
    gc.collect()
    before = status_kib("VmRSS")
    with open("/proc/self/clear_refs", "w") as clear:
        clear.write("5")  # resets the high-water mark of resident memory to what is resident now
    geometry.area
    print(json.dumps({"before": before, "peak": status_kib("VmHWM")}))


def status_kib(field):
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    raise KeyError(field)


def peak_rows():
    n = SIZES[-1]
    print(f"\n{f'area of {n:,} vertices, peak memory':<40} {'peak (MiB)':>11} {'before (MiB)':>13} "
          f"{'bytes/vertex over before':>25}")
    for side in ("ours", "shapely"):
        out = subprocess.run([sys.executable, __file__, "--peak-child", side, str(n)], check=True,
                             capture_output=True, text=True).stdout
        figures = json.loads(out.splitlines()[-1])
        print(f"{side:<40} {figures['peak'] / 1024:11.1f} {figures['before'] / 1024:13.1f} "
              f"{(figures['peak'] - figures['before']) * 1024 / n:25.1f}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--peak-child", nargs=2, metavar=("SIDE", "VERTICES"), help=argparse.SUPPRESS)
    args = parser.parse_args()
    if args.peak_child:
        return peak_child(args.peak_child[0], int(args.peak_child[1]))
    simplify_rows(args.rounds)
    per_vertex_rows(args.rounds)
    peak_rows()


if __name__ == "__main__":
    main()
