"""generalize and generalize_collection take long lines whose Douglas-Peucker sections GEOS's own
simplifier would take one stack frame each, in a thread of a 512 KB stack and in seconds; each
family runs in a fresh interpreter, so a stack overflow is a failure, not the end of the suite."""
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
    # 30,000 half circles up and down: some 1.1 million chords, all kept but the 29,999 vertices
    # where one arc turns into the next, on the chord of their neighbours.
    "meander of arcs": ('vg.Polyline({"curvePaths": [[[0, 0]] + [{"c": [[2.0 * k + 2, 0.0], [2.0 * k + 1, 1.0 - 2 * (k % 2)]]} '
                        'for k in range(30_000)]]})', "chords"),
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
        print(count(single) == count(g.densify(1e9)) - 29_999)
threading.stack_size(512 * 1024)
t = threading.Thread(target=body)
t.start()
t.join()
'''


@pytest.mark.parametrize("name", FAMILIES)
def test_long_inputs_generalize_on_a_small_stack(name):
    geometry, expected = FAMILIES[name]
    lines = run(CODE.format(geometry=geometry, expected=expected), timeout=120).split()
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
