// The number grammar of WKT: an optional sign, then "inf", "infinity" or "nan" in any case, or
// digits with an optional point and an optional exponent, at least one digit before the
// exponent. Values beyond the range of a double become infinities or zeros, as rounding would
// make them. The parse does not depend on the locale.
#pragma once

#include <optional>
#include <string_view>

namespace vornix::utils::reader {

std::optional<double> parse_wkt_number(std::string_view text);

}  // namespace vornix::utils::reader
