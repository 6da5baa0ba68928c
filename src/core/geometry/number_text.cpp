#include "core/geometry/number_text.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstring>
#include <string_view>
#include <system_error>

namespace core::geometry {

namespace {

// A finite non-zero magnitude as significant digits d0.d1d2... times 10^exponent.
struct Decimal {
    char digits[24];
    int count = 0;
    int exponent = 0;
};

Decimal parse_scientific(std::string_view text) {
    Decimal d;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i)
        if (text[i] != '.') d.digits[d.count++] = text[i];
    std::from_chars(text.data() + i + 1 + (text[i + 1] == '+'), text.data() + text.size(), d.exponent);
    return d;
}

bool reads_back(const Decimal& d, double magnitude) {
    char text[48];
    std::memcpy(text, d.digits, d.count);
    char* end = text + d.count;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, d.exponent - (d.count - 1)).ptr;
    double parsed = 0;
    std::from_chars(text, end, parsed);
    return parsed == magnitude;
}

// The last digit raised by one, carrying; trailing zeros dropped.
Decimal next_up(Decimal d) {
    int i = d.count - 1;
    while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
    if (i < 0) {
        d.digits[0] = '1';
        d.count = 1;
        ++d.exponent;
        return d;
    }
    ++d.digits[i];
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
    return d;
}

// True when the expansion of the value to precision + 1 significant digits is d's digits, a 5 and
// zeros only.
bool digits_then_five(const Decimal& d, double magnitude, int precision) {
    char exact[800];
    auto result = std::to_chars(exact, exact + sizeof exact, magnitude, std::chars_format::scientific, precision);
    Decimal e;
    std::string_view text(exact, result.ptr);
    const std::size_t mark = text.find('e');
    std::from_chars(text.data() + mark + 1 + (text[mark + 1] == '+'), text.data() + text.size(), e.exponent);
    if (e.exponent != d.exponent) return false;
    int k = 0;
    for (std::size_t i = 0; i < mark; ++i) {
        if (text[i] == '.') continue;
        const char c = text[i];
        if (k < d.count) {
            if (c != d.digits[k]) return false;
        } else if (k == d.count) {
            if (c != '5') return false;
        } else if (c != '0') {
            return false;
        }
        ++k;
    }
    return k > d.count;
}

// Whether the exact value can have count + 1 significant digits. A double m * 2^k (m odd) with
// k < 0 has exactly E + 1 - k significant digits, E its decimal exponent; integers are left to the
// exact expansion.
bool may_have_one_more_digit(const Decimal& d, double magnitude) {
    const uint64_t bits = std::bit_cast<uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
    if (biased != 0) mantissa |= uint64_t{1} << 52;
    const int k = (biased != 0 ? biased : 1) - 1075 + std::countr_zero(mantissa);
    return k >= 0 || d.exponent - k == d.count;
}

// True when the exact binary value lies exactly halfway between d and the next candidate up.
bool exact_midpoint_above(const Decimal& d, double magnitude) {
    // The exact expansion of a double has at most 767 significant digits.
    return may_have_one_more_digit(d, magnitude) && digits_then_five(d, magnitude, 770);
}

Decimal shortest(double magnitude) {
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
    Decimal d = parse_scientific(std::string_view(text, result.ptr));
    // Two shortest candidates can both read back only when they have 16 or 17 digits.
    if (d.count >= 16 && exact_midpoint_above(d, magnitude)) {
        Decimal up = next_up(d);
        if (reads_back(up, magnitude)) return up;
    }
    return d;
}

void append_positional(std::string& out, const Decimal& d) {
    const std::string_view digits(d.digits, d.count);
    if (d.exponent >= d.count - 1) {
        out += digits;
        out.append(static_cast<std::size_t>(d.exponent - (d.count - 1)), '0');
    } else if (d.exponent >= 0) {
        out += digits.substr(0, d.exponent + 1);
        out += '.';
        out += digits.substr(d.exponent + 1);
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += digits;
    }
}

// NaN, infinities and zeros; false for any other value.
bool append_special(std::string& out, double value, std::string_view zero) {
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value < 0 ? "-inf" : "inf";
    } else if (value == 0) {
        if (std::signbit(value)) out += '-';
        out += zero;
    } else {
        return false;
    }
    return true;
}

}  // namespace

void write_number(std::string& out, double value) {
    if (append_special(out, value, "0")) return;
    if (value < 0) out += '-';
    append_positional(out, shortest(std::fabs(value)));
}

std::string debug_number(double value) {
    std::string out;
    if (append_special(out, value, "0.0")) return out;
    if (value < 0) out += '-';
    const Decimal d = shortest(std::fabs(value));
    if (d.exponent >= 16 || d.exponent < -4) {
        out += d.digits[0];
        if (d.count > 1) {
            out += '.';
            out.append(d.digits + 1, d.count - 1);
        }
        out += 'e';
        out += std::to_string(d.exponent);
    } else {
        append_positional(out, d);
        if (d.exponent >= d.count - 1) out += ".0";
    }
    return out;
}

}  // namespace core::geometry
