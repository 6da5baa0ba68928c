#include "python/utils/reader/wkt_number.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vornix::utils::reader {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool equals_ignoring_case(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((text[i] | 0x20) != lower[i]) return false;
    return true;
}

std::optional<double> special_value(std::string_view word, bool negative) {
    double v;
    if (equals_ignoring_case(word, "inf") || equals_ignoring_case(word, "infinity"))
        v = std::numeric_limits<double>::infinity();
    else if (equals_ignoring_case(word, "nan"))
        v = std::numeric_limits<double>::quiet_NaN();
    else
        return std::nullopt;
    return negative ? -v : v;
}

// Far beyond the exponent of any double, small enough never to overflow when added up.
constexpr long long scale_limit = 1'000'000'000;

long long clamp_scale(long long v) { return v > scale_limit ? scale_limit : v < -scale_limit ? -scale_limit : v; }

// Checks the decimal form (no sign) and gives where its first significant digit stands relative
// to the point, exponent included: the value has magnitude of at least 1 exactly when this is
// positive. Nothing when `text` is not a decimal number.
std::optional<long long> decimal_scale(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    long long integer_digits = 0, leading_fraction_zeros = 0;
    bool any_digit = false, significant = false;
    for (; i < n && is_digit(text[i]); ++i) {
        any_digit = true;
        significant = significant || text[i] != '0';
        if (significant) integer_digits = clamp_scale(integer_digits + 1);
    }
    if (i < n && text[i] == '.') {
        for (++i; i < n && is_digit(text[i]); ++i) {
            any_digit = true;
            significant = significant || text[i] != '0';
            if (!significant) leading_fraction_zeros = clamp_scale(leading_fraction_zeros + 1);
        }
    }
    if (!any_digit) return std::nullopt;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negative = i < n && text[i] == '-';
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (i == n || !is_digit(text[i])) return std::nullopt;
        for (; i < n && is_digit(text[i]); ++i) exponent = clamp_scale(exponent * 10 + (text[i] - '0'));
        if (negative) exponent = -exponent;
    }
    if (i != n) return std::nullopt;
    return clamp_scale(integer_digits > 0 ? exponent + integer_digits : exponent - leading_fraction_zeros);
}

}  // namespace

std::optional<double> parse_wkt_number(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view unsigned_text = !text.empty() && (text.front() == '-' || text.front() == '+') ? text.substr(1) : text;
    if (unsigned_text.empty()) return std::nullopt;
    if (!is_digit(unsigned_text.front()) && unsigned_text.front() != '.') return special_value(unsigned_text, negative);
    const auto scale = decimal_scale(unsigned_text);
    if (!scale) return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(unsigned_text.data(), unsigned_text.data() + unsigned_text.size(), value);
    if (end != unsigned_text.data() + unsigned_text.size()) return std::nullopt;
    if (ec == std::errc::result_out_of_range)
        value = *scale > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    else if (ec != std::errc())
        return std::nullopt;
    return negative ? -value : value;
}

}  // namespace vornix::utils::reader
