"""A tour of vornix_geometry: build, read, edit, relate, overlay, measure and project geometries."""
import os
import sys

import vornix_geometry as vg
from vornix_geometry import projection, utils


def mapped_engine():
    """The path of the engine library mapped into this process, if any."""
    with open("/proc/self/maps") as maps:
        for line in maps:
            fields = line.split(maxsplit=5)
            if len(fields) == 6 and fields[5].rstrip().endswith("libcorvane.so"):
                return fields[5].rstrip()
    return None


def heading(text):
    print(f"\n== {text}")


print(f"vornix_geometry {vg.__version__} from {vg.__file__}")
engine = mapped_engine()
if engine:
    print(f"  engine loaded at import: {engine}")
else:
    where = os.environ.get("GEOMETRY_LIB_PATH") or "the search beside the interpreter and the build folder"
    print(f"  engine not in sys.prefix ({sys.prefix}); found on first use through {where}")

WEB_MERCATOR = {"wkid": 3857}
WGS84 = {"wkid": 4326}

heading("Geometries from VeltJSON dicts and text")
field = vg.Polygon({"rings": [[[0, 0], [0, 10], [10, 10], [10, 0], [0, 0]],
                              [[2, 2], [4, 2], [4, 4], [2, 4], [2, 2]]],
                    "spatialReference": WEB_MERCATOR})
road = vg.Geometry('{"curvePaths": [[[0, 0], [5, 0], {"c": [[15, 0], [10, 5]]}]],'
                   ' "spatialReference": {"wkid": 3857}}')
wells = vg.MultiPoint({"hasZ": True, "hasM": True, "points": [[1, 2, 30, 0], [5, 6, 35, 10]]})
print(f"  polygon with a hole: {field}")
print(f"  {type(road).__name__} with an arc:  {road} (has_curves {road.has_curves})")
print(f"  points with z and m: {wells}")

heading("Reading and editing through live views")
arc = road.curve_paths[0][2]
print(f"  the arc ends at ({arc.x}, {arc.y}) through ({arc.interior_x}, {arc.interior_y})")
arc.interior_y = -5
print(f"  flipped below the axis: {road}")
field.rings[0][2].x = 12
print(f"  outer corner moved:     {field.rings[0]}")
wells.points.append([9, 9, 40, 20])
print(f"  a well added:           {wells}, last m {wells.points[2].m}")

heading("Relation tests against a square")
square = vg.Polygon({"rings": [[[5, 5], [5, 15], [15, 15], [15, 5]]], "spatialReference": WEB_MERCATOR})
print(f"  intersects {field.intersects(square)}, contains {field.contains(square)},"
      f" relate 'T*T***T**' (overlap) {field.relate(square, 'T*T***T**')}")

heading("Overlays")
for name in ("intersect", "union", "difference"):
    result = getattr(field, name)(square)
    print(f"  {name:10} area {result.area:7.3f}: {result}")

heading("Planar measures (units of the spatial reference)")
print(f"  polygon area {field.area}, perimeter {field.length:.4f}; polyline length {road.length:.4f}")
print(f"  buffer of 10 around a point: area {vg.Point({'x': 0, 'y': 0}).buffer(10).area:.2f}"
      f" (a true circle: {3.141592653589793 * 100:.2f})")

heading("Geodetic measures on WGS 84")
cell = vg.Polygon({"rings": [[[0, 0], [0, 1], [1, 1], [1, 0]]], "spatialReference": WGS84})
km2 = cell.calculate_area(vg.GeodeticCurveType.Geodesic, vg.AreaUnit(vg.AreaUnitId.SquareKilometers))
print(f"  one degree square at the equator: {km2:.3f} km²")
meridian = vg.Polyline({"paths": [[[0, 0], [0, 1]]], "spatialReference": WGS84})
print(f"  one degree of meridian: {meridian.calculate_length(vg.GeodeticCurveType.Geodesic):.3f} m")
ring = vg.Point({"x": 0, "y": 60, "spatialReference": WGS84}).buffer(
    100, vg.LinearUnitId.Kilometers, 0, vg.GeodeticCurveType.Geodesic)
ring_km2 = ring.calculate_area(vg.GeodeticCurveType.Geodesic, vg.AreaUnitId.SquareKilometers)
print(f"  100 km geodetic buffer at 60°N: {ring_km2:.1f} km² (π·100² = {3.141592653589793 * 1e4:.1f})")

heading("Projection")
gate = vg.Point({"x": 13.3777, "y": 52.5163, "spatialReference": WGS84})
print(f"  EPSG:4326  {gate}")
print(f"  EPSG:3857  {gate.project(WEB_MERCATOR)}")
print(f"  UTM 33N    {gate.project({'wkid': 32633})}")
transformations = projection.get_transformations({"wkid": 4267}, WGS84)
print(f"  {len(transformations)} datum transformations from NAD27 (4267) to WGS 84, first three:")
for transformation in transformations[:3]:
    print(f"    {transformation.name}")
nad27 = vg.Point({"x": -100, "y": 40, "spatialReference": {"wkid": 4267}})
print(f"  with the first: {nad27.project_with_transformation(WGS84, transformations[0])}")

heading("A collection function over a generator")
squares = (vg.Polygon({"rings": [[[0, 0], [0, side], [side, side], [side, 0]]]}) for side in range(1, 4))
print(f"  area_collection of squares of side 1, 2, 3: {vg.area_collection(squares)}")

heading("Conversions of the utils submodule")
wkt = "POLYGON Z ((0 0 1, 0 10 1, 10 10 2, 10 0 2, 0 0 1))"
print(f"  {wkt}")
print(f"    GeoJSON:  {utils.wkt_to_geojson_dict(wkt)}")
print(f"    VeltJSON: {utils.wkt_to_veltjson_dict(wkt)}")
ewkb = bytes.fromhex("0101000020E6100000000000000000F03F0000000000000040")
print(f"  EWKB {ewkb.hex()}")
print(f"    GeoJSON:  {utils.wkb_to_geojson_dict(ewkb)}")
outer = utils.wkt_to_geojson_dict(wkt)["coordinates"][0]
print(f"  its ring runs clockwise: {utils.is_clockwise(outer)}")
