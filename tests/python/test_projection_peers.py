"""Projection against pyproj on this machine: the transformation catalog between base geographic
systems, envelopes holding the whole image of their edges, heights through 3D references; and the
grid directory, which may hold anything (run in a fresh interpreter: a hang fails the test)."""

import numpy as np
import pyproj
import pytest
from pyproj.aoi import AreaOfInterest
from pyproj.transformer import TransformerGroup

import vornix_geometry as vg
from test_extreme_numbers import run
from vornix_geometry import projection

# pyproj warns when its best operation lacks a grid; the lists still hold it.
pytestmark = pytest.mark.filterwarnings("ignore:Best transformation is not available")


def crs(reference):
    wkid, vertical = reference if isinstance(reference, tuple) else (reference, None)
    return pyproj.CRS(f"EPSG:{wkid}+{vertical}" if vertical else f"EPSG:{wkid}")


def sr(reference):
    wkid, vertical = reference if isinstance(reference, tuple) else (reference, None)
    return {"wkid": wkid, "vcsWkid": vertical} if vertical else {"wkid": wkid}


def base(reference):
    """pyproj's base geographic system, with the vertical one of a compound reference."""
    c = crs(reference)
    if c.is_compound:
        return pyproj.CRS.from_user_input(f"{c.sub_crs_list[0].geodetic_crs.to_string()}+{c.sub_crs_list[1].to_string()}")
    return c.geodetic_crs


def horizontal(c):
    return c.sub_crs_list[0] if c.is_compound else c


def peer_names(source, target, area=None):
    group = TransformerGroup(base(source), base(target), area_of_interest=area, allow_ballpark=False)
    # PROJ lists the operations whose grids are present first, then the others, each in its order.
    return [t.description for t in group.transformers] + [o.name for o in group.unavailable_operations]


# Projected and geographic references on either side; the list is the one between their bases.
CATALOG_PAIRS = [(32614, 4267), (4326, 4267), (4267, 32614), (3857, 4267), (31467, 4326), (31467, 2056),
                 (2154, 27700), (28992, 3035), ((32632, 5773), 4979), ((4326, 5773), (4326, 3855)),
                 ((32632, 5773), (25832, 7837)), (5972, 4979)]


@pytest.mark.parametrize("source,target", CATALOG_PAIRS, ids=str)
def test_catalog_is_pyprojs_list_between_the_base_geographic_systems(source, target):
    found = projection.get_transformations(sr(source), sr(target))
    assert [t.name for t in found] == peer_names(source, target)
    assert found, "every pair here changes datum"
    bases = {(t.input_spatial_reference.wkid, t.output_spatial_reference.wkid) for t in found}
    assert bases == {(horizontal(base(source)).to_epsg(), horizontal(base(target)).to_epsg())}
    assert not any(t.name.endswith(("zone 3", "UTM zone 14N", "Pseudo-Mercator")) for t in found)


def test_projected_input_lists_what_its_base_lists():
    from_base = [t.name for t in projection.get_transformations({"wkid": 4326}, {"wkid": 4267})]
    assert [t.name for t in projection.get_transformations({"wkid": 32614}, {"wkid": 4267})] == from_base
    # The same zone read from another dialect's text: its base keeps its code.
    esri = projection.get_transformations({"wkt": pyproj.CRS(32614).to_wkt("WKT1_ESRI")}, {"wkid": 4267})
    assert [t.name for t in esri] == from_base
    assert {(t.input_spatial_reference.wkid, t.output_spatial_reference.wkid) for t in esri} == {(4326, 4267)}


@pytest.mark.parametrize("source,target,point", [(32614, 26714, (500000, 4000000)), (31467, 2056, (3500000, 5300000))],
                         ids=str)
def test_chosen_transformation_runs_between_the_bases(source, target, point):
    """From the geometry's reference into the input base, the chosen operation, then on to the target."""
    into_base = pyproj.Transformer.from_crs(source, base(source), always_xy=True)
    out_of_base = pyproj.Transformer.from_crs(base(target), target, always_xy=True)
    peers = TransformerGroup(base(source), base(target), allow_ballpark=False, always_xy=True).transformers
    geometry = vg.Geometry({"x": point[0], "y": point[1], "spatialReference": {"wkid": source}})
    for chosen in projection.get_transformations(sr(source), sr(target))[:4]:
        peer = next(p for p in peers if f" + {chosen.name} + " in f" + {p.description} + ")
        expected = out_of_base.transform(*peer.transform(*into_base.transform(*point)))
        got = projection.project_collection_with_transformation([geometry], sr(target), chosen)[0]
        assert (got.x, got.y) == pytest.approx(expected, abs=1e-6), chosen.name


# An area of interest in the input's reference, in another one, or in the input's base.
AREAS = [
    (32614, 4267, (400000, 3500000, 700000, 4500000), 32614),
    (4326, 4267, (-100, 30, -90, 40), 4326),
    (31467, 4326, (3400000, 5300000, 3450000, 5400000), None),
    (3857, 4267, (-11000000, 3500000, -10000000, 4500000), 3857),
    (4326, 4267, (-1000000, 3500000, 100000, 4500000), 26914),
    (27572, 4326, (600000, 2400000, 650000, 2450000), None),  # a base in grads about Paris
]


@pytest.mark.parametrize("source,target,box,box_wkid", AREAS, ids=str)
def test_area_of_interest_is_taken_into_the_input_base(source, target, box, box_wkid):
    envelope = {"xmin": box[0], "ymin": box[1], "xmax": box[2], "ymax": box[3]}
    if box_wkid:
        envelope["spatialReference"] = {"wkid": box_wkid}
    # The box in the input's base, then in degrees east of Greenwich as PROJ reads an area.
    geographic = horizontal(base(source))
    west, south, east, north = pyproj.Transformer.from_crs(crs(box_wkid or source), geographic, always_xy=True) \
        .transform_bounds(*box, densify_pts=1000)
    unit = geographic.axis_info[0].unit_conversion_factor * 180 / np.pi
    meridian = geographic.prime_meridian.longitude * geographic.prime_meridian.unit_conversion_factor * 180 / np.pi
    degrees = (west * unit + meridian, south * unit, east * unit + meridian, north * unit)
    expected = peer_names(source, target, AreaOfInterest(*degrees))
    assert [t.name for t in projection.get_transformations(sr(source), sr(target), envelope)] == expected
    assert expected


def edge_points(box, n=100001):
    s = np.linspace(0.0, 1.0, n)
    xmin, ymin, xmax, ymax = box
    xs = np.concatenate([xmin + s * (xmax - xmin), np.full(n, xmax), xmax - s * (xmax - xmin), np.full(n, xmin)])
    ys = np.concatenate([np.full(n, ymin), ymin + s * (ymax - ymin), np.full(n, ymax), ymax - s * (ymax - ymin)])
    return xs, ys


# Envelopes whose image bulges between PROJ's usual 21 points per edge (by metres), and some whose
# image is reached at corners or poles.
BOUNDS = [
    (4326, 32632, (0, 40, 15, 60)),
    (4326, 2154, (-5, 41, 10, 52)),
    (32632, 4326, (200000, 4000000, 800000, 6000000)),
    (4326, 3035, (-20, 30, 40, 70)),
    (4326, 3857, (-170, -80, 170, 80)),
    (4326, 3413, (-180, 60, 180, 90)),
    (2154, 32631, (100000, 6100000, 1200000, 7100000)),
]


@pytest.mark.parametrize("source,target,box", BOUNDS, ids=str)
def test_projected_envelope_holds_its_whole_image(source, target, box):
    envelope = vg.Geometry({"xmin": box[0], "ymin": box[1], "xmax": box[2], "ymax": box[3],
                            "spatialReference": {"wkid": source}})
    image = envelope.project({"wkid": target})
    ours = np.array([image.xmin, image.ymin, image.xmax, image.ymax])
    transformer = pyproj.Transformer.from_crs(source, target, always_xy=True)
    x, y = transformer.transform(*edge_points(box))
    dense = np.array([x.min(), y.min(), x.max(), y.max()])
    size = max(dense[2] - dense[0], dense[3] - dense[1])
    # Every sampled image point inside, and no farther out than the sampling's own error.
    assert (ours[:2] <= dense[:2] + 1e-9 * size).all() and (ours[2:] >= dense[2:] - 1e-9 * size).all()
    assert np.abs(ours - dense).max() <= 1e-9 * size
    peer = np.array(transformer.transform_bounds(*box, densify_pts=10000))
    assert np.abs(ours - peer).max() <= 1e-6 * size


@pytest.mark.parametrize("source,target,box", [(3832, 4326, (3000000, -2000000, 4500000, 2000000)),
                                                (4326, 3832, (170, -10, -170, 10))], ids=str)
def test_envelope_across_the_antimeridian_keeps_pyprojs_reading(source, target, box):
    envelope = vg.Geometry({"xmin": box[0], "ymin": box[1], "xmax": box[2], "ymax": box[3],
                            "spatialReference": {"wkid": source}})
    image = envelope.project({"wkid": target})
    peer = pyproj.Transformer.from_crs(source, target, always_xy=True).transform_bounds(*box, densify_pts=10000)
    assert (image.xmin, image.ymin, image.xmax, image.ymax) == pytest.approx(peer, rel=1e-9)


@pytest.mark.parametrize("source,box", [((4326, 5773), (10, 50, 11, 51)), ((32632, 5773), (500000, 5500000, 600000, 5600000))],
                         ids=str)
def test_envelope_with_heights_into_a_3d_reference(source, box):
    """PROJ bounds no operation from a compound system: the edges are searched alone."""
    envelope = vg.Geometry({"xmin": box[0], "ymin": box[1], "xmax": box[2], "ymax": box[3], "zmin": 100, "zmax": 200,
                            "spatialReference": sr(source)})
    image = envelope.project({"wkid": 4979})
    horizontal = pyproj.Transformer.from_crs(crs(source).sub_crs_list[0], 4326, always_xy=True)
    peer = horizontal.transform_bounds(*box, densify_pts=10000)
    assert (image.xmin, image.ymin, image.xmax, image.ymax) == pytest.approx(peer, rel=1e-9)
    assert (image.zmin, image.zmax) == (100, 200)


# Heights: the geoid grid installed with PROJ's data here (egm96_15.gtx) takes part.
HEIGHTS = [
    ((4326, 5773), 4979, [(10, 50, 100), (-75, 40, 0), (150, -33, 2500)]),
    (4979, (4326, 5773), [(10, 50, 148.0), (-75, 40, -34)]),
    ((32632, 5773), 4979, [(500000, 5500000, 100)]),
    (4979, 4978, [(10, 50, 100)]),
]


@pytest.mark.parametrize("source,target,points", HEIGHTS, ids=str)
def test_heights_go_through_three_dimensional_references(source, target, points):
    transformer = pyproj.Transformer.from_crs(crs(source), crs(target), always_xy=True)
    for x, y, z in points:
        got = vg.Geometry({"x": x, "y": y, "z": z, "spatialReference": sr(source)}).project(sr(target))
        expected = transformer.transform(x, y, z)
        assert (got.x, got.y, got.z) == pytest.approx(expected, rel=1e-12, abs=1e-6)
        assert abs(got.z - z) > 1, "the geoid or the frame changes the height"


@pytest.mark.parametrize("source,target", [((4326, 5773), 4326), (4979, 3857), (4326, 4979)], ids=str)
def test_heights_stay_where_one_side_has_no_vertical_axis(source, target):
    got = vg.Geometry({"x": 10, "y": 50, "z": 100, "spatialReference": sr(source)}).project(sr(target))
    assert got.z == 100


GRID_FOLDER = '''
import os, shutil, sqlite3, tempfile
from vornix_geometry import projection
folder = tempfile.mkdtemp()
try:
    holding = HOLDING
    db = os.path.join(folder, "proj.db")
    if holding == "fifo proj.db":
        os.mkfifo(db)
    elif holding == "empty proj.db":
        open(db, "w").close()
    elif holding == "truncated proj.db":
        with open("/usr/share/proj/proj.db", "rb") as own, open(db, "wb") as cut:
            cut.write(own.read(1 << 16))
    elif holding == "foreign proj.db":
        with sqlite3.connect(db) as foreign:
            foreign.execute("create table other(a)")
    elif holding == "fifo grids":
        for name in ("egm96_15.gtx", "us_noaa_conus.tif", "nzgd2kgrid0005.gsb", "proj.ini"):
            os.mkfifo(os.path.join(folder, name))
    elif holding == "directory grids":
        os.mkdir(os.path.join(folder, "egm96_15.gtx"))
    projection.set_tarnel_dir(folder)
    height = vg.Geometry({"x": 10, "y": 50, "z": 100, "spatialReference": {"wkid": 4326, "vcsWkid": 5773}})
    print(round(height.project({"wkid": 4979}).z, 3))
    print(round(vg.Geometry({"x": 10, "y": 50, "spatialReference": {"wkid": 4326}}).project({"wkid": 3857}).x))
    print(len(projection.get_transformations({"wkid": 4326}, {"wkid": 4267})) > 0)
    nad27 = vg.Geometry({"x": 174, "y": -41, "spatialReference": {"wkid": 4272}}).project({"wkid": 4167})
    print(round(nad27.x, 1))
finally:
    projection.set_tarnel_dir(None)
    shutil.rmtree(folder)
'''


@pytest.mark.parametrize("holding", ["fifo proj.db", "empty proj.db", "truncated proj.db", "foreign proj.db",
                                     "fifo grids", "directory grids"])
def test_grid_directory_holding_anything_leaves_projection_working(holding):
    z, x, listed, nz = run(GRID_FOLDER.replace("HOLDING", repr(holding))).split()
    expected = pyproj.Transformer.from_crs("EPSG:4326+5773", "EPSG:4979", always_xy=True).transform(10, 50, 100)[2]
    assert float(z) == round(expected, 3)
    assert (int(x), listed, float(nz)) == (1113195, "True", 174.0)
