// The interned strings the builders use as keys and type names, created once per process on
// first use and kept until it ends.
#pragma once

#include "python/binding/binding.h"

namespace vornix::utils::builder {

struct Keys {
    // GeoJSON
    PyObject *type, *coordinates, *geometries, *meta, *crs, *srid, *properties, *name;
    PyObject *Point, *LineString, *Polygon, *MultiPoint, *MultiLineString, *MultiPolygon, *GeometryCollection;
    // VeltJSON
    PyObject *x, *y, *z, *m, *spatialReference, *wkid, *paths, *rings, *points, *hasM, *hasZ;
};

const Keys& keys();

}  // namespace vornix::utils::builder
