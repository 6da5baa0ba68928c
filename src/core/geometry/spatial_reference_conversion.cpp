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

GeoResult<EngineSr> to_geom_sr(const std::optional<SpatialReference>& sr) {
    if (!sr) return std::nullopt;
    if (const auto horizontal = sr->latest_wkid ? sr->latest_wkid : sr->wkid) {
        const auto vertical = sr->latest_vcs_wkid ? sr->latest_vcs_wkid : sr->vcs_wkid;
        return made(vertical ? Engine::with_wkid_vertical_wkid(*horizontal, *vertical) : Engine::with_wkid(*horizontal));
    }
    if (sr->wkt) return made(Engine::with_wktext(*sr->wkt));
    return std::nullopt;
}

EngineSrMemo::EngineSrMemo() = default;
EngineSrMemo::EngineSrMemo(EngineSrMemo&&) noexcept = default;
EngineSrMemo::~EngineSrMemo() = default;

GeoResult<const EngineSr*> EngineSrMemo::lend(const std::optional<SpatialReference>& sr) {
    if (key_ && *key_ == sr) return &engine_;
    key_.reset();  // no key while `engine_` is being replaced
    auto made = to_geom_sr(sr);
    if (!made) return std::unexpected(std::move(made.error()));
    engine_ = std::move(*made);
    key_ = sr;
    return &engine_;
}

GeoResult<const EngineSr*> engine_sr_of(const std::optional<SpatialReference>& sr, EngineSrMemo* memo, EngineSr& own) {
    if (memo != nullptr) return memo->lend(sr);
    auto made = to_geom_sr(sr);
    if (!made) return std::unexpected(std::move(made.error()));
    own = std::move(*made);
    return &own;
}

SpatialReference sr_convert(const Engine& sr) {
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
