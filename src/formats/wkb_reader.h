// Reads ISO WKB and EWKB from memory and reports the geometry to a processor as it goes: events
// already reported stay reported when the input turns out to be short.
#pragma once

#include <cstdint>
#include <span>

#include "formats/processor.h"

namespace formats {

enum class WkbDialect { iso, ewkb };

// The dialect of `wkb`: EWKB when its first type word carries one of the EWKB flags, ISO WKB
// otherwise (and for anything shorter than a header).
WkbDialect choose_dialect(std::span<const std::uint8_t> wkb);

Status read_wkb(std::span<const std::uint8_t> wkb, WkbDialect dialect, Processor& processor);

}  // namespace formats
