"""The utils submodule itself: its registration, signatures and argument errors."""
import inspect
import struct
import sys

import pytest

import vornix_geometry
from vornix_geometry import utils

NAMES = ["is_clockwise", "wkb_to_veltjson_dict", "wkb_to_geojson_dict", "wkt_to_veltjson_dict", "wkt_to_geojson_dict"]


def test_registration():
    assert sys.modules["vornix_geometry.utils"] is utils is vornix_geometry.utils
    assert utils.__name__ == "utils"
    assert utils.__doc__ == "Utility functions for Vornix geometries"
    assert utils.__all__ == NAMES
    from vornix_geometry.utils import wkt_to_geojson_dict  # noqa: F401  (found through sys.modules)


POINT_WKB = struct.pack("<BIdd", 1, 1, 1.0, 2.0)
VELTJSON_POINT = {"x": 1.0, "y": 2.0, "spatialReference": {"wkid": 4326}}
GEOJSON_POINT = {"type": "Point", "coordinates": (1.0, 2.0), "meta": {"srid": 4326},
                 "crs": {"type": "name", "properties": {"name": "EPSG:4326"}}}

# Each function with the parameter its signature names, an argument given by that keyword, and
# the answer; is_clockwise alone has a docstring.
SIGNATURES = [
    ("is_clockwise", "coords", [(0, 0), (0, 1), (1, 0)], True),
    ("wkb_to_veltjson_dict", "wkb", POINT_WKB, VELTJSON_POINT),
    ("wkb_to_geojson_dict", "wkb", POINT_WKB, GEOJSON_POINT),
    ("wkt_to_veltjson_dict", "wkt", "POINT (1 2)", VELTJSON_POINT),
    ("wkt_to_geojson_dict", "wkt", "POINT (1 2)", GEOJSON_POINT),
]


def test_the_table_covers_every_function():
    assert [row[0] for row in SIGNATURES] == NAMES


@pytest.mark.parametrize("name, parameter, argument, expected", SIGNATURES)
def test_signatures_name_the_parameter_that_takes_the_argument(name, parameter, argument, expected):
    function = getattr(utils, name)
    assert str(inspect.signature(function)) == f"({parameter})"
    assert function(**{parameter: argument}) == expected


def test_only_is_clockwise_has_a_docstring():
    assert utils.is_clockwise.__doc__ == ("Returns True if the vertices run clockwise and False if they run "
                                          "counter-clockwise.\n\n`coords` must contain at least three distinct points.")
    assert [name for name in NAMES if getattr(utils, name).__doc__ is not None] == ["is_clockwise"]


@pytest.mark.parametrize("function, argument, message", [
    (utils.wkt_to_geojson_dict, b"POINT (1 2)", "argument 'wkt': 'bytes' object cannot be cast as 'str'"),
    (utils.wkt_to_veltjson_dict, b"POINT (1 2)", "argument 'wkt': 'bytes' object cannot be cast as 'str'"),
    (utils.wkb_to_geojson_dict, bytearray(21), "argument 'wkb': 'bytearray' object cannot be cast as 'bytes'"),
    (utils.wkb_to_veltjson_dict, memoryview(bytes(21)), "argument 'wkb': 'memoryview' object cannot be cast as 'bytes'"),
    (utils.wkb_to_geojson_dict, "POINT (1 2)", "argument 'wkb': 'str' object cannot be cast as 'bytes'"),
    (utils.is_clockwise, 5, "argument 'coords': 'int' object cannot be cast as 'Sequence'"),
    (utils.is_clockwise, {(0, 0): 1}, "argument 'coords': 'dict' object cannot be cast as 'Sequence'"),
])
def test_argument_errors(function, argument, message):
    with pytest.raises(TypeError) as raised:
        function(argument)
    assert str(raised.value) == message


def test_argument_count_errors():
    with pytest.raises(TypeError, match="missing 1 required positional argument: 'wkt'"):
        utils.wkt_to_geojson_dict()
    with pytest.raises(TypeError):
        utils.wkt_to_geojson_dict("POINT (1 2)", "POINT (3 4)")
    with pytest.raises(TypeError, match="unexpected keyword argument 'wkb'"):
        utils.wkt_to_geojson_dict(wkb=b"")


def test_subclasses_of_str_and_bytes_are_accepted():
    class Text(str):
        pass

    class Data(bytes):
        pass

    assert utils.wkt_to_geojson_dict(Text("POINT (1 2)"))["coordinates"] == (1.0, 2.0)
    assert utils.wkb_to_geojson_dict(Data(b"\x01\x01\x00\x00\x00" + bytes(16)))["coordinates"] == (0.0, 0.0)


def test_a_str_that_cannot_be_encoded_raises_the_encoding_error():
    with pytest.raises(UnicodeEncodeError):
        utils.wkt_to_geojson_dict("POINT (1 \ud800)")
