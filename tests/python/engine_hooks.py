"""The engine's test hooks, reached through ctypes on the very library the module loads: live-object
counts and fault injection (the next call of a named engine function fails in a chosen way)."""
import contextlib
import ctypes
import os

from build_paths import ENGINE

# The module finds the engine through this variable on its first engine call.
os.environ.setdefault("GEOMETRY_LIB_PATH", str(ENGINE))

REPORT_ERROR, RETURN_NULL, BAD_CODE = 1, 2, 3

_engine = None


def engine():
    global _engine
    if _engine is None:
        _engine = ctypes.CDLL(os.environ["GEOMETRY_LIB_PATH"])
        _engine.KXT_live_objects.restype = ctypes.c_int64
        _engine.KXT_live_objects.argtypes = [ctypes.c_char_p]
        _engine.KXT_fail_next.argtypes = [ctypes.c_char_p, ctypes.c_int32]
    return _engine


def live_objects(class_name="*"):
    return engine().KXT_live_objects(class_name.encode())


@contextlib.contextmanager
def failing(function, mode):
    """The next call of `function` inside the block fails; whatever is still armed is cleared."""
    engine().KXT_fail_next(function.encode(), mode)
    try:
        yield
    finally:
        engine().KXT_reset()
