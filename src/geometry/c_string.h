// Text that the engine takes as a NUL-terminated C string. A NUL inside it would cut the text
// short without the engine noticing, so such text never reaches the engine: it is an ordinary
// error, which the Python layer raises as ValueError (it is user input, not a fault).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "geometry/error.h"

namespace geometry::c_string {

// The code of the error for text holding a NUL character.
inline constexpr int32_t kInteriorNulCode = 100001;

// A NUL-terminated copy of `text` (its c_str()), or the interior-NUL error: code kInteriorNulCode,
// `message` as its message and "<what> holds a NUL character at position <n>." (n in bytes) as its
// additional message.
Result<std::string> copy(std::string_view text, std::string_view message, std::string_view what);

}  // namespace geometry::c_string
