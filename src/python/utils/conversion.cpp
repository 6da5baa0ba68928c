#include "python/utils/conversion.h"

#include <string>

#include "python/utils/builder/geojson.h"
#include "python/utils/builder/veltjson.h"
#include "formats/wkb_reader.h"
#include "formats/wkt_reader.h"

namespace vornix::utils {
namespace {

using binding::PyResult;
using binding::Ref;

// WKT carries no SRID and WKB none outside an EWKB header: geometries are WGS 84 unless told.
constexpr std::int32_t default_srid = 4326;

template <typename Builder, typename Read>
PyResult<Ref> convert(Read&& read) {
    std::string error;
    PyObject* type = PyExc_RuntimeError;
    {
        Builder builder(default_srid);
        const formats::Status status = read(builder);
        if (status) return std::move(builder).finish();
        error = status.error().display();
        if (status.error().kind == formats::Error::Kind::not_implemented) type = PyExc_NotImplementedError;
    }  // the builder and all it holds are gone before the exception is raised
    return binding::fail(type, error);
}

template <typename Builder>
PyResult<Ref> convert_wkt(std::string_view wkt) {
    return convert<Builder>([&](formats::Processor& p) { return formats::read_wkt(wkt, p); });
}

template <typename Builder>
PyResult<Ref> convert_wkb(binding::Bytes wkb) {
    return convert<Builder>([&](formats::Processor& p) { return formats::read_wkb(wkb.data, formats::choose_dialect(wkb.data), p); });
}

}  // namespace

PyResult<Ref> wkt_to_geojson_dict(std::string_view wkt) { return convert_wkt<builder::GeoJsonPyBuilder>(wkt); }
PyResult<Ref> wkt_to_veltjson_dict(std::string_view wkt) { return convert_wkt<builder::VeltJsonPyBuilder>(wkt); }
PyResult<Ref> wkb_to_geojson_dict(binding::Bytes wkb) { return convert_wkb<builder::GeoJsonPyBuilder>(wkb); }
PyResult<Ref> wkb_to_veltjson_dict(binding::Bytes wkb) { return convert_wkb<builder::VeltJsonPyBuilder>(wkb); }

}  // namespace vornix::utils
