// Weak stand-ins for the spatial reference functions, so that the engine links on its own; the
// real definitions (strong) replace them wherever they are built into the library.
#include "api/engine_error.h"
#include "model/spatial_reference.h"

namespace model {
namespace {

[[noreturn]] void unavailable() {
    throw api::EngineError(api::kNotImplemented, "Spatial references are not available in this engine.");
}

}  // namespace

__attribute__((weak)) SpatialReferencePtr spatial_reference_from_wkid(int32_t) { unavailable(); }
__attribute__((weak)) SpatialReferencePtr spatial_reference_from_wkid_and_vertical(int32_t, int32_t) { unavailable(); }
__attribute__((weak)) SpatialReferencePtr spatial_reference_from_wktext(std::string_view) { unavailable(); }
__attribute__((weak)) uint32_t wkid_of(const SpatialReferenceData&) { return 0; }
__attribute__((weak)) uint32_t vertical_wkid_of(const SpatialReferenceData&) { return 0; }
__attribute__((weak)) std::string wktext_of(const SpatialReferenceData&) { return {}; }
__attribute__((weak)) bool equal(const SpatialReferenceData& a, const SpatialReferenceData& b) { return &a == &b; }

}  // namespace model
