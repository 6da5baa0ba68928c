"""The module and shapely agree on the vertices of geometries read from WKT (rings in this module's
orientation: exterior clockwise, holes counter-clockwise)."""
import json

import pytest
import shapely.wkt as shapely_wkt
from shapely.geometry.polygon import orient

import vornix_geometry as vg

WKT = [
    "POINT (1.5 -2)",
    "POINT Z (1 2 3)",
    "MULTIPOINT ((0 0), (1e-7 1e21), (-0.5 3))",
    "MULTIPOINT Z ((0 0 1), (2 2 2))",
    "LINESTRING (0 0, 1 1, 2 0.5)",
    "LINESTRING Z (0 0 5, 1 1 6)",
    "MULTILINESTRING ((0 0, 1 1), (2 2, 3 3, 4 2))",
    "POLYGON ((0 0, 0 1, 1 1, 1 0, 0 0))",
    "POLYGON ((0 0, 1 0, 1 1, 0 1, 0 0))",
    "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0), (2 2, 2 4, 4 4, 2 2), (6 6, 8 6, 8 8, 6 6))",
    "POLYGON Z ((0 0 1, 1 0 2, 1 1 3, 0 0 1))",
    "MULTIPOLYGON (((0 0, 1 0, 1 1, 0 0)), ((5 5, 5 6, 6 6, 5 5), (5.2 5.5, 5.4 5.8, 5.4 5.5, 5.2 5.5)))",
]


def shapely_vertices(g):
    kind = g.geom_type
    if kind == "Point":
        return [list(g.coords[0])]
    if kind == "MultiPoint":
        return [list(p.coords[0]) for p in g.geoms]
    if kind == "LineString":
        return [[list(c) for c in g.coords]]
    if kind == "MultiLineString":
        return [[list(c) for c in line.coords] for line in g.geoms]
    polygons = [g] if kind == "Polygon" else list(g.geoms)
    rings = []
    for polygon in polygons:
        oriented = orient(polygon, sign=-1.0)
        rings.append([list(c) for c in oriented.exterior.coords])
        rings.extend([list(c) for c in hole.coords] for hole in oriented.interiors)
    return rings


def module_vertices(g):
    d = json.loads(str(g).replace("NaN", "null"))
    if "x" in d:
        return [[d[k] for k in ("x", "y", "z") if k in d]]
    return d.get("points") or d.get("paths") or d.get("rings")


@pytest.mark.parametrize("wkt", WKT)
def test_vertices_agree_with_shapely(wkt):
    # The dictionary builder writes vertex tuples; the readers take lists, as json.loads gives them.
    d = json.loads(json.dumps(vg.utils.wkt_to_veltjson_dict(wkt)))
    g = vg.Geometry(d)
    assert module_vertices(g) == shapely_vertices(shapely_wkt.loads(wkt))
