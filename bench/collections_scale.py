"""Not a test: area_collection, buffer_collection and project_collection over a generator of 1,000,000
geometries each, with the resident and peak memory of the process before and after each call. The
generator makes every geometry on demand, so the Python side grows by the result alone (a float, or the
list of new geometries), never by the input. buffer_collection is one engine batch call: the engine holds
every input geometry and every buffer until it returns, so its peak grows with the input there; the
union of all buffers runs on --union-count items, since the engine's union of a million buffers takes
many gigabytes.

    PYTHONPATH=build/python /usr/bin/python3 bench/collections_scale.py [--count N]
"""
import argparse
import gc
import resource
import time

import vornix_geometry as vg

WGS84 = {"wkid": 4326}


def peak_mb():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss / 1024


def current_mb():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * 4096 / 2**20


def squares(count, sr):
    for i in range(count):
        x, y = (i % 1000) * 3.0, (i // 1000) * 3.0
        d = {"rings": [[[x, y], [x, y + 1], [x + 1, y + 1], [x + 1, y], [x, y]]]}
        if sr:
            d["spatialReference"] = sr
        yield vg.Polygon(d)


def points(count):
    for i in range(count):
        yield vg.Point({"x": -170 + (i % 3400) * 0.1, "y": -80 + (i // 3400) * 0.5, "spatialReference": WGS84})


def run(title, call):
    gc.collect()
    before_peak, before = peak_mb(), current_mb()
    start = time.perf_counter()
    result = call()
    seconds = time.perf_counter() - start
    size = len(result) if isinstance(result, list) else 1
    after = current_mb()
    print(f"{title:<40} {seconds:7.1f} s  results {size:>8}  resident {before:7.0f} -> {after:7.0f} MB  "
          f"peak {before_peak:7.0f} -> {peak_mb():7.0f} MB")
    del result
    gc.collect()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--count", type=int, default=1_000_000)
    parser.add_argument("--union-count", type=int, default=100_000)
    args = parser.parse_args()
    n = args.count
    run("area_collection (planar, with wkid)", lambda: vg.area_collection(squares(n, WGS84)))
    run("area_collection (planar, no wkid)", lambda: vg.area_collection(squares(n, None)))
    run(f"buffer_collection (union of {args.union_count})",
        lambda: vg.buffer_collection(squares(args.union_count, None), [0.5], True))
    run("buffer_collection (one per item)", lambda: vg.buffer_collection(squares(n, None), [0.5]))
    run("project_collection 4326 -> 3857", lambda: vg.projection.project_collection(points(n), {"wkid": 3857}))


if __name__ == "__main__":
    main()
