"""The Geometry base class: construction through the factory, its own members and the engine
protocol's refusals."""
import inspect

import pytest

import engine_hooks  # noqa: F401  (points the module at the engine)
import vornix_geometry as vg


@pytest.mark.parametrize("args", [(), (1, 2), ({"paths": []}, {"paths": []})])
def test_geometry_takes_exactly_one_argument(args):
    with pytest.raises(TypeError, match=r"^Geometry expects 1 argument$"):
        vg.Geometry(*args)


def test_geometry_signatures():
    assert vg.Geometry.__text_signature__ == "()"
    assert inspect.signature(vg.Geometry.__kxc_geo).parameters.keys() == {"self"}
    assert vg.Geometry.to_dict.__text_signature__ == "($self)"
    assert vg.Geometry.__dict__["__kxc_geo"].__text_signature__ == "($self)"


def test_holder_class_stays_out_of_the_namespace():
    assert not hasattr(vg, "KXCGeo")


def polyline():
    return vg.Polyline({"paths": [[[0, 0], [1, 1]]]})


def test_base_kxc_geo_and_setters_refuse():
    p = polyline()
    with pytest.raises(Exception) as info:
        vg.Geometry.__dict__["__kxc_geo"](p)
    assert type(info.value) is Exception
    assert str(info.value) == "Uninitialized vornix_geometry.Geometry cannot be used for geometry operations"
    for name in ("has_z", "has_m"):
        base = vg.Geometry.__dict__[name]
        with pytest.raises(Exception) as info:
            base.__set__(p, True)
        assert type(info.value) is Exception and str(info.value) == (
            f"Cannot change {name} as this would cause metadata not to match the actual data structure")
        with pytest.raises(TypeError, match="^argument '_value': 'int' object cannot be cast as 'bool'$"):
            base.__set__(p, 1)
        with pytest.raises(AttributeError, match="^can't delete attribute$"):
            base.__delete__(p)
        with pytest.raises(AttributeError):
            setattr(p, name, True)  # the subclass's read-only property comes first


def test_kxc_geo_gives_a_fresh_holder_each_time():
    p = polyline()
    a, b = p.__kxc_geo(), p.__kxc_geo()
    assert type(a).__name__ == "KXCGeo" and type(a).__module__ == "vornix_geometry" and a is not b
    with pytest.raises(TypeError):
        type(a)()
    assert engine_hooks.live_objects("Geometry") >= 2
    del a, b
    assert engine_hooks.live_objects() == 0


def test_to_dict_needs_a_json_string():
    class Texts(vg.Polyline):
        JSON = 5

    class Lists(vg.Polyline):
        JSON = "[1]"

    with pytest.raises(TypeError, match="^'int' object cannot be cast as 'str'$"):
        Texts({}).to_dict()
    with pytest.raises(TypeError, match="^'list' object cannot be cast as 'dict'$"):
        Lists({}).to_dict()
