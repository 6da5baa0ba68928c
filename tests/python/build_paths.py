"""Where the build put the module, the engine and the test fixtures."""
import os
import pathlib

BUILD = pathlib.Path(os.environ.get("VORNIX_BUILD", pathlib.Path(__file__).resolve().parents[2] / "build"))
MODULE_DIR = BUILD / "python"
FIXTURE_DIR = BUILD / "fixtures"
ENGINE = BUILD / "corvane_bin" / "linux-x86_64" / "libcorvane.so"
