"""clip of a comb with m against the same clip in x and y alone, and against shapely 1.8's clip_by_rect
(the same GEOS clip, which carries no m). A comb of n teeth, as a polyline running up and down the
teeth and as a polygon standing on a base, is clipped by an envelope crossing every tooth, so every
tooth gives new vertices whose z and m are interpolated along the input segment they lie on.

Prints the best time of the rounds for each size (vertices ten times apart), the ratio m / xy (the
cost of restoring m on top of the clip itself; the goal is at most 1.3 at 60,000 vertices) and the
ratio shapely / ours with m (above 1: this module is faster), and checks that both kept the same
number of vertices.

    PYTHONPATH=build-release/python /usr/bin/python3 bench/attributes_bench.py [--rounds N]
"""
import argparse
import json

from shapely.geometry import LineString, Polygon as ShapelyPolygon
from shapely.ops import clip_by_rect

import vornix_geometry as vg
from generalize_bench import best

SIZES = (2_000, 20_000, 60_000)
GOAL = 1.3  # m / xy at the largest size
WIDTH, HEIGHT = 0.731, 10.37  # a tooth's width and height: coordinates with many digits
BAND = (2.113, 8.291)  # the envelope's y range, across every tooth


def teeth(vertices):
    """The comb's outline up and down its teeth: four vertices per tooth, as (x, y)."""
    out = []
    for i in range(vertices // 4):
        x = i * 2 * WIDTH
        out += [(x, 0.0), (x, HEIGHT), (x + WIDTH, HEIGHT), (x + WIDTH, 0.0)]
    return out


def combs(vertices):
    """(title, vertices with m, the shapely peer) of a polyline comb and a polygon comb."""
    outline = teeth(vertices)
    with_m = [[x, y, 0.25 * i] for i, (x, y) in enumerate(outline)]
    yield "polyline", {"hasM": True, "paths": [with_m]}, LineString(outline)
    # The polygon stands on a base below the band and runs clockwise, as exteriors are written.
    last_x = outline[-1][0]
    ring = [(0.0, -1.0)] + outline + [(last_x, -1.0), (0.0, -1.0)]
    ring_m = [[x, y, 0.25 * i] for i, (x, y) in enumerate(ring)]
    yield "polygon", {"hasM": True, "rings": [ring_m]}, ShapelyPolygon(ring)


def without_m(data):
    key = "paths" if "paths" in data else "rings"
    return {key: [[point[:2] for point in part] for part in data[key]]}


def vertex_count(geometry):
    data = json.loads(str(geometry))
    return sum(len(part) for part in data.get("paths", data.get("rings", [])))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    print(f"{'clip of a comb':<28} {'m (ms)':>10} {'xy (ms)':>10} {'m / xy':>8} {'shapely (ms)':>13} "
          f"{'ratio':>8}  same")
    for vertices in SIZES:
        for kind, data, peer in combs(vertices):
            factory = vg.Polyline if kind == "polyline" else vg.Polygon
            measured, plain = factory(data), factory(without_m(data))
            xs = [p[0] for part in data.get("paths", data.get("rings", [])) for p in part]
            envelope = vg.Envelope({"xmin": min(xs) - 1, "ymin": BAND[0], "xmax": max(xs) + 1, "ymax": BAND[1]})
            with_m, clipped = best(lambda: measured.clip(envelope), args.rounds)
            xy, _ = best(lambda: plain.clip(envelope), args.rounds)
            theirs, peer_clipped = best(lambda: clip_by_rect(peer, min(xs) - 1, BAND[0], max(xs) + 1, BAND[1]),
                                        args.rounds)
            # Our text writes rings without repeating their first vertex.
            peer_count = sum(len(g.coords) if g.geom_type == "LineString" else len(g.exterior.coords) - 1
                             for g in getattr(peer_clipped, "geoms", [peer_clipped]))
            same = vertex_count(clipped) == peer_count
            goal = f"  (goal <= {GOAL})" if vertices == SIZES[-1] else ""
            print(f"{kind + f', {vertices:,} vertices':<28} {with_m * 1e3:10.1f} {xy * 1e3:10.1f} "
                  f"{with_m / xy:7.2f}x {theirs * 1e3:13.1f} {theirs / with_m:7.2f}x  {same}{goal}")


if __name__ == "__main__":
    main()
