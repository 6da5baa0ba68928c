"""The lists of vertex tuples the conversions build in one piece: what they hold where they join a
list that already has items, what an untrusted vertex count may cost, and that the cyclic
collector never meets a list whose slots are not yet filled."""
import gc
import struct
import tracemalloc

import pytest

from vornix_geometry.utils import (wkb_to_geojson_dict, wkb_to_veltjson_dict, wkt_to_geojson_dict,
                                   wkt_to_veltjson_dict)
from utils_cases import wkb

TRUNCATED = "I/O error `failed to fill whole buffer`"


def circular(vertices, order="<", code=8):
    return bytes([1 if order == "<" else 0]) + struct.pack(order + "II", code, len(vertices)) + \
        b"".join(struct.pack(order + "d" * len(v), *v) for v in vertices)


def collection(*members):
    return struct.pack("<BII", 1, 7, len(members)) + b"".join(members)


ARC = [(0.0, 0.0), (1.0, 1.0), (2.0, 0.0)]
ARC_Z = [(5.0, 6.0, 7.0), (8.0, 9.0, 10.0)]
POINT = wkb("Point", (3.0, 4.0))


# A curve inside a collection hands its vertices to the collection's own list, after and before
# the members around it.
@pytest.mark.parametrize("members, expected", [
    ([circular(ARC), circular(ARC_Z, ">", 1008)], ARC + ARC_Z),
    ([POINT, circular(ARC)], ["Point"] + ARC),
    ([circular(ARC), POINT, circular(ARC_Z, "<", 1008)], ARC + ["Point"] + ARC_Z),
])
def test_curve_vertices_join_the_collection_in_order(members, expected):
    geometries = wkb_to_geojson_dict(collection(*members))["geometries"]
    assert [g["type"] if isinstance(g, dict) else g for g in geometries] == expected


FALSE_COUNT = 0xFFFFFFFF
ONE_VERTEX = struct.pack("<dd", 1, 2)
FALSE_COUNTS = [
    struct.pack("<BII", 1, 2, FALSE_COUNT) + ONE_VERTEX,
    struct.pack("<BIII", 1, 3, 1, FALSE_COUNT) + ONE_VERTEX,
    struct.pack("<BIIBII", 1, 5, 1, 1, 2, FALSE_COUNT) + ONE_VERTEX,
    struct.pack(">BII", 0, 3002, FALSE_COUNT) + struct.pack(">dddd", 1, 2, 3, 4) * 3,
]
CURVE_IN_COLLECTION = struct.pack("<BIIBII", 1, 7, 1, 1, 8, FALSE_COUNT) + ONE_VERTEX  # no VeltJSON form


# A count that the input cannot hold ends as truncated input, having cost no more memory than the
# input itself.
@pytest.mark.parametrize("convert, data", [(convert, data) for convert in (wkb_to_geojson_dict, wkb_to_veltjson_dict)
                                           for data in FALSE_COUNTS] + [(wkb_to_geojson_dict, CURVE_IN_COLLECTION)])
def test_a_false_vertex_count_costs_nothing(convert, data):
    tracemalloc.start()
    try:
        with pytest.raises(RuntimeError) as raised:
            convert(data)
        peak = tracemalloc.get_traced_memory()[1]
    finally:
        tracemalloc.stop()
    assert str(raised.value) == TRUNCATED
    assert peak < 64 * 1024


LINE = [(float(i), float(i % 7)) for i in range(300)]
RING = LINE + [LINE[0]]


# A collection that runs while a list is being filled (here every ten new tuples) runs the
# callbacks, which can see every tracked object; walking a list with an empty slot would crash.
@pytest.mark.parametrize("convert, data", [
    (wkb_to_geojson_dict, wkb("LineString", LINE)),
    (wkb_to_veltjson_dict, wkb("Polygon", [RING], "xy", ">")),
    (wkt_to_geojson_dict, "LINESTRING (" + ", ".join(f"{x} {y}" for x, y in LINE) + ")"),
    (wkt_to_veltjson_dict, "POLYGON ((" + ", ".join(f"{x} {y}" for x, y in RING) + "))"),
])
def test_the_collector_never_meets_an_unfilled_list(convert, data):
    walks = []

    def walk_young_lists(phase, info):
        if phase == "start":
            for generation in (0, 1):
                for item in gc.get_objects(generation):
                    if type(item) is list:
                        for _ in item:
                            pass
            walks.append(phase)

    threshold = gc.get_threshold()
    gc.collect()
    gc.callbacks.append(walk_young_lists)
    gc.set_threshold(10, 1000, 1000)
    try:
        result = convert(data)
    finally:
        gc.set_threshold(*threshold)
        gc.callbacks.remove(walk_young_lists)
    assert walks
    vertices = result["coordinates"] if "coordinates" in result else result["rings"][0]
    assert len(vertices) == len(LINE if "coordinates" in result else RING)
