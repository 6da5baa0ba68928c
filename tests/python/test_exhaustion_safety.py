"""A stack or a memory that runs out while the module works is an ordinary error, never the end of
the process nor a geometry spoilt for later use. Each case runs in a fresh interpreter: a fault,
a stack overflow or a poisoned lock is the failure."""
import os
import subprocess
import sys
import textwrap

import pytest

from build_paths import ENGINE, MODULE_DIR
from test_extreme_numbers import SANITIZED

PRELUDE = '''
import resource, sys, threading
import vornix_geometry as vg
print("imported")

def outcome(action):
    try:
        result = action()
    except Exception as error:
        return type(error).__name__
    return type(result).__name__
'''


def run(code, timeout=300):
    env = dict(os.environ, PYTHONPATH=str(MODULE_DIR), GEOMETRY_LIB_PATH=str(ENGINE))
    result = subprocess.run([sys.executable, "-c", PRELUDE + textwrap.dedent(code)], env=env,
                            capture_output=True, text=True, timeout=timeout)
    assert result.returncode == 0, result.stderr[-3000:]
    return result.stdout.split("imported\n", 1)[1]


# Each re-enters the module from Python code that one of its conversions runs, without end.
REENTRY = {
    "point dictionary x": '''
        class Deep:
            def __float__(self):
                vg.Point({"x": Deep(), "y": 0.0})
                return 1.0
        start = lambda: vg.Point({"x": Deep(), "y": 0.0})
    ''',
    "polyline vertex": '''
        class Deep:
            def __float__(self):
                vg.Polyline({"paths": [[[Deep(), 0.0]]]})
                return 1.0
        start = lambda: vg.Polyline({"paths": [[[Deep(), 0.0]]]})
    ''',
    "curve element through a part view": '''
        part = vg.Polyline({"curvePaths": [[[0, 0]]]}).curve_paths[0]
        class Deep:
            def __float__(self):
                part.append({"c": [[Deep(), 0.0], [1.0, 1.0]]})
                return 1.0
        start = lambda: part.append({"c": [[Deep(), 0.0], [1.0, 1.0]]})
    ''',
    "spatial reference wkid": '''
        class Deep:
            def __index__(self):
                vg.SpatialReference({"wkid": Deep()})
                return 4326
        start = lambda: vg.SpatialReference({"wkid": Deep()})
    ''',
    "collection item": '''
        def items():
            vg.length_collection(items())
            yield vg.Point({"x": 1.0, "y": 2.0})
        start = lambda: vg.length_collection(items())
    ''',
}

STACKS = {
    "main thread, recursion limit 10000": '''
        sys.setrecursionlimit(10000)
        print(outcome(start))
    ''',
    "thread of 1 MB, default limit": '''
        threading.stack_size(1 << 20)
        t = threading.Thread(target=lambda: print(outcome(start)))
        t.start()
        t.join()
    ''',
}


@pytest.mark.parametrize("stack", list(STACKS.values()), ids=list(STACKS))
@pytest.mark.parametrize("reentry", list(REENTRY.values()), ids=list(REENTRY))
def test_unbounded_reentry_ends_in_recursion_error(reentry, stack):
    assert run(reentry + stack) == "RecursionError\n"


# The memory limit is set just above what the process uses, so that the next large allocation
# fails; the geometry must answer as before once the limit is lifted.
MEMORY = '''
import re
def used():
    return int(re.search(r"VmSize:\\s+(\\d+) kB", open("/proc/self/status").read()).group(1)) << 10

def squeezed(action, room):
    resource.setrlimit(resource.RLIMIT_AS, (used() + room, resource.RLIM_INFINITY))
    try:
        return outcome(action)
    finally:
        resource.setrlimit(resource.RLIMIT_AS, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))

n = 200_000
line = vg.Polyline({"paths": [[[float(i), float(i % 7)] for i in range(n)]]})
curved = vg.Polygon({"curveRings": [[[0, 0]] + [{"c": [[float(i), 0.0], [i - 0.5, 0.4]]} for i in range(1, n)] + [[0, 0]]]})
points = vg.MultiPoint({"points": [[float(i), 1.0] for i in range(n)]})
expected = {g: (str(g), g.length if g is not points else None) for g in (line, curved, points)}
# The JSON text of so many curves cannot be written within a megabyte: the call fails, no more.
assert squeezed(lambda: curved.JSON, 1 << 20) == "MemoryError"
# Nor read back: the engine's "Out of memory." reaches Python as its ordinary error.
texts = {g: g.JSON for g in (line, curved, points)}
assert squeezed(lambda: vg.Geometry(texts[curved]), 1 << 20) in ("MemoryError", "Exception")
for g in (line, curved, points):
    for action in (lambda: str(g), lambda: g.length, lambda: g.buffer(1.0), lambda: g.extent,
                   lambda: vg.Polyline(g.paths) if g is line else g, lambda: g.JSON,
                   lambda: vg.Geometry(texts[g])):
        for room in (1 << 20, 8 << 20, 40 << 20):
            squeezed(action, room)
    assert str(g) == expected[g][0]
    if g is not points:
        assert g.length == expected[g][1]
print("usable")
'''


# The address sanitizer cannot start under an address-space limit set just above what is used.
@pytest.mark.skipif(SANITIZED, reason="needs an address-space limit")
def test_running_out_of_memory_leaves_the_geometry_usable():
    assert run(MEMORY, timeout=600) == "usable\n"
