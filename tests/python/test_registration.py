"""The classes of the module: registered in byte order of their names, with the factory installed
on Geometry, and the helper classes kept out of the namespace."""
import vornix_geometry as vg

CLASSES = ["AreaUnit", "AreaUnitId", "BezierCurve", "CircularArc", "Coord", "CurveMultipart", "CurvePart",
           "CurveSegment", "EllipticArc", "Envelope", "GeodeticCurveType", "Geometry", "GeometryExtendOptions",
           "Linear", "LinearUnitId", "MultiPoint", "Multipart", "Part", "Point", "Polygon", "Polyline", "Segment",
           "SpatialReference"]


def test_classes_in_all_in_registration_order():
    classes = [name for name in vg.__all__ if isinstance(getattr(vg, name), type)]
    assert classes == CLASSES == sorted(CLASSES)
    for hidden in ("KXCGeo", "MultipartIterator", "PartIterator", "CurvePartIterator"):
        assert not hasattr(vg, hidden)
    assert all(getattr(vg, name).__module__ == "vornix_geometry" for name in CLASSES)


def test_geometry_classes_derive_from_geometry_and_the_factory_is_installed():
    for name in ("Point", "MultiPoint", "Polyline", "Polygon", "Envelope"):
        assert issubclass(getattr(vg, name), vg.Geometry)
    assert type(vg.Geometry({"x": 1.0, "y": 2.0})) is vg.Point
