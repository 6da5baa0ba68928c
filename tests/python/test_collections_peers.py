"""Collection answers against shapely over a table of geometries (points, lines, polygons with holes,
multiparts; touching, overlapping, disjoint), and project_collection against pyproj's Transformer."""
import json
import math

import pyproj
import pytest
import shapely.wkt as shapely_wkt
from shapely.ops import unary_union

import vornix_geometry as vg
from test_ops_peers import PROJECTIONS  # the same points as the single project

WKT = {
    "point": "POINT (1 1)",
    "corner point": "POINT (0 0)",
    "multipoint": "MULTIPOINT ((2 2), (20 20))",
    "line": "LINESTRING (-1 5, 11 5)",
    "edge line": "LINESTRING (0 0, 0 10)",
    "inner line": "LINESTRING (2 2, 3 3)",
    "multiline": "MULTILINESTRING ((0 -2, 4 -2), (12 12, 14 16))",
    "square": "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0))",
    "holed": "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0), (4 4, 6 4, 6 6, 4 6, 4 4))",
    "overlapping": "POLYGON ((5 5, 15 5, 15 15, 5 15, 5 5))",
    "touching": "POLYGON ((10 0, 20 0, 20 10, 10 10, 10 0))",
    "inside": "POLYGON ((1 1, 3 1, 3 3, 1 3, 1 1))",
    "disjoint": "POLYGON ((30 30, 31 30, 31 31, 30 31, 30 30))",
    "multipolygon": "MULTIPOLYGON (((0 0, 2 0, 2 2, 0 0)), ((40 40, 42 40, 42 42, 40 40)))",
}
SHAPELY = {name: shapely_wkt.loads(text) for name, text in WKT.items()}


def ours(name):
    return vg.Geometry(json.loads(json.dumps(vg.utils.wkt_to_veltjson_dict(WKT[name]))))


OURS = {name: ours(name) for name in WKT}
AREAL = ["square", "holed", "overlapping", "touching", "inside", "disjoint", "multipolygon"]
ALL = list(WKT)

EVERY = [(vg.contains_collection, "contains"), (vg.within_collection, "within"),
         (vg.disjoint_from_collection, "disjoint")]
SOME = [(vg.crosses_collection, "crosses"), (vg.touches_collection, "touches"),
        (vg.overlaps_collection, "overlaps"), (vg.intersects_collection, "intersects")]


@pytest.mark.parametrize("primary", ALL)
def test_relation_tests_agree_with_shapely(primary):
    p = SHAPELY[primary]
    for group in (ALL[:5], ALL[5:9], ALL[9:], [ALL[ALL.index(primary) - 1]], ALL):
        items = [SHAPELY[n] for n in group]
        for function, predicate in EVERY:
            assert function(OURS[primary], [OURS[n] for n in group]) is all(getattr(p, predicate)(i) for i in items), \
                (function.__name__, group)
        for function, predicate in SOME:
            assert function(OURS[primary], (OURS[n] for n in group)) is any(getattr(p, predicate)(i) for i in items), \
                (function.__name__, group)


def test_sums_agree_with_shapely():
    assert vg.area_collection(OURS[n] for n in AREAL) == pytest.approx(sum(SHAPELY[n].area for n in AREAL), rel=1e-12)
    assert vg.length_collection(OURS[n] for n in ALL) == pytest.approx(sum(SHAPELY[n].length for n in ALL),
                                                                       rel=1e-12)


DIMENSION = {"Point": 0, "MultiPoint": 0, "LineString": 1, "MultiLineString": 1, "Polygon": 2, "MultiPolygon": 2}


@pytest.mark.parametrize("primary", ALL)
def test_distances_and_overlays_agree_with_shapely(primary):
    p, items = SHAPELY[primary], [SHAPELY[n] for n in ALL]
    assert vg.distances_from_collection(OURS[primary], OURS.values()) == pytest.approx(
        [p.distance(i) for i in items], abs=1e-12)
    for result, i in zip(vg.intersection_collection(OURS[primary], OURS.values()), items):
        expected = p.intersection(i)
        if expected.geom_type == "GeometryCollection" and not expected.is_empty:
            continue
        # The result keeps the lower dimension of the inputs: a meeting of lower dimension is empty.
        if expected.is_empty or DIMENSION[expected.geom_type] < min(DIMENSION[p.geom_type], DIMENSION[i.geom_type]):
            area, length = 0.0, 0.0
        else:
            area, length = expected.area, expected.length
        assert (result.area or 0.0) == pytest.approx(area, abs=1e-9)
        assert result.length == pytest.approx(length, abs=1e-9)
    for result, expected in zip(vg.difference_collection_minus_geom(OURS.values(), OURS[primary]),
                                (i.difference(p) for i in items)):
        assert (result.area or 0.0) == pytest.approx(expected.area, abs=1e-9)


@pytest.mark.parametrize("group", [AREAL, ["square", "overlapping", "touching"], ["holed", "inside"]])
def test_whole_collection_overlays_agree_with_shapely(group):
    items, union = [OURS[n] for n in group], unary_union([SHAPELY[n] for n in group])
    assert vg.Geometry.union_collection(items).area == pytest.approx(union.area, rel=1e-12)
    assert vg.Geometry.convex_hull_collection(items, True).area == pytest.approx(union.convex_hull.area, rel=1e-12)
    assert [h.area for h in vg.Geometry.convex_hull_collection(items, False)] == pytest.approx(
        [SHAPELY[n].convex_hull.area for n in group], rel=1e-12)
    rest = vg.difference_geom_minus_collection(OURS["square"], items[1:])
    assert (rest.area or 0.0) == pytest.approx(SHAPELY["square"].difference(unary_union(
        [SHAPELY[n] for n in group[1:]])).area, abs=1e-9)
    extent = vg.Geometry.combine_extents_collection(items)
    assert (extent.xmin, extent.ymin, extent.xmax, extent.ymax) == union.bounds


@pytest.mark.parametrize("distance", [0.5, 2.0, -1.0])
def test_buffers_agree_with_shapely(distance):
    # Round buffers differ only by how finely each side draws the arcs.
    names = ["square", "holed", "inside", "multipolygon"] + ([] if distance < 0 else ["line", "point"])
    buffers = vg.buffer_collection([OURS[n] for n in names], [distance])
    expected = [SHAPELY[n].buffer(distance, resolution=64).area for n in names]
    assert [b.area for b in buffers] == pytest.approx(expected, rel=2e-3)
    merged = vg.buffer_collection([OURS[n] for n in names], [distance], True)
    assert merged[0].area == pytest.approx(unary_union([SHAPELY[n].buffer(distance, resolution=64)
                                                        for n in names]).area, rel=2e-3)


def test_an_empty_item_is_nan_away():
    empty = vg.Geometry({"paths": []})
    assert math.isnan(vg.distances_from_collection(OURS["square"], [empty])[0])


@pytest.mark.parametrize("source,target,points", PROJECTIONS)
def test_project_collection_agrees_with_transformer(source, target, points):
    transformer = pyproj.Transformer.from_crs(source, target, always_xy=True)
    items = ({"x": x, "y": y, "spatialReference": {"wkid": source}} for x, y in points)
    projected = vg.projection.project_collection(items, vg.SpatialReference({"wkid": target}))
    assert [type(p) for p in projected] == [vg.Point] * len(points)
    tolerance = 1e-8 if target == 4326 else 1e-3  # 1 mm, or about 1 mm in degrees
    for p, (x, y) in zip(projected, points):
        ex, ey = transformer.transform(x, y)
        assert (p.x, p.y) == (pytest.approx(ex, abs=tolerance), pytest.approx(ey, abs=tolerance))
        assert p.spatial_reference.wkid == target


def test_collections_follow_each_items_own_spatial_reference():
    # Neighbouring items share their engine spatial reference within a call: a change from item to
    # item (by id, by text, to none and back, to one the engine refuses) must still be each item's.
    nad83_text = pyproj.CRS.from_epsg(4269).to_wkt("WKT1_GDAL")
    refs = [{"wkid": 4326}, {"wkid": 4326}, {"wkid": 4269}, {"wkt": nad83_text}, None, {"wkid": 4326}]
    with_sr = [{"spatialReference": r} if r else {} for r in refs]
    points = [vg.Point({"x": -100 + i, "y": 40, **sr}) for i, sr in enumerate(with_sr)]
    target = {"wkid": 3857}
    projected = vg.projection.project_collection(points[:4] + points[5:], target)
    one_by_one = [p.project(target) for p in points[:4] + points[5:]]
    assert [(p.x, p.y) for p in projected] == [(p.x, p.y) for p in one_by_one]
    squares = [vg.Polygon({"rings": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]], **sr}) for sr in with_sr]
    assert vg.area_collection(squares) == sum(s.area for s in squares)
    moved = vg.move_relative_collection(squares, 0.0, 0.0)
    assert [g.JSON for g in moved] == [s.move_relative(0.0, 0.0).JSON for s in squares]
    assert [g.spatial_reference.wkid for g in moved if g.spatial_reference] == [4326, 4326, 4269, 4269, 4326]
    unknown = vg.Polygon({"rings": [[[0, 0], [0, 1], [1, 1], [0, 0]]], "spatialReference": {"wkid": 999999}})
    refused = squares[:2] + [unknown]
    with pytest.raises(Exception, match="Unknown well-known ID 999999"):
        vg.area_collection(refused)


def test_project_collection_with_transformation_matches_one_by_one():
    transformations = vg.projection.get_transformations({"wkid": 4326}, {"wkid": 4267})
    assert transformations, "the catalog knows transformations between WGS 84 and NAD27"
    t = transformations[0]
    items = [vg.Geometry({"x": x, "y": y, "spatialReference": {"wkid": 4326}}) for x, y in [(-100, 40), (-80, 35)]]
    together = vg.projection.project_collection_with_transformation(items, {"wkid": 4267}, t)
    one_by_one = [g.project_with_transformation({"wkid": 4267}, t) for g in items]
    assert [(p.x, p.y) for p in together] == [(p.x, p.y) for p in one_by_one]
    assert all(a.equals(b) for a, b in zip(together, one_by_one))


# Targets spelled every way a caller may: the results of a collection carry the reference exactly as
# the method's results do (an id the engine recognises in a text comes back as the id, an unknown
# text as the text, a vertical system kept, a later id dropped).
CUSTOM_MERCATOR = pyproj.CRS.from_proj4("+proj=merc +lon_0=10 +x_0=500 +datum=WGS84 +units=m +no_defs").to_wkt("WKT1_ESRI")
PROJECTION_TARGETS = [{"wkid": 3857}, {"wkid": 3857, "latestWkid": 3857},
                      {"wkt": pyproj.CRS.from_epsg(3857).to_wkt("WKT1_ESRI")}, {"wkt": CUSTOM_MERCATOR},
                      {"wkid": 4326, "vcsWkid": 5773}, {"wkid": 4269}]


@pytest.mark.parametrize("target", PROJECTION_TARGETS)
def test_projected_collections_carry_the_target_as_the_method_does(target):
    wgs84 = {"spatialReference": {"wkid": 4326}}
    items = [vg.Point({"x": -100, "y": 40, **wgs84}), vg.Point({"x": 5, "y": 6}),
             vg.MultiPoint({"points": [[-100, 40], [-80, 35]], **wgs84}),
             vg.Polyline({"paths": [[[-100, 40], [-80, 35]]], **wgs84}),
             vg.Polygon({"rings": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]], **wgs84}),
             vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1, **wgs84})]
    together = vg.projection.project_collection(items, target)
    assert [str(g) for g in together] == [str(item.project(target)) for item in items]
    nad27 = vg.projection.get_transformations({"wkid": 4326}, {"wkid": 4267})[0]
    through = vg.projection.project_collection_with_transformation(items[2:], target, nad27)
    assert [str(g) for g in through] == [str(item.project_with_transformation(target, nad27)) for item in items[2:]]
