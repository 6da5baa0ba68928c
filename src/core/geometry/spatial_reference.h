// The model spatial reference: a plain record of identifiers and texts, independent of the engine.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/geometry/errors.h"
#include "geometry/spatial_reference.h"

namespace core::geometry {

struct SpatialReference {
    std::optional<uint32_t> wkid;
    std::optional<uint32_t> latest_wkid;
    std::optional<uint32_t> vcs_wkid;
    std::optional<uint32_t> latest_vcs_wkid;
    std::optional<std::string> wkt;
    std::optional<std::string> wkt2;

    bool operator==(const SpatialReference&) const = default;

    // The compact JSON text: present fields in declared order, no blanks, {} when none is set.
    void write_veltjson(std::string& out) const;
};

// Into the engine: by the latest ids where present, else by wkt; wkt2 never goes. An engine
// refusal (an unknown id, unreadable text, a NUL inside the text) is a CorvaneLibrary error.
GeoResult<std::optional<::geometry::spatial_reference::SpatialReference>> to_geom_sr(
    const std::optional<SpatialReference>& sr);

// A call's shared engine spatial references (core/geometry/engine_sr.h): the conversions into the
// engine take one where a call makes many, none (null) where they make their own.
class EngineSrMemo;

// Back from the engine: wkid and vcs_wkid (0 means absent), wkt only when the wkid is 0 and the
// text is not empty.
SpatialReference sr_convert(const ::geometry::spatial_reference::SpatialReference& sr);

}  // namespace core::geometry
