// The four conversions of the utils submodule: WKT text, or WKB / EWKB bytes, into a GeoJSON or a
// VeltJSON dictionary. A reader or builder error raises RuntimeError with its display text.
#pragma once

#include <string_view>

#include "python/binding/binding.h"

namespace vornix::utils {

binding::PyResult<binding::Ref> wkt_to_geojson_dict(std::string_view wkt);
binding::PyResult<binding::Ref> wkt_to_veltjson_dict(std::string_view wkt);
// EWKB when the first type word carries an EWKB flag, ISO WKB otherwise.
binding::PyResult<binding::Ref> wkb_to_geojson_dict(binding::Bytes wkb);
binding::PyResult<binding::Ref> wkb_to_veltjson_dict(binding::Bytes wkb);

}  // namespace vornix::utils
