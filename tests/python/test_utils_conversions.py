"""The four conversions over every kind, dimension, byte order and WKB dialect, and what each
builder makes of empties, NaN points, SRIDs and collections."""
import json
import math
import struct

import pytest

import vornix_geometry as vg
from vornix_geometry.utils import (wkb_to_geojson_dict, wkb_to_veltjson_dict, wkt_to_geojson_dict,
                                   wkt_to_veltjson_dict)
from utils_cases import DIMS, KINDS, geojson, ordered, sample, veltjson, wkb, wkt

ORDERS = ["<", ">"]
DIALECTS = [("iso", None), ("ewkb", None), ("ewkb", 3857), ("ewkb", -5)]


@pytest.mark.parametrize("dims", DIMS)
@pytest.mark.parametrize("kind", KINDS)
def test_wkt_gives_both_dictionaries(kind, dims):
    coords = sample(kind, dims)
    assert ordered(wkt_to_geojson_dict(wkt(kind, coords, dims))) == ordered(geojson(kind, coords))
    assert ordered(wkt_to_veltjson_dict(wkt(kind, coords, dims))) == ordered(veltjson(kind, coords, dims))


@pytest.mark.parametrize("dialect, srid", DIALECTS)
@pytest.mark.parametrize("order", ORDERS)
@pytest.mark.parametrize("dims", DIMS)
@pytest.mark.parametrize("kind", KINDS)
def test_wkb_gives_both_dictionaries(kind, dims, order, dialect, srid):
    coords = sample(kind, dims)
    data = wkb(kind, coords, dims, order, dialect, srid)
    expected_srid = 4326 if srid is None else srid
    assert ordered(wkb_to_geojson_dict(data)) == ordered(geojson(kind, coords, expected_srid))
    assert ordered(wkb_to_veltjson_dict(data)) == ordered(veltjson(kind, coords, dims, expected_srid))


# (EWKB without any flag in its first type word is read as ISO WKB, which has no EWKB members.)
@pytest.mark.parametrize("order", ORDERS)
@pytest.mark.parametrize("dialect, srid", [d for d in DIALECTS if d != ("ewkb", None)])
def test_collections_nest_complete_geojson_dictionaries(dialect, srid, order):
    members = [("Point", sample("Point", "xy")),
               ("GeometryCollection", [("LineString", sample("LineString", "z"), "z")]),
               ("Polygon", sample("Polygon", "m"), "m")]
    data = wkb("GeometryCollection", members, "xy", order, dialect, srid)
    expected = geojson("GeometryCollection", members, 4326 if srid is None else srid)
    assert ordered(wkb_to_geojson_dict(data)) == ordered(expected)
    assert ordered(wkt_to_geojson_dict(wkt("GeometryCollection", members))) == ordered(geojson("GeometryCollection", members))


@pytest.mark.parametrize("convert, data", [
    (wkt_to_veltjson_dict, "GEOMETRYCOLLECTION (POINT (1 2))"),
    (wkt_to_veltjson_dict, "GEOMETRYCOLLECTION EMPTY"),
    (wkb_to_veltjson_dict, wkb("GeometryCollection", [])),
])
def test_veltjson_has_no_collections(convert, data):
    # ordinary input: an exception that `except Exception` catches, not the fault path
    with pytest.raises(NotImplementedError) as raised:
        convert(data)
    assert (type(raised.value), str(raised.value)) == (NotImplementedError, "not implemented")


@pytest.mark.parametrize("text, kind", [
    ("POINT EMPTY", "Point"),
    ("POINT ZM EMPTY", "Point"),
    ("LINESTRING EMPTY", "LineString"),
    ("POLYGON EMPTY", "Polygon"),
    ("MULTIPOINT EMPTY", "MultiPoint"),
    ("MULTILINESTRING EMPTY", "MultiLineString"),
    ("MULTIPOLYGON EMPTY", "MultiPolygon"),
    ("GEOMETRYCOLLECTION EMPTY", "GeometryCollection"),
])
def test_geojson_empties(text, kind):
    assert ordered(wkt_to_geojson_dict(text)) == ordered(geojson(kind, []))


def test_empty_parts():
    assert wkt_to_veltjson_dict("POINT EMPTY") == {"x": None, "spatialReference": {"wkid": 4326}}
    assert wkt_to_geojson_dict("POLYGON (EMPTY)")["coordinates"] == [[]]
    assert wkt_to_geojson_dict("MULTILINESTRING ((0 0, 1 1), EMPTY)")["coordinates"] == [[(0.0, 0.0), (1.0, 1.0)], []]


@pytest.mark.parametrize("text", ["LINESTRING EMPTY", "POLYGON EMPTY", "MULTIPOINT EMPTY",
                                  "MULTILINESTRING EMPTY", "MULTIPOLYGON EMPTY", "MULTIPOLYGON (EMPTY)"])
def test_veltjson_needs_a_vertex_to_know_the_dimensions(text):
    with pytest.raises(RuntimeError, match=r"^processing geometry `has_m not initialized`$"):
        wkt_to_veltjson_dict(text)


@pytest.mark.parametrize("dims", DIMS)
@pytest.mark.parametrize("order", ORDERS)
def test_a_wkb_point_of_nan_ordinates_is_empty(dims, order):
    data = wkb("Point", (math.nan,) * (2 + sum(DIMS[dims])), dims, order)
    assert wkb_to_geojson_dict(data)["coordinates"] == []
    assert wkb_to_veltjson_dict(data) == {"x": None, "spatialReference": {"wkid": 4326}}


def test_nan_is_kept_where_not_every_ordinate_is_nan():
    point = wkb_to_veltjson_dict(wkb("Point", (math.nan, math.nan, 5.0), "z"))
    assert math.isnan(point["x"]) and math.isnan(point["y"]) and point["z"] == 5.0
    # members of a multipoint get no emptiness test
    points = wkb_to_geojson_dict(wkb("MultiPoint", [(math.nan, math.nan), (1.0, 2.0)]))["coordinates"]
    assert math.isnan(points[0][0]) and points[1] == (1.0, 2.0)


def test_m_without_z_stands_third_in_geojson():
    assert wkt_to_geojson_dict("POINT M (1 2 3)")["coordinates"] == (1.0, 2.0, 3.0)
    assert wkt_to_geojson_dict("POINT Z (1 2 3)")["coordinates"] == (1.0, 2.0, 3.0)
    assert list(wkt_to_veltjson_dict("POINT M (1 2 3)")) == ["x", "y", "m", "spatialReference"]
    assert list(wkt_to_veltjson_dict("POINT ZM (1 2 3 4)")) == ["x", "y", "z", "m", "spatialReference"]


def test_srids_of_nested_ewkb_headers_are_ignored():
    member = bytes([1]) + struct.pack("<Ii", 0x20000001, 3857) + struct.pack("<dd", 1, 2)
    data = bytes([1]) + struct.pack("<IiI", 0x20000007, 2154, 1) + member
    result = wkb_to_geojson_dict(data)
    assert result["meta"] == {"srid": 2154} and result["geometries"][0]["meta"] == {"srid": 2154}


def test_wkt_number_forms():
    assert wkt_to_geojson_dict("POINT (++1 +-2)")["coordinates"] == (1.0, -2.0)
    x, y = wkt_to_geojson_dict("POINT (-inf +nan)")["coordinates"]
    assert x == -math.inf and math.isnan(y)
    x, y = wkt_to_geojson_dict("POINT (1e400 -1e-400)")["coordinates"]
    assert x == math.inf and y == 0.0 and math.copysign(1.0, y) == -1.0
    assert wkt_to_geojson_dict("POINT (-.5e-3 +.5E+3)")["coordinates"] == (-0.0005, 500.0)
    assert wkt_to_geojson_dict("pointzm(1. .5 +inFinITY 0.1)")["coordinates"] == (1.0, 0.5, math.inf, 0.1)


# The converters write vertices as tuples and the classes read lists: the dictionary itself is
# refused, and its JSON text makes the geometry that the same dictionary with lists makes.
@pytest.mark.parametrize("kind", [k for k in KINDS if k != "Point"])
def test_a_veltjson_dictionary_becomes_a_geometry_through_its_json_text(kind):
    written = wkt_to_veltjson_dict(wkt(kind, sample(kind, "z"), "z"))
    with pytest.raises(TypeError, match=r"^'tuple' object cannot be cast as 'list'$"):
        vg.Geometry(written)
    with_lists = json.loads(json.dumps(written))
    made = vg.Geometry(json.dumps(written))
    from_lists = vg.Geometry(with_lists)
    assert type(made) is type(from_lists) and made.has_z
    assert made.equals(from_lists)
