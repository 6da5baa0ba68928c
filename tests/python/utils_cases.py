"""Geometries described once and written as WKT, ISO WKB or EWKB, with the dictionaries the
conversions must give for them."""
import struct

CODES = {"Point": 1, "LineString": 2, "Polygon": 3, "MultiPoint": 4, "MultiLineString": 5,
         "MultiPolygon": 6, "GeometryCollection": 7}
DIMS = {"xy": (False, False), "z": (True, False), "m": (False, True), "zm": (True, True)}
WKT_DIM = {"xy": "", "z": " Z", "m": " M", "zm": " ZM"}


def vertex(x, y, dims):
    has_z, has_m = DIMS[dims]
    return (float(x), float(y)) + ((x + 100.0,) if has_z else ()) + ((y + 200.0,) if has_m else ())


def sample(kind, dims):
    """Coordinates of one geometry of `kind`; rings already run as VeltJSON wants them (exterior
    clockwise, holes counter-clockwise), so that both builders keep them."""
    v = lambda x, y: vertex(x, y, dims)
    exterior = [v(0, 0), v(0, 10), v(10, 10), v(10, 0), v(0, 0)]
    hole = [v(2, 2), v(4, 2), v(4, 4), v(2, 4), v(2, 2)]
    return {
        "Point": v(1, 2),
        "LineString": [v(0, 0), v(1, 1), v(2, 0.5)],
        "Polygon": [exterior, hole],
        "MultiPoint": [v(1, 2), v(3, 4)],
        "MultiLineString": [[v(0, 0), v(1, 1)], [v(5, 5), v(6, 6), v(7, 5)]],
        "MultiPolygon": [[exterior], [[v(20, 20), v(20, 30), v(30, 30), v(20, 20)], hole]],
    }[kind]


KINDS = ["Point", "LineString", "Polygon", "MultiPoint", "MultiLineString", "MultiPolygon"]


# ---- writers -------------------------------------------------------------------------------------

def wkt(kind, coords, dims="xy"):
    def ordinates(c):
        return " ".join(repr(x) for x in c)

    def seq(items, f):
        return "(" + ", ".join(f(i) for i in items) + ")"

    body = {
        "Point": lambda c: "(" + ordinates(c) + ")",
        "LineString": lambda c: seq(c, ordinates),
        "Polygon": lambda c: seq(c, lambda r: seq(r, ordinates)),
        "MultiPoint": lambda c: seq(c, ordinates),
        "MultiLineString": lambda c: seq(c, lambda l: seq(l, ordinates)),
        "MultiPolygon": lambda c: seq(c, lambda p: seq(p, lambda r: seq(r, ordinates))),
        "GeometryCollection": lambda c: seq(c, lambda m: wkt(*m)),
    }[kind](coords)
    return kind.upper() + WKT_DIM[dims] + " " + body


def wkb(kind, coords, dims="xy", order="<", dialect="iso", srid=None):
    """ISO WKB, or EWKB with the SRID (if any) in the top-level header only."""
    has_z, has_m = DIMS[dims]

    def header(k, top):
        code = CODES[k]
        if dialect == "iso":
            code += 1000 * {"xy": 0, "z": 1, "m": 2, "zm": 3}[dims]
        else:
            code |= (0x80000000 if has_z else 0) | (0x40000000 if has_m else 0)
            if top and srid is not None:
                code |= 0x20000000
        out = bytes([1 if order == "<" else 0]) + struct.pack(order + "I", code)
        if dialect == "ewkb" and top and srid is not None:
            out += struct.pack(order + "i", srid)
        return out

    def point(c):
        return struct.pack(order + "d" * len(c), *c)

    def count(items):
        return struct.pack(order + "I", len(items))

    def line(c):
        return count(c) + b"".join(point(p) for p in c)

    def polygon(c):
        return count(c) + b"".join(line(r) for r in c)

    def geometry(k, c, top):
        if k == "GeometryCollection":
            return header(k, top) + count(c) + b"".join(wkb_member(*m) for m in c)
        members = {"MultiPoint": "Point", "MultiLineString": "LineString", "MultiPolygon": "Polygon"}
        if k in members:
            return header(k, top) + count(c) + b"".join(geometry(members[k], m, False) for m in c)
        return header(k, top) + {"Point": point, "LineString": line, "Polygon": polygon}[k](c)

    def wkb_member(k, c, member_dims="xy"):
        return wkb(k, c, member_dims, order, dialect)

    return geometry(kind, coords, True)


# ---- expected dictionaries ---------------------------------------------------------------------

def geojson(kind, coords, srid=4326):
    reference = {"meta": {"srid": srid}, "crs": {"type": "name", "properties": {"name": f"EPSG:{srid}"}}}
    if kind == "GeometryCollection":
        return {"type": kind, "geometries": [geojson(k, c, srid) for k, c, *_ in coords], **reference}
    return {"type": kind, "coordinates": coords, **reference}


def veltjson(kind, coords, dims="xy", srid=4326):
    has_z, has_m = DIMS[dims]
    reference = {"spatialReference": {"wkid": srid}}
    flags = {"hasM": has_m, "hasZ": has_z}
    if kind == "Point":
        named = {"x": coords[0], "y": coords[1]}
        if has_z:
            named["z"] = coords[2]
        if has_m:
            named["m"] = coords[-1]
        return {**named, **reference}
    if kind == "MultiPoint":
        return {**flags, "points": coords, **reference}
    member, parts = {
        "LineString": ("paths", [coords]),
        "MultiLineString": ("paths", coords),
        "Polygon": ("rings", coords),
        "MultiPolygon": ("rings", [ring for polygon in coords for ring in polygon]),
    }[kind]
    return {member: parts, **flags, **reference}


def ordered(value):
    """Dictionaries as lists of pairs, so that a comparison also checks the order of keys."""
    if isinstance(value, dict):
        return [(k, ordered(v)) for k, v in value.items()]
    if isinstance(value, list):
        return [ordered(v) for v in value]
    return value
