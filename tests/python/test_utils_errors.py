"""What reaches Python when a conversion fails: every reader error text with an input that
produces it, the builders' own errors, the nesting cap, and the choice of the WKB reader."""
import struct

import pytest

from vornix_geometry.utils import (wkb_to_geojson_dict, wkb_to_veltjson_dict, wkt_to_geojson_dict,
                                   wkt_to_veltjson_dict)
from utils_cases import sample, wkb

CONVERSIONS = [wkt_to_geojson_dict, wkt_to_veltjson_dict]
WKB_CONVERSIONS = [wkb_to_geojson_dict, wkb_to_veltjson_dict]
TRUNCATED = "I/O error `failed to fill whole buffer`"
TOO_DEEP = "processing geometry `geometry collections nested deeper than the limit of 128 levels`"


def parse_error(message):
    return f"processing geometry `{message}`"


@pytest.mark.parametrize("convert", CONVERSIONS)
@pytest.mark.parametrize("text, message", [
    ("", "Invalid WKT format"),
    ("(1 2)", "Invalid WKT format"),
    ("\0POINT (1 2)", "Invalid WKT format"),
    ("ÄPOINT (1 2)", "Encountered non-ascii word"),
    ("CIRCULARSTRING (0 0, 1 1, 2 0)", "Invalid type encountered"),
    ("SRID=4326;POINT (1 2)", "Invalid type encountered"),
    ("POINT\f(1 2)", "Invalid type encountered"),
    ("LINEARRINGZ (0 0 0)", "Invalid type encountered"),
    ("GEOMETRYCOLLECTION (FOO)", "Invalid type encountered"),
    ("POINT", "End of stream"),
    ("POINT\0(1 2)", "End of stream"),
    ("POINT ZZ (1 2)", "Unexpected word before open paren"),
    ("POINT EMPTYX", "Unexpected word before open paren"),
    ("POINT 1 2", "Missing open parenthesis for type"),
    ("POINT Z", "Missing open parenthesis for type"),
    ("POINT (1 2", "Missing closing parenthesis for type"),
    ("POINT Z (1 2)", "Missing closing parenthesis for type"),
    ("POINT (inf 1)", "Missing closing parenthesis for type"),
    ("LINESTRING (0 0, 1)", "Missing closing parenthesis for type"),
    ("MULTIPOINT (1 2, EMPTY, 3 4)", "Missing closing parenthesis for type"),
    ("GEOMETRYCOLLECTION (POINT (1 2) POINT (3 4))", "Missing closing parenthesis for type"),
    ("POINT (1\0 2)", "Missing closing parenthesis for type"),
    ("MULTIPOINT (EMPTY)", "Expected a number for the X coordinate"),
    ("MULTIPOINT ((1 2), EMPTY)", "Expected a number for the X coordinate"),
    ("GEOMETRYCOLLECTION (1)", "Expected a word in GEOMETRYCOLLECTION"),
    ("POINT (1 2x)", "Unable to parse input number as the desired output type"),
    ("1x", "Unable to parse input number as the desired output type"),
])
def test_wkt_parser_errors(convert, text, message):
    with pytest.raises(RuntimeError) as raised:
        convert(text)
    assert str(raised.value) == parse_error(message)


@pytest.mark.parametrize("text", ["POINT (1 2) trailing junk ((", "POINT (1 2), POINT (3 4)", "POINT (1 2)junk",
                                  "POINT EMPTY (1 2)", "\t\n POINT\r(1 2)"])
def test_wkt_trailing_text_is_ignored(text):
    assert wkt_to_geojson_dict(text)["type"] == "Point"


# The parser's texts for Y, Z and M are reached only behind a missing closing parenthesis, which
# hides them; X shows where a multipoint member starts as a word.
@pytest.mark.parametrize("convert", WKB_CONVERSIONS)
@pytest.mark.parametrize("data, message", [
    (b"", TRUNCATED),
    (b"\x01\x01\x00\x00", TRUNCATED),
    (b"\x01\x01\x00\x00\x20\x00\x00", TRUNCATED),  # EWKB whose SRID is cut
    (struct.pack("<BId", 1, 1, 1.0), TRUNCATED),  # a point without y
    (struct.pack("<BIdd", 1, 99, 1, 2), "geometry format"),
    (struct.pack("<BIdd", 1, 0, 1, 2), "geometry format"),
    (struct.pack("<BIdd", 1, 13, 1, 2), "geometry format"),
    (struct.pack("<BIdd", 1, 18, 1, 2), "geometry format"),
    (struct.pack("<BIdd", 1, 1013, 1, 2), "geometry format"),
    (struct.pack("<BIIBIdd", 1, 9, 1, 1, 1, 1, 2), "geometry format"),  # compound curve holding a point
])
def test_wkb_reader_errors(convert, data, message):
    with pytest.raises(RuntimeError) as raised:
        convert(data)
    assert str(raised.value) == message


@pytest.mark.parametrize("convert", WKB_CONVERSIONS)
@pytest.mark.parametrize("kind", ["LineString", "Polygon", "MultiPoint", "MultiPolygon"])
@pytest.mark.parametrize("dialect, srid", [("iso", None), ("ewkb", 3857)])
def test_wkb_cut_anywhere_is_truncated(convert, kind, dialect, srid):
    data = wkb(kind, sample(kind, "zm"), "zm", ">", dialect, srid)
    for size in range(len(data)):
        with pytest.raises(RuntimeError) as raised:
            convert(data[:size])
        assert str(raised.value) == TRUNCATED, size
    assert convert(data + b"trailing bytes are ignored")


def test_a_false_count_runs_into_the_end():
    with pytest.raises(RuntimeError, match="^I/O error"):
        wkb_to_geojson_dict(struct.pack("<BIIdd", 1, 2, 0xFFFFFFFF, 1, 2))


ISO_POINT_NEAR_THE_FLAGS = 0x1F000000 + 305  # ISO kind 1 (a point), EWKB kind 0x31 (none)


@pytest.mark.parametrize("data, outcome", [
    (struct.pack("<BIdd", 1, 1, 1, 2), 4326),
    (bytes([0]) + struct.pack(">I", 0x20000001) + struct.pack(">idd", 31, 1, 2), 31),
    (bytes([1]) + struct.pack("<I", 0xA0000001) + struct.pack("<iddd", 32, 1, 2, 3), 32),
    (bytes([0]) + struct.pack(">Idd", ISO_POINT_NEAR_THE_FLAGS, 1, 2), 4326),
    # any first byte but 1 has the chooser read the word big-endian (here 0x01000020: ISO),
    # while the reader reads it little-endian (0x20000001: no ISO kind)
    (bytes([2]) + struct.pack("<Iidd", 0x20000001, 33, 1, 2), "geometry format"),
    (bytes([2]) + struct.pack(">Iidd", 0x20000001, 34, 1, 2), "geometry format"),
])
def test_the_first_type_word_chooses_the_reader(data, outcome):
    if isinstance(outcome, int):
        assert wkb_to_geojson_dict(data)["meta"] == {"srid": outcome}
    else:
        with pytest.raises(RuntimeError) as raised:
            wkb_to_geojson_dict(data)
        assert str(raised.value) == outcome


def test_iso_reader_refuses_an_ewkb_member():
    data = struct.pack("<BII", 1, 7, 1) + struct.pack("<BIdd", 1, 0x20000001, 1, 2)
    with pytest.raises(RuntimeError, match="^geometry format$"):
        wkb_to_geojson_dict(data)


def nested(depth, inner="POINT (1 2)"):
    return "GEOMETRYCOLLECTION (" * depth + inner + ")" * depth


def nested_wkb(depth):
    return struct.pack("<BII", 1, 7, 1) * depth + struct.pack("<BIdd", 1, 1, 1, 2)


def test_nesting_of_collections_is_capped():
    deepest = wkt_to_geojson_dict(nested(128))
    for _ in range(128):
        deepest = deepest["geometries"][0]
    assert deepest["type"] == "Point"
    assert wkb_to_geojson_dict(nested_wkb(128))["type"] == "GeometryCollection"
    for convert, data in [(wkt_to_geojson_dict, nested(129)), (wkt_to_geojson_dict, nested(129)[:-1]),
                          (wkt_to_geojson_dict, nested(200_000)), (wkb_to_geojson_dict, nested_wkb(129)),
                          (wkb_to_geojson_dict, nested_wkb(200_000))]:
        with pytest.raises(RuntimeError) as raised:
            convert(data)
        assert str(raised.value) == TOO_DEEP


# ---- errors of the builders ---------------------------------------------------------------------

def test_veltjson_vertices_must_agree_in_dimensions():
    data = struct.pack("<BII", 1, 4, 2) + struct.pack("<BIddd", 1, 1001, 1, 2, 3) + struct.pack("<BIdd", 1, 1, 4, 5)
    with pytest.raises(RuntimeError) as raised:
        wkb_to_veltjson_dict(data)
    assert str(raised.value) == parse_error(
        "Coordinate dimension mismatch: all coordinates in a geometry must either all have or all lack Z and M "
        "values. Previously coordinates: (has_z, has_m) = [true, false], current: (has_z, has_m) = [false, false]")
    assert len(wkb_to_geojson_dict(data)["coordinates"][0]) == 3


def test_veltjson_rings_need_three_distinct_vertices():
    for text in ["POLYGON ((0 0, 1 1, 0 0))", "POLYGON ((0 0, 0 1, 1 1, 0 0), (5 5, 6 6))", "POLYGON (EMPTY)"]:
        with pytest.raises(RuntimeError) as raised:
            wkt_to_veltjson_dict(text)
        expected = "IndexError: list index out of range" if "EMPTY" in text else \
            "RuntimeError: ring must have at least 3 vertices"
        assert str(raised.value) == parse_error(expected), text


CIRCULAR = struct.pack("<BII", 1, 8, 3) + struct.pack("<6d", 0, 0, 1, 1, 2, 0)


@pytest.mark.parametrize("data, geojson_error, veltjson_error", [
    # a vertex, ring or part of a curve or surface kind meets an empty stack at top level
    (CIRCULAR, parse_error("IndexError: empty stack"), parse_error("empty stack")),
    (struct.pack("<BIIBII", 1, 10, 1, 1, 2, 1) + struct.pack("<dd", 1, 2),
     parse_error("IndexError: empty stack"), parse_error("empty stack")),
    (struct.pack("<BIIII", 1, 17, 1, 1, 1) + struct.pack("<dd", 1, 2),
     parse_error("IndexError: empty stack"), parse_error("empty stack")),
    (struct.pack("<BIIBII", 1, 12, 1, 1, 3, 0), parse_error("IndexError: empty stack"), "empty stack"),
    # nothing reported at all
    (struct.pack("<BII", 1, 8, 0), "empty stack", "empty stack"),
    (struct.pack("<BII", 1, 16, 0), "empty stack", "empty stack"),
])
def test_curves_and_surfaces_at_top_level(data, geojson_error, veltjson_error):
    for convert, expected in [(wkb_to_geojson_dict, geojson_error), (wkb_to_veltjson_dict, veltjson_error)]:
        kind = RuntimeError if expected.startswith("processing") else IndexError
        with pytest.raises(kind) as raised:
            convert(data)
        assert str(raised.value) == expected, convert.__name__


def test_curves_in_a_collection_hand_their_vertices_to_it():
    data = struct.pack("<BII", 1, 7, 1) + CIRCULAR
    assert wkb_to_geojson_dict(data)["geometries"] == [(0.0, 0.0), (1.0, 1.0), (2.0, 0.0)]
