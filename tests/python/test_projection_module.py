"""The projection submodule: registration, project_collection's checks, the catalog query, the Tarnel
directory (a NUL in the path is refused before the engine sees it) and DatumTransformation."""
import sys

import numpy as np
import pytest

import engine_hooks
import vornix_geometry as vg
from vornix_geometry import projection

WGS84, NAD27 = {"wkid": 4326}, {"wkid": 4267}
POINT = vg.Geometry({"x": -100.0, "y": 40.0, "spatialReference": WGS84})


def is_panic(error):
    return type(error).__name__ == "PanicException" and not isinstance(error, Exception)


@pytest.fixture
def transformation():
    found = projection.get_transformations(WGS84, NAD27)
    assert found
    return found[0]


def test_registration():
    assert sys.modules["vornix_geometry.projection"] is vg.projection
    assert projection.__name__ == "projection"
    assert projection.__doc__ == "Projection and datum transformation utilities for Vornix geometries"
    assert projection.__all__ == ["get_tarnel_dir", "get_transformations", "project_collection",
                                  "project_collection_with_transformation", "set_tarnel_dir", "DatumTransformation"]
    assert projection.DatumTransformation.__module__ == "vornix_geometry.projection"
    assert {name: getattr(projection, name).__text_signature__ for name in projection.__all__[:5]} == {
        "get_tarnel_dir": "()",
        "get_transformations": "(input_spatial_reference, output_spatial_reference, area_of_interest=None, "
                               "ignore_vertical=False)",
        "project_collection": "(geometries, spatial_reference)",
        "project_collection_with_transformation": "(geometries, spatial_reference, datum_transformation)",
        "set_tarnel_dir": "(value)",
    }


@pytest.mark.parametrize("call,error,text", [
    (lambda t: projection.project_collection([], 5), TypeError,
     "SpatialReference from_py expects a SpatialReference object or a dict"),
    (lambda t: projection.project_collection([], {"nothing": 1}), ValueError, "into a geometry engine spatial reference"),
    (lambda t: projection.project_collection(5, WGS84), TypeError, "'int' object is not iterable"),
    (lambda t: projection.project_collection([POINT, 42], WGS84), TypeError, "object 42"),
    (lambda t: projection.project_collection_with_transformation([POINT], 4326, "x"), TypeError,
     "argument 'datum_transformation'"),
    (lambda t: projection.project_collection_with_transformation([POINT], 4326, t), TypeError,
     "SpatialReference from_py expects"),
    (lambda t: projection.get_transformations(WGS84, NAD27, None, None), TypeError, "argument 'ignore_vertical'"),
    (lambda t: projection.get_transformations(WGS84, 5), TypeError, "SpatialReference from_py expects"),
    (lambda t: projection.get_transformations(WGS84, NAD27, 5), TypeError,
     "Envelope from_py expects an Envelope object or dict"),
    (lambda t: projection.set_tarnel_dir(5), TypeError, "argument 'value'"),
    (lambda t: projection.set_tarnel_dir(b"/data"), TypeError, "argument 'value'"),
    (lambda t: projection.set_tarnel_dir("/data\0/grids"), ValueError,
     "The Tarnel directory holds a NUL character at position 5."),
    (lambda t: projection.DatumTransformation(), TypeError, ""),
])
def test_refusals(transformation, call, error, text):
    with pytest.raises(error) as info:
        call(transformation)
    assert type(info.value) is error
    assert text in str(info.value)


def test_project_collection_accepts_dict_items_and_keeps_order():
    items = [{"x": 10.0, "y": 50.0, "spatialReference": WGS84}, POINT, '{"x": 0, "y": 0, "spatialReference": {"wkid": 4326}}']
    projected = projection.project_collection(items, {"wkid": 3857})
    assert [type(p) for p in projected] == [vg.Point] * 3
    assert [round(p.x) for p in projected] == [1113195, -11131949, 0]
    assert projection.project_collection([], WGS84) == []


def test_the_catalog_query(transformation):
    names = [t.name for t in projection.get_transformations(WGS84, NAD27)]
    assert names == [t.name for t in projection.get_transformations(WGS84, NAD27, None, False)]
    assert projection.get_transformations(WGS84, WGS84) == []
    envelope = vg.Geometry({"xmin": -100, "ymin": 30, "xmax": -90, "ymax": 40, "spatialReference": WGS84})
    by_envelope = [t.name for t in projection.get_transformations(WGS84, NAD27, envelope, np.bool_(True))]
    by_dict = [t.name for t in projection.get_transformations(
        vg.SpatialReference(WGS84), NAD27, {"xmin": -100, "ymin": 30, "xmax": -90, "ymax": 40}, True)]
    assert by_envelope == by_dict and by_envelope


def test_datum_transformation(transformation):
    t = transformation
    assert str(t) == repr(t) == t.name
    assert t.object_type in ("Geographic", "HorizontalVertical")
    assert t.input_spatial_reference.wkid == 4326 and t.output_spatial_reference.wkid == 4267
    assert t.is_missing_tarnel_files() in (True, False)
    inverse, again = t.get_inverse(), t.get_inverse()
    assert inverse is not again and inverse.name == again.name
    assert inverse.input_spatial_reference.wkid == 4267
    with pytest.raises(TypeError):
        type("Sub", (projection.DatumTransformation,), {})


@pytest.mark.parametrize("attribute,function", [
    ("name", "KX_DatumTransformation_getName"),
    ("object_type", "KX_DatumTransformation_getObjectType"),
    ("input_spatial_reference", "KX_DatumTransformation_getInputSpatialReference"),
])
def test_engine_errors_of_the_getters_are_faults(transformation, attribute, function):
    with engine_hooks.failing(function, engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            getattr(transformation, attribute)
    assert is_panic(info.value)
    assert str(info.value).startswith(f"Internal error: Unexpected error returned from internal function {function}")


def test_engine_errors_of_get_inverse_and_the_projections_are_library_errors(transformation):
    with engine_hooks.failing("KX_DatumTransformation_getInverse", engine_hooks.REPORT_ERROR):
        with pytest.raises(Exception, match="^Corvane library error: 'Injected failure"):
            transformation.get_inverse()
    with engine_hooks.failing("KX_GeometryEngine_project", engine_hooks.REPORT_ERROR):
        with pytest.raises(Exception, match="^Corvane library error: 'Injected failure"):
            projection.project_collection([POINT, POINT], {"wkid": 3857})


def test_the_tarnel_directory_lives_in_the_engine(tmp_path):
    before, grids = projection.get_tarnel_dir(), str(tmp_path)
    try:
        projection.set_tarnel_dir(grids)
        assert projection.get_tarnel_dir() == grids
        with pytest.raises(ValueError):
            projection.set_tarnel_dir("/other\0")
        assert projection.get_tarnel_dir() == grids  # nothing reached the engine
        with pytest.raises(Exception, match="^Corvane library error: 'Not a directory"):
            projection.set_tarnel_dir(str(tmp_path / "missing"))
        projection.set_tarnel_dir(None)
        assert projection.get_tarnel_dir() is None
        projection.set_tarnel_dir("")
        assert projection.get_tarnel_dir() is None
    finally:
        projection.set_tarnel_dir(before)
