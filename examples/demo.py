"""Imports vornix_geometry and shows what it loaded."""
import os
import sys

import vornix_geometry as vg


def mapped_engine():
    """The path of the engine library mapped into this process, if any."""
    with open("/proc/self/maps") as maps:
        for line in maps:
            fields = line.split(maxsplit=5)
            if len(fields) == 6 and fields[5].rstrip().endswith("libcorvane.so"):
                return fields[5].rstrip()
    return None


print(f"vornix_geometry {vg.__version__}")
print(f"  module:     {vg.__file__}")
engine = mapped_engine()
if engine:
    print(f"  engine:     {engine} (loaded at import from sys.prefix)")
else:
    where = os.environ.get("GEOMETRY_LIB_PATH") or "the search beside the interpreter and the build folder"
    print(f"  engine:     not in sys.prefix ({sys.prefix}); loaded on first use from {where}")
for name in ("projection", "utils"):
    submodule = getattr(vg, name)
    print(f"  submodule:  {sys.modules['vornix_geometry.' + name].__name__} - {submodule.__doc__}"
          f" ({len(getattr(submodule, '__all__', []))} names)")
print(f"  __all__:    {len(vg.__all__)} names, last {vg.__all__[-3:]}")
