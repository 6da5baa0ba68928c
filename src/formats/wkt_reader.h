// Reads WKT text and reports its geometry to a processor. The whole text is parsed first: a text
// the parser rejects reports no event. WKT carries no SRID, so none is reported.
#pragma once

#include <string_view>

#include "formats/processor.h"

namespace formats {

Status read_wkt(std::string_view text, Processor& processor);

}  // namespace formats
