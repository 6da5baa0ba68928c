// Text bound for a C string (the engine's, or the C library's). A NUL inside it would cut the text
// short without the receiver noticing, so such text is found here, by every layer that sends
// text, and refused with one wording.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace core::interior_nul {

// The position of the first NUL in `text`, in bytes; none when there is none.
inline std::optional<size_t> first(std::string_view text) {
    const size_t at = text.find('\0');
    if (at == std::string_view::npos) return std::nullopt;
    return at;
}

// The same position in characters of `utf8` (valid UTF-8, as a Python str gives it): the bytes
// before the NUL that begin a character.
inline std::optional<size_t> first_character(std::string_view utf8) {
    const auto at = first(utf8);
    if (!at) return std::nullopt;
    size_t characters = 0;
    for (unsigned char byte : utf8.substr(0, *at))
        if ((byte & 0xC0) != 0x80) ++characters;
    return characters;
}

// "<what> holds a NUL character at position <position>."
inline std::string refusal(std::string_view what, size_t position) {
    std::string text(what);
    text.append(" holds a NUL character at position ").append(std::to_string(position)).append(".");
    return text;
}

}  // namespace core::interior_nul
