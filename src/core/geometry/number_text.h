// Float texts of the data model.
#pragma once

#include <string>

namespace core::geometry {

// Appends the VeltJSON number: the shortest decimal that reads back as the same float, in plain
// positional notation (1e23 is 100000000000000000000000, 1e-7 is 0.0000001, 1.0 is 1). Of two
// shortest candidates exactly equally close, the one larger in magnitude is written. NaN is NaN
// whatever its sign, infinities inf and -inf, negative zero -0.
void write_number(std::string& out, double value);

// The debug form used inside error texts: the same shortest digits, a whole number keeps ".0",
// and magnitudes from 1e16 up or below 1e-4 use an exponent ("1e16", "1.5e-7").
std::string debug_number(double value);

}  // namespace core::geometry
