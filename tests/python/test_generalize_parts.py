"""generalize keeps the parts it collapses unless asked to remove them: a polygon's rings as much
as a polyline's paths. Areas agree with shapely's Douglas-Peucker either way (a collapsed ring
encloses nothing)."""
import json

import pytest
import shapely.wkt as shapely_wkt

import vornix_geometry as vg
from test_extreme_numbers import run

# Each case: its text, the offset, and how many of its parts collapse.
CASES = {
    "small island": ("POLYGON ((0 0, 0 10, 10 10, 10 0, 0 0)), ((20 20, 20 20.1, 20.1 20.1, 20.1 20, 20 20))", 1.0, 1),
    "thin hole": ("POLYGON ((0 0, 0 10, 10 10, 10 0, 0 0), (2 2, 2.1 2, 8 2.1, 2 2.1, 2 2))", 0.5, 1),
    "whole polygon": ("POLYGON ((0 0, 0 1, 1 1, 1 0, 0 0))", 5.0, 1),
    "nothing collapses": ("POLYGON ((0 0, 0 10, 10 10, 10 0, 0 0))", 1.0, 0),
    "closed path": ("MULTILINESTRING ((0 0, 0.1 0, 0.1 0.1, 0 0), (0 5, 10 5))", 1.0, 1),
    # A path without length is a degenerate part as well; a path out and back keeps its far end.
    "path of one point": ("MULTILINESTRING ((0 0, 1 0.1, 0 0), (5 5, 5 5), (7 7, 8 8))", 0.5, 1),
    "one point repeated": ("LINESTRING (1 1, 1 1, 1 1, 1 1, 1 1)", 1.0, 1),
}


def ours(wkt):
    if wkt.startswith("POLYGON ((0 0, 0 10, 10 10, 10 0, 0 0)), "):
        wkt = "MULTI" + wkt.replace("POLYGON ((", "POLYGON (((", 1) + ")"
    return shapely_wkt.loads(wkt), vg.Geometry(json.loads(json.dumps(vg.utils.wkt_to_veltjson_dict(wkt))))


def parts(g):
    d = json.loads(str(g))
    return d.get("rings", d.get("paths"))


@pytest.mark.parametrize("name", CASES)
def test_collapsed_parts_are_kept_unless_removal_is_asked(name):
    wkt, offset, collapsing = CASES[name]
    s, g = ours(wkt)
    kept, removed = g.generalize(offset), g.generalize(offset, True)
    assert len(parts(kept)) == len(parts(g))
    assert len(parts(removed)) == len(parts(g)) - collapsing
    expected = s.simplify(offset, preserve_topology=False)
    for result in (kept, removed):
        assert (result.area or 0.0) == pytest.approx(expected.area)
    if expected.geom_type.endswith("LineString"):  # the same vertices as GEOS's own Douglas-Peucker
        assert parts(kept) == [[list(c) for c in line.coords] for line in getattr(expected, "geoms", [expected])]
    # A kept collapsed part still reaches where the input reached, and its text rebuilds it.
    assert kept.extent == pytest.approx(g.extent, abs=offset)
    assert str(vg.Geometry(str(kept))) == str(kept)


def test_generalize_counts_the_chords_of_its_curves_before_making_them():
    # 150,000 full circles make some 10.6 million chord vertices: refused at once, in bounded memory.
    out = run('''
        import time
        circles = [[0, 0]] + [{"a": [[0, 0], [1, 0], 0, 0]}] * 150000
        p = vg.Polyline({"curvePaths": [circles]})
        start = time.monotonic()
        print(outcome(lambda: p.generalize(0.1)))
        print(time.monotonic() - start < 5, len(str(p)) > 0)
    ''')
    assert out.splitlines() == ["Exception: Corvane library error: 'Too many vertices: The curves of the geometry make too many chords to generalize'", "True True"]

