"""Geodetic areas of the rings real data has: slivers and strips whose edges bow past their
vertices, holes across the antimeridian however their longitudes are written, rings from square
millimetres to past half the ellipsoid. Against pyproj.Geod (geodesics), GeographicLib's Planimeter
(rhumb lines) and shapely (the plane's reading of the rings)."""
import math
import subprocess

import pytest
import shapely.geometry
from pyproj import Geod, Transformer

import vornix_geometry as vg

GEOD = Geod(ellps="WGS84")
WHOLE = 510065621724088.44  # WGS84's area, m²
CURVES = vg.GeodeticCurveType
TO_MERCATOR = Transformer.from_crs(4326, 3857, always_xy=True)


def mercator(ring):
    xs, ys = TO_MERCATOR.transform([p[0] for p in ring], [p[1] for p in ring])
    # Longitudes past 180 keep running on in x, as they were written.
    return [[x + 2 * math.pi * 6378137 * round((p[0] - math.remainder(p[0], 360)) / 360), y]
            for x, y, p in zip(xs, ys, ring)]


def area(rings, wkid, curve):
    own = [mercator(r) if wkid == 3857 else r for r in rings]
    polygon = vg.Polygon({"rings": own, "spatialReference": {"wkid": wkid}})
    return polygon.calculate_area(curve)


def geodesic_region(ring):
    """pyproj's area of the region the ring draws (its sign says only which way the ring runs)."""
    lons, lats = zip(*ring)
    return abs(GEOD.polygon_area_perimeter(lons, lats)[0])


def rhumb_region(ring):
    """Planimeter's rhumb-line area, to 1e-5 m² (the most it prints)."""
    lines = "".join(f"{lat!r} {lon!r}\n" for lon, lat in ring)
    out = subprocess.run(["Planimeter", "-R", "-p", "10"], input=lines, capture_output=True, text=True, check=True)
    return abs(float(out.stdout.split()[2]))


def peer(rings, curve):
    """The shell's region less its holes' by the peer of the curve type."""
    measure = rhumb_region if curve == CURVES.Loxodrome else geodesic_region
    return measure(rings[0]) - sum(measure(h) for h in rings[1:])


def reversed_rings(rings):
    return [r[::-1] for r in rings]


def stepped_strip(lon, lat, length, height, steps):
    """A strip along a parallel, its north side in steps: each step's geodesic bows poleward less
    than the long south side's does, so on the ellipsoid the strip winds the other way."""
    ring = [[lon, lat], [lon + length, lat]]
    for k in range(steps, 0, -1):
        y = lat + height * (1.5 if k % 2 else 1)
        ring += [[lon + length * k / steps, y], [lon + length * (k - 1) / steps, y]]
    return ring + [[lon, lat]]


def sliver(lon, lat, length_m, azimuth, offset):
    """A triangle on a geodesic of the given length, its apex moved off the middle by `offset` degrees."""
    lon2, lat2, _ = GEOD.fwd(lon, lat, azimuth, length_m)
    lon2 = lon + math.remainder(lon2 - lon, 360)  # written running on across the antimeridian
    return [[lon, lat], [lon2, lat2], [(lon + lon2) / 2 + offset, (lat + lat2) / 2 - offset], [lon, lat]]


def straight_in_lonlat(ring):
    """The ring with its edges followed in longitude and latitude by pieces of at most 100 m."""
    dense = []
    for a, b in zip(ring, ring[1:]):
        n = max(1, math.ceil(GEOD.line_length([a[0], b[0]], [a[1], b[1]]) / 100))
        dense += [[a[0] + (b[0] - a[0]) * k / n, a[1] + (b[1] - a[1]) * k / n] for k in range(n)]
    return dense + [ring[0]]


# Small rings, one ring each, drawn in longitude and latitude.
SMALL = {
    "sliver on a parallel": [[0, 60], [10, 60], [5, 60.05], [0, 60]],
    "sliver of 100 m": sliver(12.3456789012, 47.8901234567, 100, 63.3, 1e-7),
    "sliver of 35 km": sliver(-122.4194155, 37.7749295, 35000, 101.7, -3e-7),
    "sliver of 35 km across the antimeridian": sliver(179.9, -16.5, 35000, 80.0, 4e-7),
    "stepped strip": stepped_strip(20.123, 40.456, 25, 0.002, 5),
    "stepped strip in the south": stepped_strip(-70.5, -52.25, 12, 0.001, 8),
    "square millimetre": [[10, 45], [10, 45 + 1e-8], [10 + 1.4e-8, 45 + 1e-8], [10 + 1.4e-8, 45], [10, 45]],
    "triangle under 1e-5 m²": [[10, 45], [10, 45 + 1e-10], [10 + 1e-10, 45 + 1e-10], [10, 45]],
}


@pytest.mark.parametrize("wkid", [4326, 3857])
@pytest.mark.parametrize("name", SMALL)
def test_small_rings_hold_the_region_they_draw(name, wkid):
    """Geodesics and rhumb lines against their peers; the plane sections near the geodesic region
    (a great ellipse parts from the geodesic by metres over 1,000 km); ShapePreserving edges, straight
    in the reference's own coordinates, near their peer: rhumb lines in Web Mercator, pieces of 100 m
    in longitude and latitude. None of them the rest of the earth, in either winding."""
    ring = SMALL[name]
    if wkid == 3857:  # the peers measure the ring projected back, as the engine does
        back = Transformer.from_crs(3857, 4326, always_xy=True)
        ring = [list(back.transform(*p)) for p in mercator(ring)]
    geodesic, rhumb = geodesic_region(ring), rhumb_region(ring)
    # The engine follows the plane sections and straight lines by geodesic pieces up to 1 km long,
    # which part from the true line by up to a few millimetres: a band along the perimeter (and
    # GeographicLib's own rounding, 1e-5 m²).
    band = max(5e-3 * GEOD.polygon_area_perimeter(*zip(*ring))[1], 1e-5)
    straight = rhumb if wkid == 3857 else geodesic_region(straight_in_lonlat(ring))
    for written in ([SMALL[name]], reversed_rings([SMALL[name]])):
        assert area(written, wkid, CURVES.Geodesic) == pytest.approx(geodesic, rel=1e-9, abs=1e-9)
        assert area(written, wkid, CURVES.Loxodrome) == pytest.approx(rhumb, rel=1e-9, abs=1e-5)
        for curve, peer_area, rel in ((CURVES.GreatElliptic, geodesic, 1e-2), (CURVES.NormalSection, geodesic, 1e-2),
                                      (CURVES.ShapePreserving, straight, 1e-3)):
            got = area(written, wkid, curve)
            assert got < WHOLE / 2
            assert got == pytest.approx(peer_area, rel=rel, abs=band)


SHELL = [[179, 0], [179, 2], [181, 2], [181, 0], [179, 0]]
HOLE = [[179.5, 0.5], [180.5, 0.5], [180.5, 1.5], [179.5, 1.5], [179.5, 0.5]]
FAR_SHELL = [[170.25, -45.5], [170.25, -30.125], [195.75, -30.125], [195.75, -45.5], [170.25, -45.5]]
FAR_HOLE = [[172.1234567, -44.9], [193.9876543, -44.9], [193.9876543, -31.0], [172.1234567, -31.0],
            [172.1234567, -44.9]]


def wrapped(ring):
    return [[math.remainder(lon, 360), lat] for lon, lat in ring]


# Holes across the antimeridian: the same rings written running on past 180 or wrapped into
# [-180, 180], either ring or both; and a hole made of a sliver.
HOLED = {
    "hole across the antimeridian": [SHELL, HOLE],
    "a wide hole across the antimeridian": [FAR_SHELL, FAR_HOLE],
    "sliver as a hole": [[[0, 59], [0, 61], [12, 61], [12, 59], [0, 59]], [[1, 60], [11, 60], [6, 60.05], [1, 60]]],
}
WRITINGS = {
    "unrolled": lambda rings: rings,
    "wrapped": lambda rings: [wrapped(r) for r in rings],
    "shell wrapped": lambda rings: [wrapped(rings[0])] + rings[1:],
    "holes wrapped": lambda rings: rings[:1] + [wrapped(r) for r in rings[1:]],
}


@pytest.mark.parametrize("wkid", [4326, 3857])
@pytest.mark.parametrize("writing", WRITINGS)
@pytest.mark.parametrize("name", HOLED)
def test_holes_keep_their_role_however_their_longitudes_are_written(name, writing, wkid):
    rings = HOLED[name]
    # In the plane, unrolled, the hole lies within its shell: the case is what it says.
    plane = shapely.geometry.Polygon(rings[0], rings[1:])
    assert plane.is_valid and plane.area < shapely.geometry.Polygon(rings[0]).area
    written = WRITINGS[writing](rings)
    for curve in (CURVES.Geodesic, CURVES.Loxodrome):
        expected = peer(rings, curve)
        assert area(written, wkid, curve) == pytest.approx(expected, rel=1e-9, abs=1e-5)
        assert area(reversed_rings(written), wkid, curve) == pytest.approx(expected, rel=1e-9, abs=1e-5)


def test_regions_past_half_the_ellipsoid_keep_their_size():
    # A geodesic buffer of 13,000 km holds about 73% of the ellipsoid: the larger side of the circle.
    centre = vg.Point({"x": 10, "y": 20, "spatialReference": {"wkid": 4326}})
    buffer = centre.buffer(1.3e7, vg.LinearUnitId.Meters, 100.0, CURVES.Geodesic)
    lons, lats, _ = GEOD.fwd([10] * 3600, [20] * 3600, [k / 10 for k in range(3600)], [1.3e7] * 3600)
    cap = WHOLE - abs(GEOD.polygon_area_perimeter(lons, lats)[0])
    assert cap > WHOLE / 2
    assert buffer.calculate_area(CURVES.Geodesic) == pytest.approx(cap, rel=1e-3)
    # The box -170..170 x -75..80 read the short way (20 degrees across the antimeridian).
    box = [[-170, -75], [-170, 80], [170, 80], [170, -75], [-170, -75]]
    for ring in (box, box[::-1]):
        assert area([ring], 4326, CURVES.Loxodrome) == pytest.approx(27632935424515.3, rel=1e-12)
