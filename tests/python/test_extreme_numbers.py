"""NaN, infinities and magnitudes near 1e308 in the engine's curve and densify paths: each call
gets an answer or an ordinary Exception, quickly and within bounded memory, and leaves the geometry
usable. The cases run in a fresh interpreter under a 3 GB memory limit and a timeout, so a
fault, a hang or a runaway allocation fails the test instead of the suite."""
import os
import subprocess
import sys
import textwrap

import pytest

from build_paths import ENGINE, MODULE_DIR

# The address sanitizer reserves terabytes of address space for its shadow memory, so under it
# (preloaded by `make test-asan`) the same 3 GB bound is its resident-memory limit instead.
SANITIZED = "libasan" in os.environ.get("LD_PRELOAD", "")
MEMORY_LIMIT_MB = 3 << 10
ADDRESS_SPACE_LIMIT = "" if SANITIZED else f'''
import resource
resource.setrlimit(resource.RLIMIT_AS, ({MEMORY_LIMIT_MB} << 20, {MEMORY_LIMIT_MB} << 20))'''

PRELUDE = ADDRESS_SPACE_LIMIT + '''
import vornix_geometry as vg
nan, big = float("nan"), 1e308
G = vg.GeodeticCurveType
M = vg.LinearUnitId.Meters
print("imported")

def outcome(action):
    try:
        result = action()
    except Exception as error:
        return "%s: %s" % (type(error).__name__, error)
    return result if isinstance(result, (float, int, bool)) else type(result).__name__
'''


def run(code):
    env = dict(os.environ, PYTHONPATH=str(MODULE_DIR), GEOMETRY_LIB_PATH=str(ENGINE))
    if SANITIZED:
        env["ASAN_OPTIONS"] = "%s:hard_rss_limit_mb=%d" % (env.get("ASAN_OPTIONS", ""), MEMORY_LIMIT_MB)
    result = subprocess.run([sys.executable, "-c", PRELUDE + textwrap.dedent(code)], env=env,
                            capture_output=True, text=True, timeout=120)
    assert result.returncode == 0, result.stderr[-3000:]
    return result.stdout.split("imported\n", 1)[1]


BEZIER_REFUSED = "Exception: Corvane library error: 'The points of a cubic Bezier curve must have finite coordinates'"

NAN_BEZIERS = {
    "NaN vertex before the curve": [[0, 0], [1, "nan"], {"b": [[2, 0], [1, 1], [1.5, 1]]}],
    "NaN end": [[0, 0], {"b": [["nan", 0], [1, 1], [1.5, 1]]}],
    "NaN control point": [[0, 0], {"b": [[2, 0], [1, "nan"], [1.5, 1]]}],
    "infinite control point": [[0, 0], {"b": [[2, 0], [1, "inf"], [1.5, 1]]}],
}


@pytest.mark.parametrize("path", NAN_BEZIERS.values(), ids=NAN_BEZIERS.keys())
def test_a_bezier_curve_with_a_non_finite_point_is_refused_and_the_geometry_stays_usable(path):
    out = run(f'''
        p = vg.Polyline({{"curvePaths": [{path!r}]}})
        for action in (lambda: p.length, lambda: p.buffer(1.0), lambda: p.length, lambda: len(str(p)) > 0):
            print(outcome(action))
    '''.replace("'nan'", "nan").replace("'inf'", "float('inf')"))
    assert out.splitlines() == [BEZIER_REFUSED, BEZIER_REFUSED, BEZIER_REFUSED, "True"]


def test_a_nan_written_through_a_view_before_a_bezier_curve_is_refused_without_poisoning():
    out = run('''
        p = vg.Polyline({"curvePaths": [[[0, 0], [1, 1], {"b": [[2, 0], [1, 1], [1.5, 1]]}]]})
        before = p.length
        p.curve_paths[0][1].y = nan
        print(outcome(lambda: p.length))
        p.curve_paths[0][1].y = 1.0
        print(p.length == before)
    ''')
    assert out.splitlines() == [BEZIER_REFUSED, "True"]


def test_bezier_control_points_near_the_largest_double_give_a_few_chords_not_the_cap():
    # Before, the chord count's square overflowed and every such curve became 100,000 chords:
    # a union ran for minutes and the memory limit here would have ended it.
    out = run('''
        poly = vg.Polygon({"curveRings": [[[0, 0], {"b": [[big, 0], [big, big], [0, big]]}, [0, 0]]]})
        many = vg.Polyline({"curvePaths": [[[0, 0]] + [{"b": [[big * (i % 2), 0], [big, big], [0, big]]} for i in range(400)]]})
        for action in (lambda: poly.union(poly), lambda: poly.simplify(), lambda: poly.generalize(1.0),
                       lambda: many.length):
            print(outcome(action))
    ''')
    # GEOS's overlays and repairs overflow at these magnitudes (and leaked when they failed): a
    # clear refusal.
    refused = ("Exception: Corvane library error: 'Coordinates are too large for the %s: "
               "Planar operations take coordinates up to 1e100 in magnitude'")
    assert out.splitlines() == [refused % "overlay", refused % "repair", "Polygon", "inf"]


TOO_MANY = "Exception: Corvane library error: 'Too many vertices: The maximum segment length is too small for the geometry'"

DENSIFY = {
    # A NaN vertex gave a NaN running count, which never passed the budget.
    "geodetic, a NaN vertex after a long segment": (
        '[[0, 0], [1e5, 0], [2e5, nan]]', 3857, "(1e-9, M, G.Geodesic)", TOO_MANY),
    "geodetic, a step of the smallest subnormal": (
        '[[0, 0], [1e5, 0]]', 3857, "(5e-324, M, G.Geodesic)", TOO_MANY),
    "normal section, just past the budget": (
        '[[0, 0], [1, 0]]', 4326, "(0.01, M, G.NormalSection)", TOO_MANY),
    "great elliptic, a tiny step": (
        '[[0, 0], [3, 2]]', 4326, "(0.0127, M, G.GreatElliptic)", TOO_MANY),
    "planar, a tiny step": ('[[0, 0], [1e6, 0]]', 3857, "(1e-6,)", TOO_MANY),
    "geodetic, only NaN segments: nothing to add": (
        '[[0, 0], [nan, 0], [1, 1]]', 3857, "(1.0, M, G.Geodesic)", "Polyline"),
}


@pytest.mark.parametrize("path, wkid, arguments, expected", DENSIFY.values(), ids=DENSIFY.keys())
def test_densify_counts_its_result_before_building_it(path, wkid, arguments, expected):
    out = run(f'''
        p = vg.Polyline({{"paths": [{path}], "spatialReference": {{"wkid": {wkid}}}}})
        print(outcome(lambda: p.densify(*{arguments})))
        print(len(str(p)) > 0)
    ''')
    assert out.splitlines() == [expected, "True"]


BUFFER_TOO_MANY = "Exception: Corvane library error: 'Too many vertices: The maximum deviation is too small for the geometry'"

GEODETIC_BUFFERS = {
    # The outline was followed at a metre's spacing: 31 million vertices, past the memory limit.
    "a point, 5,000 km within a nanometre": ('{"x": 10, "y": 20}', "(5e6, M, 1e-9, G.Geodesic)"),
    "a line, 100 km within a nanometre": ('{"paths": [[[0, 0], [60, 30], [120, 0]]]}', "(1e5, M, 1e-9, G.Geodesic)"),
    "a polygon, 10 km within a micrometre": ('{"rings": [[[0, 0], [0, 40], [40, 40], [40, 0]]]}', "(1e4, M, 1e-6, G.Loxodrome)"),
}


@pytest.mark.parametrize("geometry, arguments", GEODETIC_BUFFERS.values(), ids=GEODETIC_BUFFERS.keys())
def test_geodetic_buffers_count_their_outline_before_building_it(geometry, arguments):
    out = run(f'''
        g = vg.Geometry(dict({geometry}, spatialReference={{"wkid": 4326}}))
        print(outcome(lambda: g.buffer(*{arguments})))
        print(len(str(g)) > 0)
    ''')
    assert out.splitlines() == [BUFFER_TOO_MANY, "True"]


def test_normalize_central_meridian_folds_any_longitude_or_copies_without_an_error():
    # The call has no error path: any engine error was a PanicException. Each result is folded into
    # the reference's turn of longitude or, where it cannot be folded, a copy.
    out = run('''
        import json, math
        inf = float("inf")
        values = [190.0, 1e7, -1e7, 1e12, 1e308, -1e308, inf, -inf, nan, -0.0, 5e-324]
        kinds = {
            "point": lambda v: {"x": v, "y": 10},
            "multipoint": lambda v: {"points": [[v, 10], [1, 2]]},
            "path": lambda v: {"paths": [[[0, 10], [v, 20]]]},
            "ring": lambda v: {"rings": [[[0, 10], [v, 20], [5, 30]]]},
            "envelope": lambda v: {"xmin": 0, "ymin": 0, "xmax": v, "ymax": 10},
        }
        half_turn = {4326: 180.0, 3857: 20037508.342789244, 32632: None}
        for wkid, half in half_turn.items():
            for v in values:
                for kind, make in kinds.items():
                    g = vg.Geometry(dict(make(v if wkid == 4326 else v * 1e5), spatialReference={"wkid": wkid}))
                    try:
                        r = g.normalize_central_meridian()
                    except BaseException as error:
                        print(wkid, v, kind, type(error).__name__, error)
                        continue
                    if r is None or str(r) == str(g) or half is None:
                        continue
                    d = json.loads(str(r))
                    parts = (d.get("rings") or d.get("paths") or [d.get("points") or [[d.get("x"), 0]]] if "xmin" not in d
                             else [[[d["xmin"], 0], [d["xmax"], 0]]])
                    xs = [vertex[0] for part in parts for vertex in part]
                    if not all(math.isnan(x) or abs(x) <= half * (1 + 1e-9) for x in xs):
                        print(wkid, v, kind, "outside", max(xs, key=abs))
        print("done")
    ''')
    assert out.splitlines() == ["done"]


@pytest.mark.parametrize("curve_type", ["GreatElliptic", "NormalSection", "ShapePreserving", "Loxodrome"])
def test_geodetic_measures_of_a_path_with_a_nan_vertex_are_answers(curve_type):
    # The piece count of such a segment was a NaN converted to an integer.
    out = run(f'''
        p = vg.Polyline({{"paths": [[[0, 0], [1, nan], [2, 1]]], "spatialReference": {{"wkid": 4326}}}})
        print(outcome(lambda: p.calculate_length(G.{curve_type})))
        print(outcome(lambda: p.densify(1000.0, M, G.{curve_type})))
    ''')
    length, densified = out.splitlines()
    assert length == "nan" or float(length) >= 0
    assert densified == "Polyline"


# Arcs from (0, 0) to (2, 0): half a circle through (1, 1), and half an ellipse of axes 1 and 0.5.
UNIT_ARCS = {"circular": {"c": [[2, 0], [1, 1]]}, "elliptic": {"a": [[2, 0], [1, 0], 1, 1, 0.0, 1.0, 0.5]}}


@pytest.mark.parametrize("arc", UNIT_ARCS.values(), ids=UNIT_ARCS.keys())
def test_arcs_far_from_unit_size_keep_their_shape(arc):
    # The centre's squares and fourth powers overflowed from about 1e77 (ellipses) and 1e154
    # (circles) up, and underflowed as far below: such an arc came back with a NaN centre.
    out = run(f'''
        import json
        def scaled(item, s):
            return [scaled(x, s) for x in item] if isinstance(item, list) else item * s if isinstance(item, float) else item
        arc = {arc!r}
        key = next(iter(arc))
        unit = vg.Polyline({{"curvePaths": [[[0, 0], arc]]}}).length
        for s in (1e-200, 1e100, 1e200, 1e300):
            points = [scaled([float(v) for v in arc[key][0]], s), scaled([float(v) for v in arc[key][1]], s)] + arc[key][2:]
            if key == "a":
                points[5] = arc[key][5] * s
            line = vg.Polyline({{"curvePaths": [[[0, 0], {{key: points}}]]}})
            back = json.loads(line.JSON)["curvePaths"][0][1][key]
            print(s, abs(line.length / (unit * s) - 1) < 1e-12, abs(back[0][0] / (2 * s) - 1) < 1e-15)
    ''')
    assert out.splitlines() == [f"{s} True True" for s in ("1e-200", "1e+100", "1e+200", "1e+300")]


def test_an_arc_whose_centre_or_radius_overflows_is_refused():
    out = run('''
        for path in ([[1e308, 0], {"c": [[-1e308, 0], [0, 1e308]]}],
                     [[0, 0], {"c": [[1e308, 0], [5e307, 1e-300]]}],
                     [[1.5e308, 0], {"a": [[1.5e308, 1e307], [0, 0], 1, 1, 0.0, 1e308, 1.0]}]):
            print(outcome(lambda: vg.Polyline({"curvePaths": [path]}).length))
    ''')
    assert out.splitlines() == [
        "Exception: Corvane library error: 'The arc is too large: its centre or radius lies beyond the largest number'",
        "Exception: Corvane library error: 'The three points of a circular arc must not lie on one line'",
        "Exception: Corvane library error: 'The arc is too large: its centre or radius lies beyond the largest number'",
    ]
