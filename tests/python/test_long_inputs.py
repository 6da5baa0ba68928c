"""Long inputs on a thread of a 512 KB stack, each family in a fresh interpreter, so that a
recursion once per vertex shows as a failed case in seconds rather than as the end of the suite:
generalize and generalize_collection on lines whose Douglas-Peucker sections GEOS's own simplifier
takes one stack frame each, and every planar operation over GEOS on each family of shapes."""
import pytest

from test_exhaustion_safety import run

ZIGZAG = "[[float(i), float(i % 2)] for i in range(150_000)]"

# Each family: the geometry, and what generalize(1e-6) keeps of its vertices.
FAMILIES = {
    "zig-zag": (f'vg.Polyline({{"paths": [{ZIGZAG}]}})', "150000"),
    "zig-zag ring": ('vg.Polygon({"rings": [[[float(i), 2.0 + i % 2] for i in range(100_000)] + [[99_999.0, 0.0], [0.0, 0.0]]]})',
                     "100002"),
    "comb": ('vg.Polygon({"rings": [[[0.0, -1.0]] + [p for k in range(25_000) for p in '
             '([2.0 * k, 0.0], [2.0 * k, 10.0], [2.0 * k + 1, 10.0], [2.0 * k + 1, 0.0])] + [[50_000.0, -1.0]]]})',
             "100001"),  # (0, 0) lies on the way up from (0, -1)
    # 10,000 half circles up and down: some 370,000 chords, all kept but the 9,999 vertices where
    # one arc turns into the next, on the chord of their neighbours.
    "meander of arcs": ('vg.Polyline({"curvePaths": [[[0, 0]] + [{"c": [[2.0 * k + 2, 0.0], [2.0 * k + 1, 1.0 - 2 * (k % 2)]]} '
                        'for k in range(10_000)]]})', "chords"),
}

CODE = '''
import json
g = {geometry}
def count(result):
    d = json.loads(str(result))
    return sum(len(part) for part in d.get("rings", d.get("paths", [])))
def body():
    single = g.generalize(1e-6)
    both = vg.generalize_collection([g, g], 1e-6, False)
    print(count(single), [count(r) for r in both] == [count(single)] * 2)
    if "{expected}" == "chords":
        print(count(single) == count(g.densify(1e9)) - 9_999)
'''


def on_a_thread(code, stack_kb):
    """`code`, which defines body(), then body() run on a thread of the given stack."""
    return code + f"threading.stack_size({stack_kb} * 1024)\nt = threading.Thread(target=body)\nt.start()\nt.join()\n"


@pytest.mark.parametrize("name", FAMILIES)
def test_long_inputs_generalize_on_a_small_stack(name):
    geometry, expected = FAMILIES[name]
    lines = run(on_a_thread(CODE.format(geometry=geometry, expected=expected), 512), timeout=120).split()
    assert lines[1] == "True"
    assert lines[0] == expected or (expected == "chords" and lines[2] == "True")


def test_a_spiral_keeps_what_shapely_keeps():
    # GEOS's sections stay shallow on a spiral, so shapely answers too, on this thread's stack.
    out = run('''
        import json, math
        from shapely.geometry import LineString
        points = [[(0.05 * i + 1) * math.cos(0.05 * i + 1), (0.05 * i + 1) * math.sin(0.05 * i + 1)] for i in range(40_000)]
        for tolerance in (1e-6, 0.5, 20.0):
            ours = json.loads(str(vg.Polyline({"paths": [points]}).generalize(tolerance)))["paths"][0]
            theirs = LineString(points).simplify(tolerance, preserve_topology=False).coords
            print(ours == [list(c) for c in theirs])
    ''')
    assert out.split() == ["True"] * 3


# 6,000 vertices each, on a 128 KB stack: past the depth it holds when every vertex takes a frame of
# even a few words, and small enough that the slowest operation (cut, relations of points, both
# quadratic in GEOS or here) stays within seconds.
SHAPES = {
    "zig-zag": 'vg.Polyline({"paths": [[[float(i), float(i % 2)] for i in range(6_000)]]})',
    "spiral": 'vg.Polyline({"paths": [[[(0.05 * i + 1) * math.cos(0.05 * i + 1), (0.05 * i + 1) * math.sin(0.05 * i + 1)] '
              'for i in range(6_000)]]})',
    "comb": 'vg.Polygon({"rings": [[[0.0, -1.0]] + [p for k in range(1_500) for p in '
            '([2.0 * k, 0.0], [2.0 * k, 10.0], [2.0 * k + 1, 10.0], [2.0 * k + 1, 0.0])] + [[3_000.0, -1.0]]]})',
    "many tiny rings": 'vg.Polygon({"rings": [[[3.0 * (k % 71), 3.0 * (k // 71)], [3.0 * (k % 71), 3.0 * (k // 71) + 1], '
                       '[3.0 * (k % 71) + 1, 3.0 * (k // 71) + 1], [3.0 * (k % 71) + 1, 3.0 * (k // 71)]] for k in range(1_500)]})',
    "sorted points": 'vg.MultiPoint({"points": [[float(i), 0.5 * i] for i in range(6_000)]})',
}

OPERATIONS = '''
import math
g = {shape}
o = g.move_relative(0.5, 0.25)
cutter = vg.Polyline({{"paths": [[[-10.0, 0.5], [1e6, 0.6]]]}})
operations = [
    lambda: g.relate(o, "T*F**F***"), lambda: g.intersects(o), lambda: g.union(o), lambda: g.difference(o),
    lambda: vg.Geometry.union_collection([g, o]), lambda: g.buffer(0.1), lambda: g.convex_hull(),
    lambda: g.simplify(), lambda: g.is_simple(), lambda: g.boundary(),
    lambda: g.label_point() if callable(g.label_point) else g.label_point,
    lambda: g.distance_to(o), lambda: g.generalize(0.01), lambda: g.densify(0.5),
    lambda: g.clip(vg.Envelope({{"xmin": 10, "ymin": -5, "xmax": 5000, "ymax": 5}})),
    lambda: g.cut(cutter) if not isinstance(g, vg.MultiPoint) else [],
    lambda: vg.Geometry.auto_complete([g] if isinstance(g, vg.Polygon) else [], [g if isinstance(g, vg.Polyline) else cutter]),
]
def body():
    print(*[outcome(op) for op in operations])
'''


@pytest.mark.parametrize("name", SHAPES)
def test_every_planar_operation_takes_a_long_input_on_a_tiny_stack(name):
    results = run(on_a_thread(OPERATIONS.format(shape=SHAPES[name]), 128), timeout=120).split()
    assert len(results) == 17 and "Exception" not in results, results
