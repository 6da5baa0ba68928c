"""Polylines through the real engine and back: every dimension with lines, Bezier curves, circular
and elliptic arcs keep their text; no engine object outlives a call."""
import pytest

import engine_hooks
import vornix_geometry as vg

DIMS = [{}, {"hasZ": True}, {"hasM": True}, {"hasZ": True, "hasM": True}]


def shape(dims):
    def v(x, y, z, m):
        return [x, y] + ([z] if dims.get("hasZ") else []) + ([m] if dims.get("hasM") else [])
    return {**dims, "spatialReference": {"wkid": 4326},
            "paths": [[v(0, 0, 1, 2), v(1.5, -1e-7, 3, 4)], [v(5e-324, 1e21, -0.0, 7)]],
            "curvePaths": [[v(0, 0, 1, 2), {"a": [v(2, 1, 5, 6), [2, 0], 1, 1, 0, 2, 0.5]},
                            {"c": [v(4, 1, 7, 8), [3, 2]]}, {"b": [v(6, 0, 9, 10), [5, 1], [5, -1]]},
                            v(7, 7, 11, 12)]]}


@pytest.mark.parametrize("dims", DIMS, ids=["xy", "xyz", "xym", "xyzm"])
def test_round_trip_through_the_engine(dims):
    p = vg.Polyline(shape(dims))
    back = vg.Geometry(p.JSON)
    assert type(back) is vg.Polyline
    assert str(back) == str(p)
    assert (back.has_z, back.has_m) == (p.has_z, p.has_m)
    assert engine_hooks.live_objects() == 0


def test_empty_polyline_round_trip():
    for d in ({}, {"paths": [[]]}, {"paths": [[], [[1, 2]]]}):
        p = vg.Polyline(d)
        assert str(vg.Geometry(p.JSON)) == str(p)


def test_ratio_one_ellipse_comes_back_as_a_circular_arc():
    p = vg.Polyline({"curvePaths": [[[0, 0], {"a": [[2, 0], [1, 0], 1, 1, 0, 1, 1.0]}]]})
    assert str(p) == '{"curvePaths": [[[0, 0], {"a": [[2, 0], [1, 0], 1, 1]}]], "paths": []}'
    back = vg.Geometry(p.JSON)
    arc = back.curve_paths[0][1]
    assert type(arc) is vg.CircularArc
    assert (arc.x, arc.y) == (2.0, 0.0) and arc.interior_x == pytest.approx(1.0)
    assert abs(arc.interior_y) == pytest.approx(1.0)


def test_engine_refusal_of_the_model_leaves_nothing_alive():
    p = vg.Polyline({"spatialReference": {"wkid": 999999}, "paths": [[[0, 0]]]})
    with pytest.raises(Exception) as info:
        p.__kxc_geo()
    assert type(info.value) is Exception and str(info.value).startswith("Corvane library error: '")
    with pytest.raises(Exception):
        p.JSON
    assert engine_hooks.live_objects() == 0
    assert str(p) == '{"spatialReference": {"wkid":999999}, "paths": [[[0, 0]]]}'


def test_nul_in_a_well_known_text_is_an_ordinary_error():
    p = vg.Polyline({"spatialReference": {"wkt": "GEOGCS[\x00]"}, "paths": [[[0, 0], [1, 1]]]})
    with pytest.raises(Exception) as info:
        p.__kxc_geo()
    assert type(info.value) is Exception and str(info.value).startswith("Corvane library error: '")
    assert str(p) == '{"spatialReference": {"wkt":"GEOGCS[\\u0000]"}, "paths": [[[0, 0], [1, 1]]]}'
    p.spatial_reference = {"wkid": 4326}
    assert type(vg.Geometry(p.JSON)) is vg.Polyline  # the polyline's lock was not poisoned
