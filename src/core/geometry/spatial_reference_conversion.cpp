// The model spatial reference into and out of the engine.
#include "core/geometry/engine_sr.h"
#include "core/geometry/spatial_reference.h"

namespace core::geometry {

namespace {

using Engine = ::geometry::spatial_reference::SpatialReference;

GeoResult<EngineSr> made(::geometry::Result<Engine> result) {
    if (!result) return std::unexpected(VeltGeoErr::from_engine(result.error()));
    return EngineSr(std::move(*result));
}

}  // namespace

GeoResult<EngineSr> to_geom_sr(std::optional<SpatialReference> sr) {
    if (!sr) return std::nullopt;
    if (const auto horizontal = sr->latest_wkid ? sr->latest_wkid : sr->wkid) {
        const auto vertical = sr->latest_vcs_wkid ? sr->latest_vcs_wkid : sr->vcs_wkid;
        return made(vertical ? Engine::with_wkid_vertical_wkid(*horizontal, *vertical) : Engine::with_wkid(*horizontal));
    }
    if (sr->wkt) return made(Engine::with_wktext(*sr->wkt));
    return std::nullopt;
}

SpatialReference sr_convert(Engine sr) {
    SpatialReference record;
    const uint32_t wkid = sr.wkid();
    const uint32_t vertical = sr.vertical_wkid();
    if (wkid != 0) record.wkid = wkid;
    if (vertical != 0) record.vcs_wkid = vertical;
    if (wkid == 0) {
        std::string text = sr.wktext();
        if (!text.empty()) record.wkt = std::move(text);
    }
    return record;
}

}  // namespace core::geometry
