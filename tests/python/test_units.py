"""The unit and curve-type enums, GeometryExtendOptions and AreaUnit."""
import inspect

import pytest

import engine_hooks  # noqa: F401
import vornix_geometry as vg

MEMBERS = [
    (vg.AreaUnitId, {"Other": 0, "Hectares": 109401, "Acres": 109402, "SquareMeters": 109404, "SquareFeet": 109405,
                     "SquareKilometers": 109414, "SquareMiles": 109439, "SquareYards": 109442,
                     "SquareDecimeters": 109450, "SquareCentimeters": 109451, "SquareMillimeters": 109452}),
    (vg.LinearUnitId, {"Other": 0, "Millimeters": 1025, "Centimeters": 1033, "Meters": 9001, "Feet": 9002,
                       "NauticalMiles": 9030, "Kilometers": 9036, "Miles": 9093, "Yards": 9096, "Inches": 109008}),
    (vg.GeodeticCurveType, {"Geodesic": 0, "Loxodrome": 1, "GreatElliptic": 2, "NormalSection": 3,
                            "ShapePreserving": 4}),
]


@pytest.mark.parametrize("cls, members", MEMBERS)
def test_enum_members(cls, members):
    for name, code in members.items():
        value = getattr(cls, name)
        assert value is getattr(cls, name) and type(value) is cls
        assert int(value) == code and repr(value) == str(value) == f"{cls.__name__}.{name}"
    assert cls.__doc__ is None
    with pytest.raises(TypeError):
        cls()
    with pytest.raises(TypeError):
        type("Mine", (cls,), {})
    first = getattr(cls, next(iter(members)))
    with pytest.raises(TypeError):
        first + 1
    with pytest.raises(TypeError):
        [0][first]


OPTIONS = vg.GeometryExtendOptions


@pytest.mark.parametrize("value, text", [
    (OPTIONS.DEFAULT, "0"),
    (OPTIONS.DO_NOT_EXTEND_FROM_END_POINT, "16"),
    (OPTIONS.RELOCATE_ENDS | OPTIONS.KEEP_END_ATTRIBUTES, "3"),
    (~OPTIONS.RELOCATE_ENDS & OPTIONS.DO_NOT_EXTEND_FROM_START_POINT, "8"),
    (~OPTIONS.DEFAULT, "4294967295"),
    (OPTIONS.NO_END_ATTRIBUTES & OPTIONS.KEEP_END_ATTRIBUTES, "0"),
])
def test_extend_options_text(value, text):
    assert str(value) == repr(value) == f"GeometryExtendOptions({text})"


def test_extend_options_are_flags_only():
    same = OPTIONS.RELOCATE_ENDS | OPTIONS.RELOCATE_ENDS
    assert str(same) == str(OPTIONS.RELOCATE_ENDS) and same is not OPTIONS.RELOCATE_ENDS
    assert same != OPTIONS.RELOCATE_ENDS
    for operation in (lambda: OPTIONS.RELOCATE_ENDS | 2, lambda: 2 | OPTIONS.RELOCATE_ENDS,
                      lambda: OPTIONS.RELOCATE_ENDS & None, lambda: int(OPTIONS.DEFAULT),
                      lambda: OPTIONS.DEFAULT ^ OPTIONS.DEFAULT, lambda: OPTIONS()):
        with pytest.raises(TypeError):
            operation()
    assert OPTIONS.__doc__ == "Flags for the type of extend operation to perform."


def test_area_unit_conversions():
    acres = vg.AreaUnit(vg.AreaUnitId.Acres)
    meters = vg.AreaUnit(unit_id=vg.AreaUnitId.SquareMeters)
    assert meters.to_square_meters(2) == 2.0 and type(meters.to_square_meters(2)) is float
    assert acres.to_square_meters(1.0) == pytest.approx(4046.8564224)
    assert acres.from_square_meters(4046.8564224) == pytest.approx(1.0)
    assert acres.convert_to(meters, 1.0) == pytest.approx(4046.8564224)
    assert meters.convert_from(acres, area=1.0) == pytest.approx(4046.8564224)
    assert acres.convert_to(acres, 7.0) == 7.0
    code = acres.area_unit_id()
    assert int(code) == 109402 and str(code) == "AreaUnitId.Acres"
    assert code is not vg.AreaUnitId.Acres and code != vg.AreaUnitId.Acres


def test_area_unit_clone_owns_its_own_engine_unit():
    before = engine_hooks.live_objects()
    unit = vg.AreaUnit(vg.AreaUnitId.Hectares)
    clone = unit.try_clone()
    assert clone is not unit and engine_hooks.live_objects() == before + 2
    del unit
    assert clone.to_square_meters(1) == pytest.approx(10000.0)
    del clone
    assert engine_hooks.live_objects() == before


@pytest.mark.parametrize("call, name", [
    (lambda: vg.AreaUnit(109402), "unit_id"),
    (lambda: vg.AreaUnit(vg.LinearUnitId.Feet), "unit_id"),
    (lambda: vg.AreaUnit(vg.AreaUnitId.Acres).convert_to(vg.AreaUnitId.Acres, 1.0), "to_unit"),
    (lambda: vg.AreaUnit(vg.AreaUnitId.Acres).convert_from(1.0, 1.0), "from_unit"),
    (lambda: vg.AreaUnit(vg.AreaUnitId.Acres).to_square_meters("1"), "area"),
])
def test_area_unit_argument_refusals(call, name):
    with pytest.raises(TypeError, match=f"^argument '{name}': "):
        call()


def test_area_unit_refused_by_the_engine():
    with engine_hooks.failing("KX_AreaUnit_create", engine_hooks.REPORT_ERROR):
        with pytest.raises(RuntimeError, match=r"^Error \{ code: -?\d+, msg: \".*\", additional_msg: \".*\" \}$"):
            vg.AreaUnit(vg.AreaUnitId.Acres)


def test_area_unit_signatures():
    assert vg.AreaUnit.__text_signature__ == "(unit_id)"
    assert str(inspect.signature(vg.AreaUnit.convert_to)) == "(self, /, to_unit, area)"
    assert [getattr(vg.AreaUnit, m).__text_signature__ for m in (
        "area_unit_id", "try_clone", "convert_from", "to_square_meters", "from_square_meters")] == [
        "($self)", "($self)", "($self, from_unit, area)", "($self, area)", "($self, area)"]
    with pytest.raises(TypeError):
        vg.AreaUnit()
