"""str() (this module's VeltJSON text) and JSON (the engine's text) byte for byte for every kind,
empties and NaN included, and the round trip of both through the engine's reader."""
import pytest

import vornix_geometry as vg

NAN = float("nan")


@pytest.mark.parametrize("cls, d, text, engine_text", [
    (vg.Point, {"x": NAN, "y": 0}, '{"x": null, "y": null}', '{"x":null,"y":0.0}'),
    (vg.Point, {"x": 1, "y": 2, "m": NAN}, '{"x": 1, "y": 2, "m": NaN}', '{"x":1.0,"y":2.0,"m":null}'),
    (vg.Point, {"x": -0.0, "y": 5e-324, "z": 1e21, "spatialReference": {"wkid": 4326}},
     '{"spatialReference": {"wkid":4326}, "x": -0, "y": 0.000' + "0" * 320 + '5, "z": 1000000000000000000000}',
     None),
    (vg.MultiPoint, {"points": []}, '{"points": []}', '{"points":[]}'),
    (vg.MultiPoint, {"points": [[1, 2, None, 4]], "hasZ": True, "hasM": True},
     '{"hasZ": true, "hasM": true, "points": [[1, 2, NaN, 4]]}',
     '{"hasZ":true,"hasM":true,"points":[[1.0,2.0,null,4.0]]}'),
    (vg.Polyline, {"paths": []}, '{"paths": []}', '{"paths":[]}'),
    (vg.Polygon, {}, '{"rings": []}', '{"rings":[]}'),
    (vg.Polygon, {"rings": [[[0, 0], [0, 1], [1, 1]]], "hasM": True, "spatialReference": {"wkid": 3857}},
     '{"hasM": true, "spatialReference": {"wkid":3857}, "rings": [[[0, 0, NaN], [0, 1, NaN], [1, 1, NaN]]]}',
     '{"hasM":true,"rings":[[[0.0,0.0,null],[0.0,1.0,null],[1.0,1.0,null],[0.0,0.0,null]]],'
     '"spatialReference":{"wkid":3857}}'),
    (vg.Polygon, {"curveRings": [[[0, 0], {"b": [[2, 0], [0, 1], [2, 1]]}]]},
     '{"curveRings": [[[0, 0], {"b": [[2, 0], [0, 1], [2, 1]]}]], "rings": []}',
     '{"curveRings":[[[0.0,0.0],{"b":[[2.0,0.0],[0.0,1.0],[2.0,1.0]]},[0.0,0.0]]]}'),
])
def test_text_and_engine_text(cls, d, text, engine_text):
    g = cls(d)
    assert str(g) == repr(g) == text
    if engine_text is not None:
        assert g.JSON == engine_text
    again = vg.Geometry(g.JSON)
    assert type(again) is cls and str(again) == text
    assert str(vg.Geometry(g.JSON.encode())) == text


@pytest.mark.parametrize("make", [
    lambda sr: vg.Point({"x": 1, "y": 2, "spatialReference": sr}),
    lambda sr: vg.Envelope({"xmin": 0, "ymin": 0, "xmax": 1, "ymax": 1, "spatialReference": sr}),
    lambda sr: vg.MultiPoint({"points": [], "spatialReference": sr}),
    lambda sr: vg.Polygon({"spatialReference": sr}),
])
@pytest.mark.parametrize("sr, message", [
    ({"wkid": 999999}, r"^Corvane library error: 'Unknown well-known ID 999999"),
    ({"latestWkid": 1, "wkid": 4326}, r"^Corvane library error: 'Unknown well-known ID 1"),
    ({"wkt": "nonsense"}, r"^Corvane library error: 'Invalid well-known text"),
])
def test_a_spatial_reference_the_engine_refuses_is_an_exception_and_harms_nothing(make, sr, message):
    g = make(sr)
    text = str(g)
    calls = [g.__kxc_geo] + ([lambda: g.JSON] if hasattr(type(g), "JSON") else [])
    for call in calls:
        with pytest.raises(Exception, match=message) as info:
            call()
        assert type(info.value) is Exception
    assert str(g) == text
    g.spatial_reference = {"wkid": 4326}
    g.__kxc_geo()
