"""A tour of vornix_geometry: geometries, live views, relations, overlays, measures, projection
and the format conversions."""
import vornix_geometry as vg
from vornix_geometry import projection, utils


def section(title):
    print(f"\n== {title}")


print(f"vornix_geometry {vg.__version__}: {len(vg.__all__)} public names")

section("Geometries from VeltJSON dictionaries and text")
wgs84 = {"wkid": 4326}
field = vg.Geometry({"rings": [[[0, 0], [0, 10], [10, 10], [10, 0], [0, 0]],
                               [[2, 2], [4, 2], [4, 4], [2, 4], [2, 2]]],
                     "spatialReference": wgs84})
road = vg.Polyline({"curvePaths": [[[-5, 5], [0, 5], {"c": [[10, 5], [5, 10]]}, [15, 5]]],
                    "spatialReference": wgs84})
well = vg.Point({"x": 6, "y": 3, "z": 12.5, "m": 1, "spatialReference": wgs84})
print(f"  {type(field).__name__}: {field}")
print(f"  {type(road).__name__} (has curves: {road.has_curves}): {road}")
print(f"  {type(well).__name__}: {well}")
text = '{"x": 1.5, "y": -2}'
print(f"  from text {text}: {vg.Geometry(text)}")

section("Live views")
ring = field.rings[0]
print(f"  the field's first ring has {len(ring)} vertices; vertex 1 is ({ring[1].x}, {ring[1].y})")
ring[1] = [0, 12]
print(f"  after ring[1] = [0, 12] the field reads {field}")
ring[1] = [0, 10]

section("Relation tests")
print(f"  field contains well: {field.contains(well)}")
print(f"  road crosses field:  {road.crosses(field)}")
print(f"  field / road relate 'T********': {field.relate(road, 'T********')}")

section("Overlays")
square = vg.Polygon({"rings": [[[5, 5], [5, 15], [15, 15], [15, 5], [5, 5]]], "spatialReference": wgs84})
print(f"  intersect:  {field.intersect(square)}")
print(f"  union area: {field.union(square).area:.1f}")
print(f"  difference area: {field.difference(square).area:.1f}")

section("Measures")
print(f"  planar area {field.area:.1f} square degrees, road length {road.length:.3f} degrees")
geodesic = vg.GeodeticCurveType.Geodesic
print(f"  geodetic area {field.calculate_area(geodesic, vg.AreaUnitId.SquareKilometers):,.1f} km2")
print(f"  geodetic length of the road {road.calculate_length(geodesic):,.0f} m")
print(f"  a 1 km geodetic buffer of the well covers "
      f"{well.buffer(1000.0, vg.LinearUnitId.Meters, 1.0, geodesic).calculate_area(geodesic):,.0f} m2")

section("Projection")
mercator = field.project({"wkid": 3857})
utm = well.project({"wkid": 32631})
print(f"  field in web mercator: extent {mercator.extent}")
print(f"  well in UTM zone 31N: x={utm.x:.2f} y={utm.y:.2f}")
choices = projection.get_transformations({"wkid": 4267}, {"wkid": 4326})
print(f"  NAD27 -> WGS84: {len(choices)} transformations, first {choices[0].name!r}" if choices
      else "  NAD27 -> WGS84: no transformation")

section("Collections over any iterable")
squares = (vg.Polygon({"rings": [[[0, 0], [0, k], [k, k], [k, 0], [0, 0]]]}) for k in range(1, 6))
print(f"  total area of a generator of five squares: {vg.area_collection(squares)}")

section("Format conversions")
wkt = "POLYGON Z ((0 0 1, 0 10 1, 10 10 2, 10 0 2, 0 0 1))"
print(f"  {wkt}")
print(f"    GeoJSON:  {utils.wkt_to_geojson_dict(wkt)}")
print(f"    VeltJSON: {utils.wkt_to_veltjson_dict(wkt)}")
ewkb = bytes.fromhex("0101000020E6100000000000000000F03F0000000000000040")
print(f"  EWKB {ewkb.hex()}: {utils.wkb_to_geojson_dict(ewkb)}")
ring = utils.wkt_to_geojson_dict(wkt)["coordinates"][0]
print(f"  that ring runs clockwise: {utils.is_clockwise(ring)}")
