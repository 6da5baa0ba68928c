"""Overlays with an empty geometry of another kind, against shapely: an empty input has no
dimension, so a union or symmetric difference with it is the other input, and intersection and
difference stay what they were."""
import json

import pytest
import shapely.wkt as shapely_wkt

import vornix_geometry as vg

GEOMETRIES = {
    "point": "POINT (1 1)",
    "multipoint": "MULTIPOINT ((1 1), (2 2))",
    "polyline": "LINESTRING (0 0, 5 5)",
    "polygon": "POLYGON ((0 0, 0 1, 1 1, 1 0, 0 0))",
}
EMPTIES = {
    "empty point": ('{"x": null, "y": null}', "POINT EMPTY"),
    "empty multipoint": ('{"points": []}', "MULTIPOINT EMPTY"),
    "empty polyline": ('{"paths": []}', "LINESTRING EMPTY"),
    "empty polygon": ('{"rings": []}', "POLYGON EMPTY"),
    "empty envelope": ('{"xmin": null, "ymin": null, "xmax": null, "ymax": null}', "POLYGON EMPTY"),
}
# The class of each kind's overlays: points and multipoints unite to a multipoint.
RESULT_CLASS = {"point": vg.MultiPoint, "multipoint": vg.MultiPoint, "polyline": vg.Polyline, "polygon": vg.Polygon}


def ours(wkt):
    return vg.Geometry(json.loads(json.dumps(vg.utils.wkt_to_veltjson_dict(wkt))))


def same(result, expected):
    """Our result holds what shapely's does: the same measures, the same points in space."""
    if expected.is_empty:
        return result.is_empty
    other = ours(expected.wkt)
    return (result.area or 0.0) == pytest.approx(expected.area) and result.length == pytest.approx(expected.length) \
        and result.within(other) and other.within(result)


@pytest.mark.parametrize("empty", EMPTIES)
@pytest.mark.parametrize("kind", GEOMETRIES)
def test_overlays_with_an_empty_of_another_kind_agree_with_shapely(kind, empty):
    text, empty_wkt = EMPTIES[empty]
    g, e = ours(GEOMETRIES[kind]), vg.Geometry(text)
    s, se = shapely_wkt.loads(GEOMETRIES[kind]), shapely_wkt.loads(empty_wkt)
    # Union and symmetric difference, either way round, are the other input, of its kind.
    for a, b, sa, sb in ((g, e, s, se), (e, g, se, s)):
        for name in ("union", "symmetric_difference"):
            result = getattr(a, name)(b)
            assert type(result) is RESULT_CLASS[kind], name
            assert same(result, getattr(sa, name)(sb)), name
    # Intersection and difference were sound before and stay so.
    assert g.intersect(e).is_empty and e.intersect(g).is_empty and e.difference(g).is_empty
    assert same(g.difference(e), s.difference(se))


# The class our overlays give for shapely's empty result of each dimension.
CLASS_OF_DIMENSION = {0: vg.MultiPoint, 1: vg.Polyline, 2: vg.Polygon}


def dimension(shapely_geometry):
    return {"Point": 0, "MultiPoint": 0, "LineString": 1, "Polygon": 2}[shapely_geometry.geom_type]


@pytest.mark.parametrize("second", EMPTIES)
@pytest.mark.parametrize("first", EMPTIES)
def test_two_empties_give_an_empty_of_the_higher_dimension(first, second):
    (text_a, wkt_a), (text_b, wkt_b) = EMPTIES[first], EMPTIES[second]
    a, b = vg.Geometry(text_a), vg.Geometry(text_b)
    sa, sb = shapely_wkt.loads(wkt_a), shapely_wkt.loads(wkt_b)
    for name in ("union", "symmetric_difference"):
        theirs = getattr(sa, name)(sb)
        result = getattr(a, name)(b)
        assert result.is_empty and theirs.is_empty, name
        assert type(result) is CLASS_OF_DIMENSION[dimension(theirs)], name
    united = vg.Geometry.union_collection([a, b])
    assert united.is_empty and type(united) is CLASS_OF_DIMENSION[dimension(sa.union(sb))]


def test_union_collection_skips_empties_of_other_kinds():
    square = ours(GEOMETRIES["polygon"])
    items = [vg.Geometry('{"paths": []}'), square, vg.Geometry('{"x": null, "y": null}')]
    assert vg.Geometry.union_collection(items).area == pytest.approx(1.0)
    with pytest.raises(Exception, match="one dimension"):
        vg.Geometry.union_collection([square, ours(GEOMETRIES["polyline"])])
