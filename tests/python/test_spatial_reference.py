"""SpatialReference: construction, the six settable fields, the compact text and its equality rule."""
import inspect

import pytest

import engine_hooks  # noqa: F401
import vornix_geometry as vg

SR = vg.SpatialReference


@pytest.mark.parametrize("d, text", [
    ({}, "{}"),
    ({"wkid": None, "wkt": "GEOGCS[\"x\"]", "extra": 1}, '{"wkt":"GEOGCS[\\"x\\"]"}'),
    ({"wkt2": "a", "latestVcsWkid": 5, "vcsWkid": 4, "latestWkid": 3, "wkid": 2, "wkt": "b"},
     '{"wkid":2,"latestWkid":3,"vcsWkid":4,"latestVcsWkid":5,"wkt":"b","wkt2":"a"}'),
])
def test_text(d, text):
    sr = SR(d)
    assert str(sr) == repr(sr) == text


@pytest.mark.parametrize("arg, exc, message", [
    ([4326], TypeError, "SpatialReference from_py expects a SpatialReference object or a dict"),
    ("4326", TypeError, "SpatialReference from_py expects a SpatialReference object or a dict"),
    ({"wkid": "4326"}, TypeError, "'str' object cannot be interpreted as an integer"),
    ({"wkid": -1}, OverflowError, "out of range integral type conversion attempted"),
])
def test_construction_refusals(arg, exc, message):
    with pytest.raises(exc) as info:
        SR(arg)
    assert type(info.value) is exc and str(info.value) == message


def test_copies_and_signature():
    a = SR({"wkid": 4326})
    b = SR(sr=a)
    b.wkid = 2
    assert a.wkid == 4326 and b.wkid == 2
    assert SR.__text_signature__ == "(sr)" and str(inspect.signature(SR)) == "(sr)"
    with pytest.raises(TypeError):
        type("Mine", (SR,), {})
    with pytest.raises(AttributeError):
        a.other = 1


@pytest.mark.parametrize("name, good", [("wkid", 7), ("latest_wkid", True), ("vcs_wkid", 2**32 - 1),
                                        ("latest_vcs_wkid", 0), ("wkt", "t"), ("wkt2", "é")])
def test_fields(name, good):
    sr = SR({})
    assert getattr(sr, name) is None
    setattr(sr, name, good)
    assert getattr(sr, name) == good
    setattr(sr, name, None)
    assert getattr(sr, name) is None
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        delattr(sr, name)


@pytest.mark.parametrize("name, value, exc, message", [
    ("wkid", 1.5, TypeError, "argument 'wkid': 'float' object cannot be interpreted as an integer"),
    ("latest_wkid", "1", TypeError, "argument 'latest_wkid': 'str' object cannot be interpreted as an integer"),
    ("vcs_wkid", 2**32, OverflowError, "out of range integral type conversion attempted"),
    ("latest_vcs_wkid", -1, OverflowError, "out of range integral type conversion attempted"),
    ("wkt", 5, TypeError, "argument 'wkt': 'int' object cannot be cast as 'str'"),
    ("wkt2", b"x", TypeError, "argument 'wkt2': 'bytes' object cannot be cast as 'str'"),
])
def test_field_refusals_leave_the_record_unchanged(name, value, exc, message):
    sr = SR({"wkid": 1, "latestWkid": 2, "vcsWkid": 3, "latestVcsWkid": 4, "wkt": "a", "wkt2": "b"})
    before = str(sr)
    with pytest.raises(exc) as info:
        setattr(sr, name, value)
    assert type(info.value) is exc and str(info.value) == message
    assert str(sr) == before


@pytest.mark.parametrize("a, b, equal", [
    ({"wkid": 4326}, {"wkid": 4326, "wkt": "other"}, True),
    ({"wkid": 1, "wkt": "same"}, {"wkid": 2, "wkt": "same"}, True),
    ({"wkid": 1, "vcsWkid": 5}, {"wkid": 1, "vcsWkid": 6}, True),
    ({"latestWkid": 3}, {"latestWkid": 3}, True),
    ({"wkt2": "x"}, {"wkt2": "x"}, True),
    ({"vcsWkid": 5}, {"vcsWkid": 5}, False),
    ({}, {}, False),
    ({"wkid": 1}, {"latestWkid": 1}, False),
])
def test_equality_rule(a, b, equal):
    x, y = SR(a), SR(b)
    assert (x == y, x != y) == (equal, not equal)


def test_equality_with_other_values_and_no_ordering_or_hash():
    sr = SR({"wkid": 4326})
    empty = SR({})
    assert empty != empty and not (empty == empty)
    for other in (5, None, {"wkid": 4326}):
        assert (sr == other, sr != other) == (False, True)
    with pytest.raises(TypeError):
        sr < sr
    with pytest.raises(TypeError):
        hash(sr)
