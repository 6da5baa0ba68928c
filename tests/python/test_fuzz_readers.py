"""The dictionary readers, the part views and the texts under random input (fuzz_readers.py), in
a fresh interpreter with the debug allocator, where a read of freed memory ends the process.
VORNIX_FUZZ_SECONDS sets the budget (a few seconds by default; give minutes for a real run)."""
import os
import pathlib
import subprocess
import sys

from build_paths import ENGINE, MODULE_DIR

SECONDS = float(os.environ.get("VORNIX_FUZZ_SECONDS", "4"))


def test_random_and_hostile_input_never_faults(tmp_path):
    env = dict(os.environ, PYTHONMALLOC="debug", PYTHONPATH=str(MODULE_DIR), GEOMETRY_LIB_PATH=str(ENGINE))
    driver = pathlib.Path(__file__).with_name("fuzz_readers.py")
    result = subprocess.run([sys.executable, "-W", "ignore", str(driver), str(SECONDS)], env=env, cwd=tmp_path,
                            capture_output=True, text=True, timeout=SECONDS * 3 + 120)
    assert result.returncode == 0, (result.stdout + result.stderr)[-5000:]
    assert result.stdout.endswith("findings 0\n")
