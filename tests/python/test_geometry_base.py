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
