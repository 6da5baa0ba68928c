// The tokens of WKT text. Whitespace is only blank, tab, carriage return and line feed. A NUL
// character ends the token stream for the one read that meets it; reading goes on after it.
// A token that starts like a number ('+', '-', '.', a digit) is a number or an error; anything
// else that is not a parenthesis or a comma is a word, whatever its characters.
#pragma once

#include <optional>
#include <string_view>

namespace formats {

struct Token {
    enum class Type { end, open, close, comma, number, word, bad_number };
    Type type = Type::end;
    double number = 0;
    std::string_view word;

    bool is(Type t) const { return type == t; }
};

inline constexpr const char* bad_number_text = "Unable to parse input number as the desired output type";

class Tokens {
public:
    explicit Tokens(std::string_view text) : pos_(text.data()), end_(text.data() + text.size()) {}

    Token next();
    const Token& peek();

private:
    Token read();
    std::string_view read_until_delimiter(const char* start);

    const char* pos_;
    const char* end_;
    std::optional<Token> peeked_;
};

}  // namespace formats
