#include "formats/wkt_number.h"

#include <charconv>
#include <cstdint>
#include <limits>

namespace formats {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool equals_ignoring_case(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != lower[i]) return false;
    return true;
}

bool special_value(std::string_view word, double& value) {
    if (equals_ignoring_case(word, "inf") || equals_ignoring_case(word, "infinity"))
        value = std::numeric_limits<double>::infinity();
    else if (equals_ignoring_case(word, "nan"))
        value = std::numeric_limits<double>::quiet_NaN();
    else
        return false;
    return true;
}

// Far beyond the exponent of any double, small enough never to overflow when added up.
constexpr long long exponent_limit = 1'000'000'000;

long long clamp(long long v) { return v > exponent_limit ? exponent_limit : v < -exponent_limit ? -exponent_limit : v; }

// At most this many decimal digits always fit in 64 bits.
constexpr std::size_t kept_digits = 19;

// A decimal number without its sign: digits, an optional point with digits, at least one digit
// in all, then an optional exponent; nothing after it.
struct Decimal {
    std::uint64_t digits = 0;   // every digit of the text, when there are at most 19
    std::size_t count = 0;      // how many digits the text has
    long long exponent = 0;     // the value is digits * 10^exponent
};

std::size_t read_digits(std::string_view text, std::size_t i, Decimal& d) {
    const std::size_t start = i;
    for (; i < text.size() && is_digit(text[i]); ++i)
        if (d.count + (i - start) < kept_digits) d.digits = d.digits * 10 + static_cast<std::uint64_t>(text[i] - '0');
    d.count += i - start;
    return i;
}

bool read_decimal(std::string_view text, Decimal& d) {
    std::size_t i = read_digits(text, 0, d);
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = read_digits(text, i + 1, d);
        d.exponent = -static_cast<long long>(fraction - i - 1);
        i = fraction;
    }
    if (d.count == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == text.size()) return false;
        long long e = 0;
        for (; i < text.size() && is_digit(text[i]); ++i) e = clamp(e * 10 + (text[i] - '0'));
        d.exponent = clamp(d.exponent + (negative ? -e : e));
    }
    return i == text.size();
}

// Both the digits and the power of ten are exact doubles here, so that one multiplication or
// division rounds correctly.
bool exact_value(const Decimal& d, double& value) {
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (d.count > kept_digits || d.digits > (std::uint64_t{1} << 53) || d.exponent < -22 || d.exponent > 22)
        return false;
    const double digits = static_cast<double>(d.digits);
    value = d.exponent >= 0 ? digits * powers[d.exponent] : digits / powers[-d.exponent];
    return true;
}

// Whether a decimal number (already checked) has magnitude of at least 1: where its first
// significant digit stands relative to the point, exponent included, is positive.
bool at_least_one(std::string_view text) {
    long long position = 0;
    bool significant = false, fraction = false;
    std::size_t i = 0;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
        if (text[i] == '.') {
            fraction = true;
        } else if (!significant && text[i] == '0') {
            if (fraction) position = clamp(position - 1);
        } else {
            significant = true;
            if (!fraction) position = clamp(position + 1);
        }
    }
    long long e = 0;
    bool negative = false;
    if (i < text.size()) {
        ++i;
        negative = text[i] == '-';
        if (text[i] == '+' || text[i] == '-') ++i;
        for (; i < text.size(); ++i) e = clamp(e * 10 + (text[i] - '0'));
    }
    return position + (negative ? -e : e) > 0;
}

// Beyond the range of a double, from_chars leaves the value to us: infinity or zero.
bool rounded_value(std::string_view text, double& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range)
        value = at_least_one(text) ? std::numeric_limits<double>::infinity() : 0.0;
    else if (ec != std::errc())
        return false;
    return end == text.data() + text.size();
}

}  // namespace

bool parse_wkt_number(std::string_view text, double& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    if (text.empty()) return false;
    bool parsed;
    if (!is_digit(text.front()) && text.front() != '.') {
        parsed = special_value(text, value);
    } else {
        Decimal d;
        parsed = read_decimal(text, d) && (exact_value(d, value) || rounded_value(text, value));
    }
    if (parsed && negative) value = -value;
    return parsed;
}

}  // namespace formats
