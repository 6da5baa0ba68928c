"""Answers checked against peers users trust: relation tests, relate matrices, overlay measures,
distance, buffer and convex hull against shapely; geodetic measures, densify and buffer against
pyproj's Geod and GeographicLib's RhumbSolve; projection against pyproj's Transformer."""
import itertools
import json
import math
import shutil
import subprocess

import pyproj
import pytest
import shapely.wkt as shapely_wkt
from shapely.geometry import LineString, Polygon

import vornix_geometry as vg

GEOD = pyproj.Geod(ellps="WGS84")
G = vg.GeodeticCurveType.Geodesic

# Points, lines, polygons with holes, multiparts; touching, overlapping, disjoint and nested.
WKT = {
    "point_in": "POINT (2 2)",
    "point_on_edge": "POINT (10 5)",
    "point_out": "POINT (30 30)",
    "multipoint": "MULTIPOINT ((1 1), (12 12))",
    "diagonal": "LINESTRING (0 0, 10 10)",
    "crossing": "LINESTRING (-5 5, 15 5)",
    "edge_line": "LINESTRING (10 0, 10 10)",
    "multiline": "MULTILINESTRING ((0 20, 5 25), (2 2, 3 3))",
    "holed": "POLYGON ((0 0, 10 0, 10 10, 0 10, 0 0), (4 4, 6 4, 6 6, 4 6, 4 4))",
    "overlapping": "POLYGON ((5 5, 15 5, 15 15, 5 15, 5 5))",
    "touching": "POLYGON ((10 0, 20 0, 20 10, 10 10, 10 0))",
    "inner": "POLYGON ((1 1, 3 1, 3 3, 1 3, 1 1))",
    "in_hole": "POLYGON ((4.5 4.5, 5.5 4.5, 5.5 5.5, 4.5 5.5, 4.5 4.5))",
    "disjoint": "POLYGON ((30 0, 40 0, 40 10, 30 10, 30 0))",
    "multipolygon": "MULTIPOLYGON (((0 0, 2 0, 2 2, 0 2, 0 0)), ((8 8, 12 8, 12 12, 8 12, 8 8)))",
}
EMPTIES = {"empty_polygon": ({"rings": []}, Polygon()), "empty_line": ({"paths": []}, LineString())}


def ours(wkt):
    # The builder writes tuples; the classes read lists, as json.loads gives them.
    return vg.Geometry(json.loads(json.dumps(vg.utils.wkt_to_veltjson_dict(wkt))))


CASES = {name: (ours(w), shapely_wkt.loads(w)) for name, w in WKT.items()}
PAIRS = list(itertools.product(CASES, repeat=2))
PREDICATES = ["contains", "crosses", "disjoint", "intersects", "overlaps", "touches", "within"]


@pytest.mark.parametrize("a,b", PAIRS)
def test_relations_agree_with_shapely(a, b):
    (ga, sa), (gb, sb) = CASES[a], CASES[b]
    assert {p: getattr(ga, p)(gb) for p in PREDICATES} == {p: getattr(sa, p)(sb) for p in PREDICATES}
    assert ga.equals(gb) is (sa.geom_type == sb.geom_type and sa.equals(sb))
    matrix = sa.relate(sb)
    assert ga.relate(gb, matrix) is True
    # One cell changed to another dimension must fail.
    wrong = "F" if matrix[0] != "F" else "2"
    assert ga.relate(gb, wrong + matrix[1:]) is False


def measure(geometry):
    return geometry.area if geometry.geom_type.endswith("Polygon") else geometry.length


def our_measure(geometry):
    return geometry.area if type(geometry) is vg.Polygon else geometry.length


OVERLAYS = [("intersect", "intersection"), ("union", "union"), ("difference", "difference"),
            ("symmetric_difference", "symmetric_difference")]
AREAL = [n for n in CASES if CASES[n][1].geom_type.endswith("Polygon")]
LINEAR = [n for n in CASES if CASES[n][1].geom_type.endswith("LineString")]


@pytest.mark.parametrize("a,b", list(itertools.product(AREAL, repeat=2)) + list(itertools.product(LINEAR, AREAL)))
def test_overlay_measures_agree_with_shapely(a, b):
    (ga, sa), (gb, sb) = CASES[a], CASES[b]
    for ours_name, theirs_name in OVERLAYS:
        if theirs_name != "intersection" and a in LINEAR:
            continue
        # The result keeps the lower dimension: areas for two areas, lengths for a line and an area.
        theirs = getattr(sa, theirs_name)(sb)
        expected = theirs.area if a in AREAL else theirs.length
        assert our_measure(getattr(ga, ours_name)(gb)) == pytest.approx(expected, rel=1e-9, abs=1e-9), ours_name


@pytest.mark.parametrize("a,b", PAIRS)
def test_distance_agrees_with_shapely(a, b):
    (ga, sa), (gb, sb) = CASES[a], CASES[b]
    assert ga.distance_to(gb) == pytest.approx(sa.distance(sb), rel=1e-12, abs=1e-12)


@pytest.mark.parametrize("name", CASES)
@pytest.mark.parametrize("distance", [0.5, 3.0])
def test_buffer_and_hull_agree_with_shapely(name, distance):
    g, s = CASES[name]
    # The engine draws 18 chords per quarter circle.
    assert g.buffer(distance).area == pytest.approx(s.buffer(distance, resolution=18).area, rel=1e-4)
    hull, expected = g.convex_hull(), s.convex_hull
    assert our_measure(hull) == pytest.approx(measure(expected), rel=1e-12)


@pytest.mark.parametrize("name", EMPTIES)
def test_empties_agree_with_shapely(name):
    d, s = EMPTIES[name]
    g = vg.Geometry(d)
    other, shapely_other = CASES["holed"]
    assert {p: getattr(g, p)(other) for p in PREDICATES} == {p: getattr(s, p)(shapely_other) for p in PREDICATES}
    assert g.area in (0.0, None) and g.length == 0.0
    assert math.isnan(g.distance_to(other))
    assert other.intersect(g).is_empty
    if type(g) is vg.Polygon:
        assert other.union(g).area == pytest.approx(shapely_other.area)


# Geodesy on WGS84 against Geod, to 1e-9 relative. Polygons as lists of rings in lon/lat, the
# exterior first and clockwise on the ellipsoid, holes counter-clockwise, as this module keeps them.
GEODETIC = {
    "degree": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]],
    "holed": [[[-10, 40], [-10, 60], [20, 60], [20, 40], [-10, 40]], [[0, 45], [5, 45], [5, 50], [0, 50], [0, 45]]],
    "antimeridian": [[[170, -10], [170, 10], [-170, 10], [-170, -10], [170, -10]]],
    "polar_cap": [[[0, 80], [-120, 80], [-240, 80], [0, 80]]],
    "two_parts": [[[0, 0], [0, 1], [1, 1], [0, 0]], [[10, 10], [10, 12], [12, 12], [10, 10]]],
}


def geod_area_perimeter(rings):
    area = perimeter = 0.0
    for ring in rings:
        lons, lats = zip(*ring)
        signed, length = GEOD.polygon_area_perimeter(lons, lats)
        area -= signed  # Geod counts counter-clockwise rings positive
        perimeter += length
    return area, perimeter


@pytest.mark.parametrize("name", GEODETIC)
def test_geodetic_area_and_perimeter_agree_with_geod(name):
    rings = GEODETIC[name]
    g = vg.Geometry({"rings": rings, "spatialReference": {"wkid": 4326}})
    area, perimeter = geod_area_perimeter(rings)
    assert g.calculate_area(G) == pytest.approx(area, rel=1e-9)
    assert g.calculate_area(G, vg.AreaUnitId.SquareKilometers) == pytest.approx(area / 1e6, rel=1e-9)
    assert g.boundary().calculate_length(G) == pytest.approx(perimeter, rel=1e-9)


# Squares from about a square millimetre to about 1e13 m2, at a latitude where a degree of longitude
# and of latitude differ, wound either way: every digit GeographicLib gives, whichever side the
# region lies on as the ring runs.
@pytest.mark.parametrize("side", [1e-8, 1e-6, 1e-4, 0.01, 1.0, 30.0])
@pytest.mark.parametrize("clockwise", [True, False])
def test_geodetic_area_keeps_geods_precision_at_every_size(side, clockwise):
    lon, lat = 12.345678901234, 47.123456789012
    ring = [[lon, lat], [lon, lat + side], [lon + side, lat + side], [lon + side, lat], [lon, lat]]
    ring = ring if clockwise else ring[::-1]
    lons, lats = zip(*ring)
    expected = abs(GEOD.polygon_area_perimeter(lons, lats)[0])
    g = vg.Geometry({"rings": [ring], "spatialReference": {"wkid": 4326}})
    assert g.calculate_area(G) == pytest.approx(expected, rel=1e-12)


GEODETIC_LINES = [
    "LINESTRING (0 0, 90 0)",
    "LINESTRING (-74 40.7, 2.35 48.85, 139.7 35.7)",
    "MULTILINESTRING ((0 0, 0 89), (179 0, -179 1))",
]


@pytest.mark.parametrize("wkt", GEODETIC_LINES)
def test_geodetic_length_agrees_with_geod(wkt):
    g, s = ours(wkt), shapely_wkt.loads(wkt)
    assert g.calculate_length(G) == pytest.approx(GEOD.geometry_length(s), rel=1e-9)
    assert g.calculate_length(G, vg.LinearUnitId.Kilometers) == pytest.approx(GEOD.geometry_length(s) / 1000, rel=1e-9)


@pytest.mark.parametrize("wkt", GEODETIC_LINES)
@pytest.mark.parametrize("step", [50_000.0, 1_000_000.0])
def test_geodetic_densify_puts_vertices_on_the_geodesic(wkt, step):
    g = ours(wkt)
    dense = g.densify(step, vg.LinearUnitId.Meters, G)
    assert dense.calculate_length(G) == pytest.approx(g.calculate_length(G), rel=1e-9)
    for original, path in zip(json.loads(str(g))["paths"], json.loads(str(dense))["paths"]):
        assert path[0] == original[0] and path[-1] == original[-1]
        for (x0, y0), (x1, y1) in zip(path, path[1:]):
            assert GEOD.inv(x0, y0, x1, y1)[2] <= step * (1 + 1e-9)
        # Each new vertex lies on the geodesic between the original vertices around it.
        for (x0, y0), (x1, y1) in zip(original, original[1:]):
            inside = [v for v in path if v not in original and min(x0, x1) - 1e-9 <= v[0] <= max(x0, x1) + 1e-9]
            total = GEOD.inv(x0, y0, x1, y1)[2]
            for vx, vy in inside[:5]:
                legs = GEOD.inv(x0, y0, vx, vy)[2] + GEOD.inv(vx, vy, x1, y1)[2]
                assert legs == pytest.approx(total, rel=1e-9)


@pytest.mark.parametrize("lon,lat,distance", [(10.0, 50.0, 1000.0), (-70.0, -33.0, 250_000.0), (0.0, 85.0, 50_000.0)])
def test_geodetic_buffer_of_a_point_lies_at_the_distance(lon, lat, distance):
    p = vg.Geometry({"x": lon, "y": lat, "spatialReference": {"wkid": 4326}})
    deviation = distance * 1e-4
    ring = json.loads(str(p.buffer(distance, vg.LinearUnitId.Meters, deviation, G)))["rings"][0]
    for x, y in ring:
        assert GEOD.inv(lon, lat, x, y)[2] == pytest.approx(distance, abs=deviation)


@pytest.mark.parametrize("distance", [50_000.0, -50_000.0])
def test_geodetic_buffer_of_a_gently_turning_ring_follows_it_at_the_distance(distance):
    # A 400-gon on a circle of 100 km turns a little at every vertex: the buffer's joints there
    # must leave no notch, every vertex and edge midpoint of the outline at 100 km ± the distance.
    lon, lat, radius, deviation = 10.0, 50.0, 100_000.0, 100.0
    circle = [list(GEOD.fwd(lon, lat, 360.0 * k / 400, radius)[:2]) for k in range(400)]
    polygon = vg.Polygon({"rings": [circle[::-1] + [circle[-1]]], "spatialReference": {"wkid": 4326}})
    rings = json.loads(str(polygon.buffer(distance, vg.LinearUnitId.Meters, deviation, G)))["rings"]
    assert len(rings) == 1
    ring = rings[0]
    midpoints = [((a[0] + b[0]) / 2, (a[1] + b[1]) / 2) for a, b in zip(ring, ring[1:] + ring[:1])]
    sagitta = radius * (1 - math.cos(math.pi / 400))
    for x, y in ring + midpoints:
        assert GEOD.inv(lon, lat, x, y)[2] == pytest.approx(radius + distance, abs=deviation + sagitta)


# The ellipsoid's whole area, in closed form.
E = math.sqrt(GEOD.es)
ELLIPSOID_AREA = 2 * math.pi * GEOD.a**2 * (1 + (1 - GEOD.es) / E * math.atanh(E))


@pytest.mark.parametrize("lon,lat,distance", [(0.0, 45.0, 14e6), (0.0, 0.0, 10.01e6), (0.0, 0.0, 11e6), (100.0, -20.0, 12e6)])
def test_geodetic_buffers_over_the_poles_hold_their_centre(lon, lat, distance):
    centre = vg.Geometry({"x": lon, "y": lat, "spatialReference": {"wkid": 4326}})
    antipode = vg.Geometry({"x": lon - 180 if lon > 0 else lon + 180, "y": -lat, "spatialReference": {"wkid": 4326}})
    deviation = 100.0
    buffer = centre.buffer(distance, vg.LinearUnitId.Meters, deviation, G)
    assert buffer.contains(centre) and not buffer.contains(antipode) and buffer.is_simple()
    # Geod's circle, its points in the order of growing azimuth: clockwise round the centre, which
    # lies on their right. Geod signs the region on the left, reduced into (-A/2, A/2].
    n = 3600
    lons, lats, _ = GEOD.fwd([lon] * n, [lat] * n, [360.0 * i / n for i in range(n)], [distance] * n)
    signed, _ = GEOD.polygon_area_perimeter(lons, lats)
    expected = -signed % ELLIPSOID_AREA
    assert buffer.calculate_area(G) == pytest.approx(expected, abs=2 * math.pi * GEOD.a * deviation)


@pytest.mark.parametrize("path,distance,curve", [
    ([[0, 0], [10, 0]], 1e6, "Geodesic"),
    ([[10, 10], [20, 20], [10, 30], [30, 10]], 1e5, "Loxodrome"),
    ([[10, 10], [20, 20], [10, 30], [30, 10]], 1e5, "Geodesic"),
    ([[10, 10], [20, 20], [10, 30], [30, 10]], 1e3, "Loxodrome"),
    # Crumbs of the union a tenth of a millimetre across, far within the deviation of 1 m.
    ([[-26.0413, -55.9639], [-11.5451, -47.0259], [-36.8299, -62.3641], [-38.0771, -47.8387], [-31.2163, -63.7343],
      [-12.4497, -50.4352]], 1e3, "Loxodrome"),
])
def test_geodetic_buffers_of_lines_hold_no_zero_area_rings(path, distance, curve):
    line = vg.Geometry({"paths": [path], "spatialReference": {"wkid": 4326}})
    buffer = line.buffer(distance, vg.LinearUnitId.Meters, 0.0, getattr(vg.GeodeticCurveType, curve))
    assert buffer.is_simple()
    assert all(Polygon(ring).area > 0 for ring in json.loads(str(buffer))["rings"])


def rhumb_length(points):
    solver = shutil.which("RhumbSolve")
    assert solver is not None, "RhumbSolve (geographiclib-tools) is not installed: run scripts/install-deps"
    lines = "".join(f"{y0} {x0} {y1} {x1}\n" for (x0, y0), (x1, y1) in zip(points, points[1:]))
    out = subprocess.run([solver, "-i", "-p", "9"], input=lines, capture_output=True, text=True, check=True).stdout
    return sum(float(line.split()[1]) for line in out.splitlines())


@pytest.mark.parametrize("points", [[(0, 0), (90, 45)], [(-74, 40.7), (2.35, 48.85), (139.7, 35.7)]])
def test_loxodrome_length_agrees_with_rhumbsolve(points):
    g = vg.Geometry({"paths": [[list(p) for p in points]], "spatialReference": {"wkid": 4326}})
    assert g.calculate_length(vg.GeodeticCurveType.Loxodrome) == pytest.approx(rhumb_length(points), rel=1e-9)


@pytest.mark.parametrize("lat,lon0,lon1", [(-89.99, 0.0, 180.0), (89.9, 170.0, -170.0), (60.0, -10.0, 100.0)])
def test_shape_preserving_along_a_parallel_agrees_with_rhumbsolve(lat, lon0, lon1):
    # A straight line of longitude and latitude along a parallel is the loxodrome, even near a pole;
    # RhumbSolve measures it in pieces of less than half a turn (the second runs the long way, 340°).
    g = vg.Geometry({"paths": [[[lon0, lat], [lon1, lat]]], "spatialReference": {"wkid": 4326}})
    pieces = [(lon0 + (lon1 - lon0) * k / 4, lat) for k in range(5)]
    assert g.calculate_length(vg.GeodeticCurveType.ShapePreserving) == pytest.approx(rhumb_length(pieces), rel=1e-8)


# (source wkid, target wkid, points in the source's axis order x/lon first)
PROJECTIONS = [
    (4326, 3857, [(0, 0), (13.4, 52.5), (-122.4, 37.8), (179.9, -60)]),
    (3857, 4326, [(1491681.0, 6893740.0), (-13627361.0, 4544761.0)]),
    (4326, 32632, [(9.0, 48.0), (7.5, 53.5), (11.9, 45.1)]),
    (32632, 4326, [(500000.0, 5316000.0), (400000.0, 5900000.0)]),
    (4326, 27700, [(-0.1276, 51.5072), (-3.19, 55.95)]),
    (4326, 31467, [(9.0, 48.0), (10.5, 52.3), (7.2, 50.1)]),
]


@pytest.mark.parametrize("source,target,points", PROJECTIONS)
def test_project_agrees_with_transformer(source, target, points):
    transformer = pyproj.Transformer.from_crs(source, target, always_xy=True)
    g = vg.Geometry({"points": [list(p) for p in points], "spatialReference": {"wkid": source}})
    projected = g.project({"wkid": target})
    assert type(projected) is vg.MultiPoint
    d = json.loads(str(projected))
    assert d["spatialReference"]["wkid"] == target
    for (x, y), (px, py) in zip(points, d["points"]):
        ex, ey = transformer.transform(x, y)
        tolerance = 1e-8 if target == 4326 else 1e-3  # 1 mm, or about 1 mm in degrees
        assert (px, py) == (pytest.approx(ex, abs=tolerance), pytest.approx(ey, abs=tolerance))


def test_project_keeps_the_class_and_curves():
    arc = vg.Geometry({"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}]], "spatialReference": {"wkid": 4326}})
    projected = arc.project({"wkid": 3857})
    assert type(projected) is vg.Polyline
    assert projected.length == pytest.approx(math.pi * 111319.49, rel=1e-2)
    polygon = ours(WKT["holed"]).project(vg.SpatialReference({"wkid": 3857}))
    assert type(polygon) is vg.Polygon
