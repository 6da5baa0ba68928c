"""The binding layer's argument parsing, conversions and error translation, through a test-only
extension module built from the same sources (tests/fixtures/binding_probe)."""
import inspect
import os
import subprocess
import sys

import numpy
import pytest

from build_paths import FIXTURE_DIR

# Built by the same command as the module: its absence fails the run.
sys.path.insert(0, str(FIXTURE_DIR))
import binding_probe as bp  # noqa: E402


class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


@pytest.mark.parametrize(
    "function, argument, expected",
    [
        (bp.take_f64, 2, 2.0),
        (bp.take_f64, Index(3), 3.0),
        (bp.take_u8, 255, 255),
        (bp.take_u8, True, 1),
        (bp.take_u32, 2**32 - 1, 2**32 - 1),
        (bp.take_u64, 2**64 - 1, 2**64 - 1),
        (bp.take_u64, Index(7), 7),
        (bp.take_i64, -(2**63), -(2**63)),
        (bp.take_bool, False, False),
        (bp.take_str, "é\u20ac", "é\u20ac"),
        (bp.take_bytes, b"\x00\x01", 2),
    ],
)
def test_conversions_accept(function, argument, expected):
    result = function(argument)
    assert result == expected and type(result) is type(expected)


@pytest.mark.parametrize(
    "function, argument, error, message",
    [
        (bp.take_f64, "x", TypeError, "argument 'value': must be real number, not str"),
        (bp.take_f64, None, TypeError, "argument 'value': must be real number, not NoneType"),
        (bp.take_u8, 256, OverflowError, "out of range integral type conversion attempted"),
        (bp.take_u8, -1, OverflowError, "out of range integral type conversion attempted"),
        (bp.take_u8, 1.5, TypeError, "argument 'value': 'float' object cannot be interpreted as an integer"),
        (bp.take_u32, 2**32, OverflowError, "out of range integral type conversion attempted"),
        (bp.take_u32, -1, OverflowError, "out of range integral type conversion attempted"),
        (bp.take_u64, -1, OverflowError, "can't convert negative int to unsigned"),
        (bp.take_u64, 2**64, OverflowError, "int too big to convert"),
        (bp.take_u64, "1", TypeError, "argument 'value': 'str' object cannot be interpreted as an integer"),
        (bp.take_i64, 2**63, OverflowError, "Python int too large to convert to C long"),
        (bp.take_bool, 1, TypeError, "argument 'value': 'int' object cannot be cast as 'bool'"),
        (bp.take_bool, None, TypeError, "argument 'value': 'NoneType' object cannot be cast as 'bool'"),
        (bp.take_str, None, TypeError, "argument 'wkt': 'NoneType' object cannot be cast as 'str'"),
        (bp.take_str, b"x", TypeError, "argument 'wkt': 'bytes' object cannot be cast as 'str'"),
        (bp.take_str, "\ud800", UnicodeEncodeError,
         "'utf-8' codec can't encode character '\\ud800' in position 0: surrogates not allowed"),
        (bp.take_bytes, bytearray(b"x"), TypeError, "argument 'wkb': 'bytearray' object cannot be cast as 'bytes'"),
        (bp.take_bytes, memoryview(b"x"), TypeError, "argument 'wkb': 'memoryview' object cannot be cast as 'bytes'"),
        (bp.probe_value_of, 1, TypeError, "argument 'probe': 'int' object cannot be cast as 'Probe'"),
    ],
)
def test_conversion_errors(function, argument, error, message):
    with pytest.raises(error) as raised:
        function(argument)
    assert type(raised.value) is error
    assert str(raised.value) == message


def test_argument_error_keeps_the_cause():
    class Bad:
        def __float__(self):
            try:
                raise KeyError("inner")
            except KeyError as inner:
                raise TypeError("no float") from inner

    with pytest.raises(TypeError) as raised:
        bp.take_f64(Bad())
    assert str(raised.value) == "argument 'value': no float"
    assert isinstance(raised.value.__cause__, KeyError)


def test_numpy_booleans_are_accepted():
    assert bp.take_bool(numpy.bool_(True)) is True
    assert bp.take_bool(numpy.bool_(False)) is False
    with pytest.raises(TypeError, match="'int64' object cannot be cast as 'bool'"):
        bp.take_bool(numpy.int64(1))


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda: bp.take_str(), "take_str() missing 1 required positional argument: 'wkt'"),
        (lambda: bp.take_str("a", "b"), "take_str() takes 1 positional arguments but 2 were given"),
        (lambda: bp.take_str("a", x=1), "take_str() got an unexpected keyword argument 'x'"),
        (lambda: bp.take_str(x=1), "take_str() got an unexpected keyword argument 'x'"),
        (lambda: bp.take_str("a", wkt="b"), "take_str() got multiple values for argument 'wkt'"),
        (lambda: bp.optional_sum(1, 2, 3), "optional_sum() takes from 1 to 2 positional arguments but 3 were given"),
        (lambda: bp.optional_sum(b=1), "optional_sum() missing 1 required positional argument: 'a'"),
        (lambda: bp.invalid_utf8(1), "invalid_utf8() takes 0 positional arguments but 1 was given"),
        (lambda: bp.Probe(), "Probe.__new__() missing 1 required positional argument: 'value'"),
        (lambda: bp.Probe(1, value=2), "Probe.__new__() got multiple values for argument 'value'"),
        (lambda: bp.Probe(1).scaled(), "Probe.scaled() missing 1 required positional argument: 'factor'"),
    ],
)
def test_argument_count_errors(call, message):
    with pytest.raises(TypeError) as raised:
        call()
    assert str(raised.value) == message


def test_keywords_and_optional_parameters():
    assert bp.take_str(wkt="p") == "p"
    assert bp.optional_sum(1) == 1.0
    assert bp.optional_sum(1, None) == 1.0
    assert bp.optional_sum(b=2, a=1) == 3.0
    assert bp.Probe(value=2).scaled(factor=3) == 6.0


def test_text_signatures():
    assert bp.take_str.__text_signature__ == "(wkt)"
    assert str(inspect.signature(bp.optional_sum)) == "(a, b=None)"
    assert bp.Probe.__text_signature__ == "(value)"
    assert bp.Probe.scaled.__text_signature__ == "($self, factor)"
    assert bp.Probe.__doc__ == "A number in a box."


def test_panic_exception_type():
    panic = bp.PanicException
    assert issubclass(panic, BaseException) and not issubclass(panic, Exception)
    assert (panic.__module__, panic.__name__, panic.__qualname__) == ("pyo3_runtime", "PanicException", "PanicException")


@pytest.mark.parametrize(
    "call, message",
    [
        (lambda: bp.fault("Internal error: boom"), "Internal error: boom"),
        (lambda: bp.other_exception(), "not a fault"),
        (lambda: bp.deferred_fault("Internal error: deferred", False), "Internal error: deferred"),
        # the deferred fault came first: it is the stop, the thrown one goes to standard error
        (lambda: bp.deferred_fault("Internal error: deferred", True), "Internal error: deferred"),
    ],
)
def test_cpp_exceptions_become_panics(call, message):
    with pytest.raises(bp.PanicException) as raised:
        call()
    assert raised.value.args == (message,)
    # except Exception must not swallow a fault
    with pytest.raises(bp.PanicException):
        try:
            call()
        except Exception:
            pytest.fail("a panic was caught as Exception")


def test_python_errors_pass_through_unchanged():
    with pytest.raises(ValueError, match="^bad value$"):
        bp.value_error()


def test_engine_text_is_decoded_with_replacement():
    assert bp.invalid_utf8() == "ok\ufffd"


def test_properties_and_items():
    probe = bp.Probe(1.5)
    probe.value = 4
    assert (probe.value, probe.doubled) == (4.0, 8.0)
    probe[0] = 2
    assert probe.value == 2.0
    with pytest.raises(AttributeError, match="^can't delete attribute$"):
        del probe.value
    with pytest.raises(NotImplementedError, match="^can't delete item$"):
        del probe[0]
    with pytest.raises(TypeError, match="^argument 'value': must be real number, not str$"):
        probe.value = "x"
    assert probe.value == 2.0


def test_class_without_constructor():
    with pytest.raises(TypeError, match=r"^cannot create 'binding_probe.Frozen' instances$"):
        bp.Frozen()
    frozen = bp.make_frozen(9)
    assert (type(frozen), frozen.id) == (bp.Frozen, 9)
    with pytest.raises(TypeError):
        class Sub(bp.Frozen):
            pass


def test_python_subclass_keeps_the_value():
    class Sub(bp.Probe):
        pass

    sub = Sub(2.5)
    sub.extra = "own dict"
    assert (sub.value, sub.doubled, bp.probe_value_of(sub), sub.extra) == (2.5, 5.0, 2.5, "own dict")


def test_module_all_lists_additions_in_order():
    assert bp.__all__[:3] == ["take_f64", "take_u8", "take_u32"]
    assert bp.__all__[-3:] == ["Probe", "Frozen", "PanicException"]
    assert bp.take_f64.__module__ == "binding_probe"
    assert bp.Probe.__module__ == "binding_probe"


DEALLOC_FAULT = """
import gc, sys
sys.path.insert(0, {fixtures!r})
import binding_probe as bp
kept = []
{hook}
bp.make_exploding()  # dropped at once
gc.collect()
for report in kept:
    print(type(report.exc_value).__name__, report.exc_value, report.object, sep="|")
del kept
gc.collect()
print("end")
"""


@pytest.mark.parametrize("hook", ["", "sys.unraisablehook = kept.append"])
def test_fault_while_deallocating_is_reported_once_and_frees_once(hook):
    # The debug allocator stops the process on a second free of the same block.
    code = DEALLOC_FAULT.format(fixtures=str(FIXTURE_DIR), hook=hook)
    env = dict(os.environ, PYTHONMALLOC="debug")
    result = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, timeout=60)
    text = "Internal error: Unexpected error while destroying internal handle to Exploding"
    assert result.returncode == 0, result.stderr[-2000:]
    if hook:
        assert result.stdout == f"PanicException|{text}|<class 'binding_probe.Exploding'>\nend\n"
        assert result.stderr == ""
    else:
        assert result.stdout == "end\n"
        assert result.stderr.count("Exception ignored in: <class 'binding_probe.Exploding'>") == 1
        assert result.stderr.count(f"PanicException: {text}") == 1


def test_adding_to_a_module_extends_all_first():
    import types

    module = types.ModuleType("m")
    bp.add_to_module(module, "a", 1)
    bp.add_to_module(module, "b", 2)
    assert (module.__all__, module.a, module.b) == (["a", "b"], 1, 2)

    module = types.ModuleType("m")
    module.__all__ = ("a",)
    with pytest.raises(TypeError, match=r"^'tuple' object cannot be cast as 'list'$"):
        bp.add_to_module(module, "b", 2)
    assert not hasattr(module, "b")


def test_protocol_slots():
    probe = bp.Probe(3)
    assert (str(probe), len(probe), probe[2], list(probe)) == ("Probe(3.000000)", 3, 6.0, [3, 2, 1])
    iterator = iter(probe)
    assert iter(iterator) is iterator
    with pytest.raises(TypeError, match="^argument 'index': 'str' object cannot be interpreted as an integer$"):
        probe["a"]
    with pytest.raises(ValueError, match="^negative length$"):
        len(bp.Probe(-1))
