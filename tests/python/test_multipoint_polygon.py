"""MultiPoint and Polygon: live views shared between objects, replacement of their parts, the
spatial-reference property, the polygon's own members, and the lock rules."""
import pytest

import engine_hooks
import vornix_geometry as vg

SQUARE = [[0, 0], [0, 1], [1, 1], [1, 0]]
LOCK_ERROR = r"^Lock error: 'poisoned lock: another task failed inside'$"


def polygon(**extra):
    return vg.Polygon({"rings": [SQUARE], **extra})


def test_multipoint_points_view_is_live_and_shared():
    mp = vg.MultiPoint({"points": []})
    assert mp.is_empty and mp.ids is None and mp.geometry_type == "MultiPoint"
    view = mp.points
    assert mp.points is not view
    view.append([1, 2])
    assert not mp.is_empty and str(mp) == '{"points": [[1, 2]]}'
    other = vg.MultiPoint({"points": [[5, 5]]})
    other.points = mp.points
    other.points.append([3, 4])
    assert str(mp) == str(other) == '{"points": [[1, 2], [3, 4]]}'
    alias = vg.MultiPoint(mp)
    alias.points = [[9, 9, 9]]
    assert str(mp) == '{"points": [[9, 9]]}'
    view.append([0, 0])
    assert str(mp) == '{"points": [[9, 9]]}'


@pytest.mark.parametrize("value, exc, message", [
    (vg.MultiPoint({"points": [], "hasZ": True}).points, Exception,
     r"^Mismatching dimensions, expected 'XY' but got 'XYZ'$"),
    (1, TypeError, r"^Part from_py requires a Part or a list$"),
    ([(1, 2)], TypeError, r"^'tuple' object cannot be cast as 'list'$"),
    ([[1]], IndexError, r""),
])
def test_multipoint_points_refusals_leave_it_unchanged(value, exc, message):
    mp = vg.MultiPoint({"points": [[1, 2]]})
    with pytest.raises(exc, match=message) as info:
        mp.points = value
    assert type(info.value) is exc
    assert str(mp) == '{"points": [[1, 2]]}'
    with pytest.raises(AttributeError, match=r"^can't delete attribute$"):
        del mp.points


def test_polygon_members():
    p = vg.Polygon({})
    assert (p.is_empty, p.has_z, p.has_m, p.spatial_reference, p.ids) == (True, False, False, None, None)
    assert p.geometry_type == "Polygon" and p.is_polygon() is True
    assert vg.Polygon.is_polygon.__text_signature__ == "($self)" and vg.Polygon.__text_signature__ == "(polygon)"
    assert str(vg.Polygon(polygon={})) == '{"rings": []}'
    assert not vg.Polygon({"curveRings": [[[0, 0], {"c": [[2, 0], [1, 1]]}]]}).is_empty
    p.rings = [[]]
    assert not p.is_empty
    with pytest.raises(TypeError, match=r"missing 1 required positional argument: 'polygon'"):
        vg.Polygon()
    with pytest.raises(AttributeError):
        p.has_z = True


def test_polygon_views_are_live_and_replacement_detaches_them():
    p = polygon()
    q = vg.Polygon(p)
    q.rings.append([[5, 5], [6, 6], [7, 5]])
    assert sum(1 for _ in p.rings) == 2 and "[5, 5]" in str(p)
    old = p.rings
    p.rings = [[[0, 0], [1, 1]]]  # assignment does not apply the ring rule
    old.append([[8, 8], [9, 9], [8, 9]])
    assert str(p) == '{"rings": [[[0, 0], [1, 1]]]}'
    curves = p.curve_rings
    curves.append([[0, 0], {"c": [[2, 0], [1, 1]]}])
    assert str(p).startswith('{"curveRings": [[[0, 0], {"c": [[2, 0], [1, 1]]}]], "rings"')


def test_polygon_and_polyline_can_share_one_collection():
    line = vg.Polyline({"paths": [[[0, 0], [1, 0], [1, 1]]]})
    p = vg.Polygon({})
    p.rings = line.paths
    line.paths[0].append([0, 1])
    assert str(p) == '{"rings": [[[0, 0], [1, 0], [1, 1], [0, 1]]]}'


@pytest.mark.parametrize("name, value, exc, message", [
    ("rings", vg.Polyline({"paths": [], "hasZ": True}).paths, Exception,
     r"^Mismatching dimensions, expected 'XY' but got 'XYZ'$"),
    ("curve_rings", vg.Polygon({"hasM": True}).curve_rings, Exception,
     r"^Mismatching dimensions, expected 'XY' but got 'XYM'$"),
    ("rings", 5, TypeError, r"^Multipart from_py requires a Multipart or a list$"),
    ("curve_rings", polygon().rings, TypeError, r"^Multipart from_py requires a Multipart or a list$"),
    ("rings", ([[0, 0]],), TypeError, r"^Multipart from_py requires a Multipart or a list$"),
    ("spatial_reference", None, Exception, r"^Python cast error: ''NoneType' object cannot be cast as 'dict''$"),
    ("spatial_reference", vg.SpatialReference({"wkid": 4326}), Exception,
     r"^Python cast error: ''SpatialReference' object cannot be cast as 'dict''$"),
    ("spatial_reference", {"wkid": -5}, OverflowError, r"^out of range integral type conversion attempted$"),
])
def test_polygon_setter_refusals_leave_it_unchanged(name, value, exc, message):
    p = polygon(spatialReference={"wkid": 3857})
    before = str(p)
    with pytest.raises(exc, match=message) as info:
        setattr(p, name, value)
    assert type(info.value) is exc
    assert str(p) == before
    with pytest.raises(AttributeError, match=r"^can't delete attribute$"):
        delattr(p, name)


@pytest.mark.parametrize("make", [lambda: polygon(), lambda: vg.MultiPoint({"points": []}),
                                  lambda: vg.Point({"x": 0, "y": 0}),
                                  lambda: vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1})])
def test_spatial_reference_property(make):
    g = make()
    assert g.spatial_reference is None
    g.spatial_reference = {"wkid": 4326}
    first, second = g.spatial_reference, g.spatial_reference
    assert type(first) is vg.SpatialReference and first is not second
    assert str(first) == '{"wkid":4326}'
    first.wkid = 3857
    assert str(g.spatial_reference) == '{"wkid":4326}'


def test_polygon_spatial_reference_read_runs_user_code_without_the_lock():
    p = polygon()

    class Touching:
        def __index__(self):
            p.rings.append([[7, 7], [8, 8], [7, 8]])
            return 4326

    p.spatial_reference = {"wkid": Touching()}
    assert sum(1 for _ in p.rings) == 2 and str(p.spatial_reference) == '{"wkid":4326}'


@pytest.mark.parametrize("d, paths", [
    # rings read from the engine come back open; the polyline closes them
    ({"rings": [SQUARE]}, '"paths": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]]'),
    ({"rings": [SQUARE + [[0, 0]]]}, '"paths": [[[0, 0], [0, 1], [1, 1], [1, 0], [0, 0]]]'),
    ({"curveRings": [[[0, 0], {"c": [[2, 0], [1, 1]]}]]},
     '"curvePaths": [[[0, 0], {"c": [[2, 0], [1, 1]]}, [0, 0]]], "paths": []'),
])
def test_polygon_polyline_has_closed_paths(d, paths):
    for p in (vg.Polygon(d), vg.Geometry(vg.Polygon(d).JSON)):
        line = p.polyline
        assert type(line) is vg.Polyline and str(line) == "{" + paths + "}"
        line.paths.append([[5, 5], [6, 6]])
        assert "[5, 5]" not in str(p)


def test_subclass_objects_and_factory_results():
    class MyPolygon(vg.Polygon):
        pass

    m = MyPolygon({})
    assert type(m) is MyPolygon and type(vg.Geometry(m.JSON)) is vg.Polygon
    assert type(m.polyline) is vg.Polyline


def test_a_fault_poisons_the_model_and_its_collections():
    p = polygon()
    rings = p.rings
    with engine_hooks.failing("KX_MutablePart_addPointXY", engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            p.__kxc_geo()
    assert type(info.value).__qualname__ == "PanicException"
    for action in (lambda: str(p), lambda: p.rings, lambda: p.is_empty, lambda: p.JSON, lambda: p.polyline,
                   lambda: setattr(p, "spatial_reference", {})):
        with pytest.raises(Exception, match=LOCK_ERROR) as error:
            action()
        assert type(error.value) is Exception
    assert p.ids is None and p.is_polygon()
    with pytest.raises(BaseException, match=r"Lock poisoned") as info:
        vg.Polygon({}).rings = rings
    assert type(info.value).__qualname__ == "PanicException"


def test_a_fault_poisons_the_multipoint_and_its_points():
    mp = vg.MultiPoint({"points": [[1, 2]]})
    points = mp.points
    sharing = vg.MultiPoint({"points": []})
    sharing.points = points
    with engine_hooks.failing("KX_MutablePointCollection_addPoint", engine_hooks.REPORT_ERROR):
        with pytest.raises(BaseException) as info:
            mp.__kxc_geo()
    assert type(info.value).__qualname__ == "PanicException"
    for action in (lambda: str(mp), lambda: mp.points, lambda: mp.has_z, lambda: setattr(mp, "points", [])):
        with pytest.raises(Exception, match=LOCK_ERROR) as error:
            action()
        assert type(error.value) is Exception
    with pytest.raises(BaseException, match=r"^Lock poisoned$") as info:
        vg.MultiPoint({"points": []}).points = points
    assert type(info.value).__qualname__ == "PanicException"
    # Its text reads the flags and the vertices under one lock of the points.
    with pytest.raises(BaseException, match=r"^Points lock poisoned$") as info:
        str(sharing)
    assert type(info.value).__qualname__ == "PanicException"


def test_label_point_is_a_method_whose_engine_errors_are_exceptions():
    p = polygon()
    assert callable(p.label_point) and vg.Polygon.label_point.__text_signature__ == "($self)"
    with engine_hooks.failing("KX_GeometryEngine_labelPoint", engine_hooks.REPORT_ERROR):
        with pytest.raises(Exception, match=r"^Corvane library error: 'Injected failure in "
                                            r"KX_GeometryEngine_labelPoint: Raised by a test hook'$") as info:
            p.label_point()
    assert type(info.value) is Exception
    assert str(p) == '{"rings": [[[0, 0], [0, 1], [1, 1], [1, 0]]]}'
    with engine_hooks.failing("KX_GeometryEngine_labelPoint", engine_hooks.RETURN_NULL):
        with pytest.raises(BaseException, match=r"^Internal error: Unexpected null handle") as info:
            p.label_point()
    assert type(info.value).__qualname__ == "PanicException"
    with pytest.raises(Exception, match=LOCK_ERROR):
        p.label_point()


def test_label_point_lies_inside_and_keeps_the_spatial_reference():
    square = vg.Polygon({"rings": [[[0, 0], [0, 4], [4, 4], [4, 0]]], "spatialReference": {"wkid": 4326}})
    point = square.label_point()
    assert type(point) is vg.Point
    assert str(point) == '{"spatialReference": {"wkid":4326}, "x": 2, "y": 2}'
    point.x = 9
    assert str(square.label_point()) == '{"spatialReference": {"wkid":4326}, "x": 2, "y": 2}'
