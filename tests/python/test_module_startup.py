"""The module start-up: registration, __version__, __all__, the submodules, and the early engine
load from sys.prefix with its warnings on file descriptor 1. Each import runs in a fresh
interpreter, since a load (or a failed one) lasts for the whole process."""
import os
import struct
import subprocess
import sys

import pytest

from build_paths import ENGINE, MODULE_DIR


def run_python(code, *, capture=False):
    env = dict(os.environ, PYTHONPATH=str(MODULE_DIR))
    env.pop("GEOMETRY_LIB_PATH", None)
    return subprocess.run([sys.executable, "-c", code], env=env, text=True,
                          capture_output=capture, timeout=60)


def import_with_prefix(prefix_statement, capfd, after=""):
    """Imports the module after `prefix_statement` has set sys.prefix; gives (status, fd 1, fd 2)."""
    code = f"import sys\n{prefix_statement}\nimport vornix_geometry\n{after}"
    status = run_python(code).returncode
    out, err = capfd.readouterr()
    return status, out, err


def not_found(path):
    return f"Warning: was unable to find corvane lib in sys.prefix.\n Path: {path}\n"


def not_a_file(path):
    return f"Warning: corvane lib at {path} was not a file\n"


NO_PREFIX = "Warning: could not find sys prefix while loading vornix_native module\n"


def make_prefix(tmp_path, kind):
    """A prefix folder whose libcorvane.so is `kind`; gives the prefix text to set."""
    target = tmp_path / "libcorvane.so"
    if kind == "folder":
        target.mkdir()
    elif kind == "broken link":
        target.symlink_to(tmp_path / "missing.so")
    elif kind == "link to a device":
        target.symlink_to("/dev/null")
    elif kind == "prefix is a file":
        (tmp_path / "plain").write_text("")
        return str(tmp_path / "plain")
    return str(tmp_path)


@pytest.mark.parametrize(
    "kind, expected",
    [
        ("nothing", not_found),
        ("broken link", not_found),
        ("prefix is a file", not_found),
        ("folder", not_a_file),
        ("link to a device", not_a_file),
    ],
)
def test_prefix_without_a_library_warns_and_imports(tmp_path, capfd, kind, expected):
    prefix = make_prefix(tmp_path, kind)
    status, out, err = import_with_prefix(f"sys.prefix = {prefix!r}", capfd, "print(vornix_geometry.__version__)")
    assert (status, out, err) == (0, expected(prefix + "/libcorvane.so") + "1.0.284\n", "")


def test_prefix_is_used_as_it_comes(tmp_path, capfd):
    status, out, _ = import_with_prefix(f"sys.prefix = {str(tmp_path) + '/'!r}", capfd)
    assert (status, out) == (0, not_found(f"{tmp_path}//libcorvane.so"))


@pytest.mark.parametrize(
    "statement",
    ["del sys.prefix", "sys.prefix = 5", "sys.prefix = None", "sys.prefix = '\\ud800'"],
)
def test_unreadable_prefix_warns_and_imports(capfd, statement):
    assert import_with_prefix(statement, capfd) == (0, NO_PREFIX, "")


def test_warnings_bypass_python_stdout(tmp_path, capfd):
    statement = f"import io\nsys.stdout = io.StringIO()\nsys.prefix = {str(tmp_path)!r}"
    status, out, _ = import_with_prefix(statement, capfd)
    assert (status, out) == (0, not_found(f"{tmp_path}/libcorvane.so"))


def test_second_import_runs_no_second_start_up(tmp_path, capfd):
    after = ("first = vornix_geometry\ndel sys.modules['vornix_geometry']\n"
             "import vornix_geometry\nassert vornix_geometry is first")
    status, out, _ = import_with_prefix(f"sys.prefix = {str(tmp_path)!r}", capfd, after)
    assert (status, out) == (0, not_found(f"{tmp_path}/libcorvane.so"))


ONE_INTERPRETER = "<class 'ImportError'>: vornix_geometry can be imported in one interpreter per process only"

SUBINTERPRETER_IMPORTS = """
import _xxsubinterpreters as interpreters

def import_in_a_new_interpreter():
    interpreter = interpreters.create()
    try:
        interpreters.run_string(interpreter, "import vornix_geometry; assert vornix_geometry.utils is not None")
        return "imported"
    except interpreters.RunFailedError as error:
        return str(error)
    finally:
        interpreters.destroy(interpreter)
"""


@pytest.mark.parametrize(
    "steps, expected",
    [
        # the main interpreter first: every other interpreter is refused
        ("import vornix_geometry\nprint(import_in_a_new_interpreter())", [ONE_INTERPRETER]),
        # a sub-interpreter first: its successors are refused even where they reuse its address
        ("for _ in range(3):\n    print(import_in_a_new_interpreter())", ["imported", ONE_INTERPRETER, ONE_INTERPRETER]),
    ],
)
def test_one_interpreter_per_process(steps, expected):
    result = run_python(SUBINTERPRETER_IMPORTS + steps, capture=True)
    outcomes = [line for line in result.stdout.splitlines() if line.startswith(("imported", "<class"))]
    assert (result.returncode, outcomes) == (0, expected), result.stderr


PROBE = """
try:
    import vornix_geometry
    print("imported")
except BaseException as error:
    print(type(error).__module__, type(error).__name__, error, sep="|")
"""


def test_broken_library_in_prefix_fails_the_import_with_a_panic(tmp_path):
    (tmp_path / "libcorvane.so").write_text("not a shared library")
    result = run_python(f"import sys\nsys.prefix = {str(tmp_path)!r}\n{PROBE}{PROBE}", capture=True)
    first, second = result.stdout.splitlines()
    module, name, message = first.split("|", 2)
    assert (module, name) == ("pyo3_runtime", "PanicException")
    assert message.startswith(f"Failed to load corvane library at {tmp_path}/libcorvane.so: ")
    # the failed load lasts for the process: importing again fails again
    assert second.startswith("pyo3_runtime|PanicException|")


def loadable_segments_end(image):
    """Where the last loadable segment of a 64-bit ELF image ends in the file."""
    phoff, = struct.unpack_from("<Q", image, 32)
    phentsize, phnum = struct.unpack_from("<HH", image, 54)
    ends = []
    for i in range(phnum):
        kind, _, offset, _, _, filesz = struct.unpack_from("<IIQQQQ", image, phoff + i * phentsize)
        if kind == 1:  # PT_LOAD
            ends.append(offset + filesz)
    return max(ends)


def patched(image, offset, value):
    return image[:offset] + value + image[offset + len(value):]


@pytest.mark.parametrize(
    "damage, reason",
    [
        (lambda image: image[:40], "file too short"),
        (lambda image: image[:100], "file too short: the program headers lie past its end"),
        (lambda image: image[:loadable_segments_end(image) // 2], "file too short: a loadable segment lies past its end"),
        (lambda image: image[:loadable_segments_end(image) - 1], "file too short: a loadable segment lies past its end"),
        (lambda image: image[:-1], "file too short: the section header table lies past its end"),
        (lambda image: patched(image, 4, b"\x01"), "wrong ELF class"),
        (lambda image: patched(image, 18, struct.pack("<H", 183)), "built for another machine"),
        (lambda image: patched(image, 16, struct.pack("<H", 2)), "not a shared object"),
    ],
)
def test_damaged_library_in_prefix_fails_the_import_instead_of_the_process(tmp_path, damage, reason):
    target = tmp_path / "libcorvane.so"
    target.write_bytes(damage(ENGINE.read_bytes()))
    result = run_python(f"import sys\nsys.prefix = {str(tmp_path)!r}\n{PROBE}", capture=True)
    assert result.returncode == 0, result.stderr[-2000:]
    assert result.stdout == (f"pyo3_runtime|PanicException|Failed to load corvane library at {target}: "
                             f"Could not open library: {target}: {reason}\n")


def test_library_linked_into_prefix_is_loaded_during_the_import(tmp_path):
    (tmp_path / "libcorvane.so").symlink_to(ENGINE)
    code = (f"import sys\nsys.prefix = {str(tmp_path)!r}\nimport vornix_geometry\n"
            "print(any(line.rstrip().endswith('libcorvane.so') for line in open('/proc/self/maps')))")
    result = run_python(code, capture=True)
    assert (result.returncode, result.stdout, result.stderr) == (0, "True\n", "")


def test_module_namespace_and_submodules():
    code = """
import sys, vornix_geometry as vg
import vornix_geometry.projection, vornix_geometry.utils
from vornix_geometry.utils import *
assert vg.__all__[-3:] == ["projection", "utils", "__version__"], vg.__all__
assert len(set(vg.__all__)) == len(vg.__all__)
assert all(hasattr(vg, name) for name in vg.__all__)
assert vg.__version__ == "1.0.284"
assert vg.__doc__
for name, doc in [("projection", "Projection and datum transformation utilities for Vornix geometries"),
                  ("utils", "Utility functions for Vornix geometries")]:
    sub = getattr(vg, name)
    assert sys.modules["vornix_geometry." + name] is sub
    assert (sub.__name__, sub.__doc__) == (name, doc)
print("ok")
"""
    result = run_python(code, capture=True)
    assert (result.returncode, result.stdout.splitlines()[-1], result.stderr) == (0, "ok", ""), result.stderr
