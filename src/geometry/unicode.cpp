#include "geometry/unicode.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace geometry::unicode {
namespace {

struct UpperRun {
    char32_t first;
    char32_t last;
    int32_t delta;
    uint32_t stride;
};
struct UpperSpecial {
    char32_t code_point;
    const char* upper;
};
struct CodePointRange {
    char32_t first;
    char32_t last;
};

#include "geometry/unicode_tables.inc"

// The last entry whose first code point is not above `cp`, or nothing.
template <typename Entry, size_t N, typename Key>
const Entry* last_at_or_before(const Entry (&table)[N], char32_t cp, Key key) {
    auto it = std::upper_bound(std::begin(table), std::end(table), cp,
                               [&](char32_t value, const Entry& e) { return value < key(e); });
    return it == std::begin(table) ? nullptr : &*std::prev(it);
}

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

namespace {

// Decodes one sequence. On failure `length` is the size of the maximal ill-formed subpart: the
// bytes that still looked like the start of a well-formed sequence (at least one), which a lossy
// reading replaces by one U+FFFD.
struct Scan {
    bool ok;
    char32_t code_point;
    size_t length;
};

Scan scan(std::string_view text, size_t pos) {
    auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(pos);
    if (lead < 0x80) return {true, lead, 1};
    size_t length;
    char32_t cp;
    // The permitted range of the second byte narrows for E0, ED, F0 and F4: that one check rules
    // out overlong forms, surrogates and values beyond U+10FFFF.
    uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, cp = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, cp = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {false, 0, 1};
    }
    for (size_t i = 1; i < length; ++i) {
        if (pos + i >= text.size()) return {false, 0, i};
        const uint8_t b = byte(pos + i);
        if (b < (i == 1 ? low : 0x80) || b > (i == 1 ? high : 0xBF)) return {false, 0, i};
        cp = (cp << 6) | (b & 0x3F);
    }
    return {true, cp, length};
}

}  // namespace

std::optional<Decoded> decode_at(std::string_view text, size_t pos) {
    const Scan s = scan(text, pos);
    if (!s.ok) return std::nullopt;
    return Decoded{s.code_point, s.length};
}

bool is_valid_utf8(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        const Scan s = scan(text, pos);
        if (!s.ok) return false;
        pos += s.length;
    }
    return true;
}

std::string lossy(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        const Scan s = scan(text, pos);
        if (s.ok)
            out.append(text.substr(pos, s.length));
        else
            append_utf8(out, kReplacement);
        pos += s.length;
    }
    return out;
}

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void append_upper(std::string& out, char32_t cp) {
    auto special = std::lower_bound(std::begin(kUpperSpecials), std::end(kUpperSpecials), cp,
                                    [](const UpperSpecial& e, char32_t value) { return e.code_point < value; });
    if (special != std::end(kUpperSpecials) && special->code_point == cp) {
        out.append(special->upper);
        return;
    }
    const auto* run = last_at_or_before(kUpperRuns, cp, [](const UpperRun& e) { return e.first; });
    if (run != nullptr && cp <= run->last && (cp - run->first) % run->stride == 0)
        cp = static_cast<char32_t>(static_cast<int32_t>(cp) + run->delta);
    append_utf8(out, cp);
}

bool is_debug_escaped(char32_t cp) {
    if (cp >= 0x20 && cp < 0x7F) return false;
    const auto* range = last_at_or_before(kDebugEscaped, cp, [](const CodePointRange& e) { return e.first; });
    return range != nullptr && cp <= range->last;
}

}  // namespace geometry::unicode
