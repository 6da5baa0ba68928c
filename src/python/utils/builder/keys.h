// The keys and type names the builders write (made through `created`, objects.h).
#pragma once

#include "python/binding/binding.h"

namespace vornix::utils::builder {

namespace keys {
using binding::Interned;
// GeoJSON
inline const Interned type{"type"}, coordinates{"coordinates"}, geometries{"geometries"}, meta{"meta"}, crs{"crs"},
    srid{"srid"}, properties{"properties"}, name{"name"};
inline const Interned Point{"Point"}, LineString{"LineString"}, Polygon{"Polygon"}, MultiPoint{"MultiPoint"},
    MultiLineString{"MultiLineString"}, MultiPolygon{"MultiPolygon"}, GeometryCollection{"GeometryCollection"};
// VeltJSON
inline const Interned x{"x"}, y{"y"}, z{"z"}, m{"m"}, spatialReference{"spatialReference"}, wkid{"wkid"},
    paths{"paths"}, rings{"rings"}, points{"points"}, hasM{"hasM"}, hasZ{"hasZ"};
}  // namespace keys

}  // namespace vornix::utils::builder
