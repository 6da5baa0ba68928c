// Spatial references of the engine: immutable values shared by every object that carries one
// (geometries, parts, builders copy the pointer, never the value), and the handle object that
// lends one to the engine's callers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/object.h"
#include "model/pool.h"

namespace model {

class SpatialReferenceData;  // defined in model/spatial_reference_data.h
using SpatialReferencePtr = std::shared_ptr<const SpatialReferenceData>;

// Each throws model::EngineError for an unknown code or text that cannot be parsed.
SpatialReferencePtr spatial_reference_from_wkid(int32_t wkid);
SpatialReferencePtr spatial_reference_from_wkid_and_vertical(int32_t wkid, int32_t vertical_wkid);
SpatialReferencePtr spatial_reference_from_wktext(std::string_view wktext);

uint32_t wkid_of(const SpatialReferenceData& sr);           // 0 when not identified
uint32_t vertical_wkid_of(const SpatialReferenceData& sr);  // 0 when none
std::string wktext_of(const SpatialReferenceData& sr);
bool equal(const SpatialReferenceData& a, const SpatialReferenceData& b);

class SpatialReference : public Object {
public:
    explicit SpatialReference(SpatialReferencePtr value)
        : Object(ClassTag::SpatialReference), value_(std::move(value)) {}
    MODEL_POOLED(SpatialReference)
    const SpatialReferencePtr& value() const { return value_; }

private:
    SpatialReferencePtr value_;
};

}  // namespace model
