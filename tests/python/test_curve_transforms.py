"""Curves through move, rotate, scale and mirrors: every image is a geometry that every later
operation takes, measured against shapely on the same curve sampled densely. A full circle scaled
unevenly is a full ellipse, which the model can hold only as two halves."""
import json
import math

import pytest
from shapely import affinity
from shapely.geometry import Polygon

import vornix_geometry as vg

O = vg.Point({"x": 0, "y": 0})
SAMPLES = 20000


def arc_points(cx, cy, a, b, t0, t1):
    return [(cx + a * math.cos(t), cy + b * math.sin(t))
            for t in (t0 + (t1 - t0) * i / SAMPLES for i in range(SAMPLES + 1))]


def bezier_points(p0, p1, p2, p3):
    def at(t):
        u = 1 - t
        return tuple(u ** 3 * p0[k] + 3 * u * u * t * p1[k] + 3 * u * t * t * p2[k] + t ** 3 * p3[k] for k in (0, 1))
    return [at(i / SAMPLES) for i in range(SAMPLES + 1)]


# Each input ring and the same ring sampled for shapely.
CURVES = {
    "full circle": ({"curveRings": [[[3, 1], {"a": [[3, 1], [1, 1], 0, 0]}]]},
                    arc_points(1, 1, 2, 2, 0, 2 * math.pi)),
    "half circle": ({"curveRings": [[[0, 0], {"c": [[2, 0], [1, 1]]}, [0, 0]]]},
                    arc_points(1, 0, 1, 1, math.pi, 0)),
    "elliptic arc": ({"curveRings": [[[0, 0], [2, 0], {"a": [[0, 1], [0, 0], 1, 0, 0, 2, 0.5]}, [0, 0]]]},
                     [(0, 0)] + arc_points(0, 0, 2, 1, 0, math.pi / 2)),
    "full ellipse": ({"curveRings": [[[2, 0], {"a": [[-2, 0], [0, 0], 0, 0, 0, 2, 0.5]},
                                      {"a": [[2, 0], [0, 0], 0, 0, 0, 2, 0.5]}]]},
                     arc_points(0, 0, 2, 1, 0, 2 * math.pi)),
    "bezier": ({"curveRings": [[[0, 0], {"b": [[3, 0], [1, 2], [2, 2]]}, [0, 0]]]},
               bezier_points((0, 0), (1, 2), (2, 2), (3, 0))),
}

# Each map by its calls and its matrix [a, b, d, e] (x' = a x + b y, y' = d x + e y).
S30, C30 = math.sin(math.pi / 6), math.cos(math.pi / 6)
TRANSFORMS = {
    "stretch": (lambda g: g.scale(2, 1, O), [2, 0, 0, 1]),
    "squash y": (lambda g: g.scale(1, 0.25, O), [1, 0, 0, 0.25]),
    "mirror": (lambda g: g.scale(-1, 1, O), [-1, 0, 0, 1]),
    "mirror and stretch": (lambda g: g.scale(1.5, -3, O), [1.5, 0, 0, -3]),
    "rotate 30": (lambda g: g.rotate(30, O), [C30, -S30, S30, C30]),
    "quarter turn": (lambda g: g.rotate(90, O), [0, -1, 1, 0]),
    # A rotation then an uneven scale: a shear-like map, the axes of an ellipse turn.
    "rotate then stretch": (lambda g: g.rotate(30, O).scale(2, 1, O), [2 * C30, -2 * S30, S30, C30]),
    "stretch then rotate": (lambda g: g.scale(2, 1, O).rotate(30, O), [2 * C30, -S30, 2 * S30, C30]),
    "rotate then mirror": (lambda g: g.rotate(30, O).scale(-2, 0.5, O), [-2 * C30, 2 * S30, 0.5 * S30, 0.5 * C30]),
}

SQUARE = vg.Polygon({"rings": [[[0, 0], [0, 1.5], [1.5, 1.5], [1.5, 0], [0, 0]]]})
SHAPELY_SQUARE = Polygon([(0, 0), (0, 1.5), (1.5, 1.5), (1.5, 0)])


def image(name, transform):
    d, points = CURVES[name]
    call, (a, b, d_, e) = TRANSFORMS[transform]
    expected = affinity.affine_transform(Polygon(points), [a, b, d_, e, 0, 0])
    return call(vg.Polygon(d)), expected


@pytest.mark.parametrize("transform", TRANSFORMS)
@pytest.mark.parametrize("name", CURVES)
def test_every_image_of_a_curve_is_taken_by_every_operation(name, transform):
    g, s = image(name, transform)
    # Arcs are measured exactly, Bezier curves by their chords, and curves reach GEOS as chords.
    exact, chords = (2e-2, 2e-2) if name == "bezier" else (1e-7, 3e-3)
    assert g.area == pytest.approx(s.area, rel=exact)
    assert g.length == pytest.approx(s.length, rel=exact)
    assert g.buffer(0.25).area == pytest.approx(s.buffer(0.25, resolution=18).area, rel=chords)
    assert g.union(SQUARE).area == pytest.approx(s.union(SHAPELY_SQUARE).area, rel=chords)
    assert g.simplify().area == pytest.approx(s.area, rel=chords)
    # Back through the text, both as a dictionary and as the text itself.
    for again in (vg.Geometry(json.loads(str(g))), vg.Geometry(str(g))):
        assert again.area == pytest.approx(g.area, rel=1e-12)
        assert again.length == pytest.approx(g.length, rel=1e-12)


@pytest.mark.parametrize("transform", TRANSFORMS)
def test_a_full_ellipse_is_two_half_arcs_that_meet_where_the_circle_started(transform):
    g, _ = image("full circle", transform)
    ring = json.loads(str(g))["curveRings"][0]
    a, b, d, e = TRANSFORMS[transform][1]
    # The image of the circle's start (3, 1) is still the first vertex.
    assert ring[0] == pytest.approx([3 * a + b, 3 * d + e])
    if abs(abs(a * e - b * d) - (a * a + d * d)) < 1e-12 and abs(a * b + d * e) < 1e-12:
        assert len(ring) == 2  # a similarity keeps a circle: one element
    else:
        assert len(ring) == 3 and ring[1]["a"][0] != ring[0]


def test_a_full_ellipse_carries_z_and_m_to_its_new_vertex():
    circle = vg.Polyline({"hasZ": True, "hasM": True,
                          "curvePaths": [[[1, 0, 5, 7], {"a": [[1, 0, 5, 7], [0, 0], 0, 0]}]]})
    path = json.loads(str(circle.scale(2, 1, O)))["curvePaths"][0]
    assert path[0] == [2, 0, 5, 7]
    assert path[1]["a"][0][2:] == [5, 7]
    assert path[1]["a"][0][:2] == pytest.approx([-2, 0], abs=1e-12)


# Scales that squash the plane onto an axis, nearly or wholly, or onto a point.
COLLAPSES = {
    "onto the y axis": (0, 1),
    "onto the x axis": (1, 0),
    "to 1e-300 of its width": (1e-300, 1),
    "to 1e-300 of its height": (1, 1e-300),
    "mirrored to 1e-300 of its width": (-1e-300, 1),
    "onto a point": (0, 0),
}


@pytest.mark.parametrize("kind", ["rings", "paths"])
@pytest.mark.parametrize("scales", COLLAPSES)
@pytest.mark.parametrize("name", CURVES)
def test_a_curve_squashed_flat_runs_to_and_fro_over_all_its_image(name, scales, kind):
    # A ring or the same elements as a closed path: a flat curve turns back where its image does,
    # so the result reaches as far as the sampled image and is as long.
    d, points = CURVES[name]
    sx, sy = COLLAPSES[scales]
    g = vg.Geometry({"curve" + kind.capitalize(): d["curveRings"]}).scale(sx, sy, O)
    s = affinity.scale(Polygon(points), sx, sy, origin=(0, 0))
    exact = 2e-2 if name == "bezier" else 1e-7
    assert g.length == pytest.approx(s.length, rel=exact, abs=1e-12)
    assert g.extent == pytest.approx(s.bounds, abs=1e-7)
    if kind == "rings":
        assert g.area == pytest.approx(0, abs=1e-12)
    again = vg.Geometry(str(g))
    assert again.length == pytest.approx(g.length, rel=1e-12, abs=1e-12)
