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

# The conversions of the utils submodule.
from vornix_geometry import utils

wkt = "POLYGON Z ((0 0 1, 0 10 1, 10 10 2, 10 0 2, 0 0 1))"
print()
print(f"  {wkt}")
print(f"    GeoJSON:  {utils.wkt_to_geojson_dict(wkt)}")
print(f"    VeltJSON: {utils.wkt_to_veltjson_dict(wkt)}")
ewkb = bytes.fromhex("0101000020E6100000000000000000F03F0000000000000040")
print(f"  EWKB {ewkb.hex()}")
print(f"    GeoJSON:  {utils.wkb_to_geojson_dict(ewkb)}")
ring = utils.wkt_to_geojson_dict(wkt)["coordinates"][0]
print(f"  ring runs clockwise: {utils.is_clockwise(ring)}")
