#include "python/utils/builder/keys.h"

#include "python/utils/builder/objects.h"

namespace vornix::utils::builder {
namespace {

PyObject* interned(const char* text) { return created(PyUnicode_InternFromString(text)).release(); }

Keys make_keys() {
    return {
        interned("type"), interned("coordinates"), interned("geometries"), interned("meta"),
        interned("crs"), interned("srid"), interned("properties"), interned("name"),
        interned("Point"), interned("LineString"), interned("Polygon"), interned("MultiPoint"),
        interned("MultiLineString"), interned("MultiPolygon"), interned("GeometryCollection"),
        interned("x"), interned("y"), interned("z"), interned("m"), interned("spatialReference"),
        interned("wkid"), interned("paths"), interned("rings"), interned("points"), interned("hasM"),
        interned("hasZ"),
    };
}

}  // namespace

const Keys& keys() {
    static const Keys k = make_keys();
    return k;
}

}  // namespace vornix::utils::builder
