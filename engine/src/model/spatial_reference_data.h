// The value behind every engine spatial reference: the PROJ coordinate system together with what
// the engine reports of it, worked out once when the value is made so that reading it never fails.
#pragma once

#include <cstdint>
#include <string>

#include "model/proj_context.h"
#include "model/spatial_reference.h"

namespace model {

class SpatialReferenceData {
public:
    SpatialReferenceData(proj::ObjectPtr crs, uint32_t wkid, uint32_t vertical_wkid, std::string wktext)
        : crs_(std::move(crs)), wkid_(wkid), vertical_wkid_(vertical_wkid), wktext_(std::move(wktext)) {}

    // The PROJ coordinate system (compound when there is a vertical one); use it only while a
    // proj::Session is alive.
    PJ* crs() const { return crs_.get(); }
    uint32_t wkid() const { return wkid_; }
    uint32_t vertical_wkid() const { return vertical_wkid_; }
    // Single-line WKT2:2019 as PROJ writes it.
    const std::string& wktext() const { return wktext_; }

private:
    proj::ObjectPtr crs_;
    uint32_t wkid_;
    uint32_t vertical_wkid_;
    std::string wktext_;
};

}  // namespace model
