// A string usable as a template argument, so that texts made from names (an owner's stop texts, a
// class's method names) are fixed per type at compile time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

namespace core {

template <size_t N>
struct FixedString {
    char text[N]{};
    constexpr FixedString() = default;
    constexpr FixedString(const char (&s)[N]) { std::copy_n(s, N, text); }
    constexpr std::string_view view() const { return {text, N - 1}; }
    constexpr bool empty() const { return N == 1; }
};

template <size_t N, size_t M>
constexpr FixedString<N + M - 1> operator+(const FixedString<N>& a, const FixedString<M>& b) {
    FixedString<N + M - 1> joined;
    std::copy_n(a.text, N - 1, joined.text);
    std::copy_n(b.text, M, joined.text + N - 1);
    return joined;
}

}  // namespace core
