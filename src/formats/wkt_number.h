// The number grammar of WKT: an optional sign, then "inf", "infinity" or "nan" in any case, or
// digits with an optional point and an optional exponent, at least one digit before the
// exponent. Values beyond the range of a double become infinities or zeros, as rounding would
// make them. The parse does not depend on the locale.
#pragma once

#include <string_view>

namespace formats {

// Sets `value` and gives true, or gives false for a text that is no number.
bool parse_wkt_number(std::string_view text, double& value);

}  // namespace formats
