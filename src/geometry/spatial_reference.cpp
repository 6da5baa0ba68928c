#include "geometry/spatial_reference.h"

#include "base/interior_nul.h"
#include "geometry/c_string.h"
#include "geometry/environment.h"

namespace geometry::spatial_reference {

Result<SpatialReference> SpatialReference::with_wkid(uint32_t wkid) {
    environment::init();
    return handle::create<SpatialReference>(ENGINE_CALL(SpatialReference_create, static_cast<int32_t>(wkid)));
}

Result<SpatialReference> SpatialReference::with_wkid_vertical_wkid(uint32_t wkid, uint32_t vertical_wkid) {
    environment::init();
    return handle::create<SpatialReference>(ENGINE_CALL(SpatialReference_createVerticalWKID,
                                                        static_cast<int32_t>(wkid),
                                                        static_cast<int32_t>(vertical_wkid)));
}

Result<SpatialReference> SpatialReference::with_wktext(std::string_view wktext) {
    environment::init();
    if (core::interior_nul::first(wktext))
        return std::unexpected(Error{c_string::kInteriorNulCode, "Failed to convert string to CString.",
                                     "The well-known text holds a NUL character."});
    const std::string text(wktext);
    return handle::create<SpatialReference>(ENGINE_CALL(SpatialReference_createFromWKText, text.c_str()));
}

uint32_t SpatialReference::wkid() const {
    return call_or_stop(NAMED_ENGINE_CALL(SpatialReference_getWKID, handle()));
}

uint32_t SpatialReference::vertical_wkid() const {
    return call_or_stop(NAMED_ENGINE_CALL(SpatialReference_getVerticalWKID, handle()));
}

std::string SpatialReference::wktext() const {
    return string_from_handle(call_or_stop(NAMED_ENGINE_CALL(SpatialReference_getWKText, handle())));
}

}  // namespace geometry::spatial_reference
