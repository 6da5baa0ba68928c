// The few pieces of Unicode that engine texts need: UTF-8 decoding (strict and lossy), the full
// upper-case mapping of one character and the characters that a quoted text escapes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace geometry::unicode {

// The code point that starts at `pos` and its length in bytes; nothing when the bytes there are
// not well-formed UTF-8 (overlong forms, surrogates and values above U+10FFFF included).
struct Decoded {
    char32_t code_point;
    size_t length;
};
std::optional<Decoded> decode_at(std::string_view text, size_t pos);

bool is_valid_utf8(std::string_view text);

// The text with every maximal ill-formed subsequence replaced by U+FFFD, the way paths and other
// byte strings are shown to people.
std::string lossy(std::string_view text);

void append_utf8(std::string& out, char32_t code_point);

// Appends the full upper-case form of `code_point`, which may be several characters ("ß" -> "SS").
void append_upper(std::string& out, char32_t code_point);

// Whether a quoted text writes the character as \u{...}: it extends a grapheme (Grapheme_Extend),
// or it is not printable (a control, format, surrogate, private-use or unassigned code point, a
// line or paragraph separator, or a space other than U+0020).
bool is_debug_escaped(char32_t code_point);

}  // namespace geometry::unicode
