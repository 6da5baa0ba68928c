#include "formats/wkt_tokenizer.h"

#include <array>
#include <cstdint>

#include "formats/wkt_number.h"

namespace formats {
namespace {

enum CharClass : std::uint8_t { ordinary, whitespace, delimiter };

constexpr std::array<CharClass, 256> char_classes = [] {
    std::array<CharClass, 256> classes{};
    for (unsigned char c : {' ', '\n', '\r', '\t'}) classes[c] = whitespace;
    for (unsigned char c : {'\0', '(', ')', ','}) classes[c] = delimiter;
    return classes;
}();

CharClass class_of(char c) { return char_classes[static_cast<unsigned char>(c)]; }
bool starts_number(char c) { return c == '.' || c == '-' || c == '+' || (c >= '0' && c <= '9'); }

}  // namespace

Token Tokens::next() {
    if (peeked_) {
        Token t = *peeked_;
        peeked_.reset();
        return t;
    }
    return read();
}

const Token& Tokens::peek() {
    if (!peeked_) peeked_ = read();
    return *peeked_;
}

// The token runs up to a delimiter, which stays, or up to whitespace, which goes with it.
std::string_view Tokens::read_until_delimiter(const char* start) {
    const char* p = pos_;
    while (p != end_ && class_of(*p) == ordinary) ++p;
    std::string_view text(start, static_cast<std::size_t>(p - start));
    pos_ = p != end_ && class_of(*p) == whitespace ? p + 1 : p;
    return text;
}

Token Tokens::read() {
    while (pos_ != end_ && class_of(*pos_) == whitespace) ++pos_;
    if (pos_ == end_) return {};
    const char c = *pos_++;
    switch (c) {
        case '\0': return {};
        case '(': return {Token::Type::open};
        case ')': return {Token::Type::close};
        case ',': return {Token::Type::comma};
        default: break;
    }
    if (!starts_number(c)) return {Token::Type::word, 0, read_until_delimiter(pos_ - 1)};
    Token t{Token::Type::number};
    if (!parse_wkt_number(read_until_delimiter(c == '+' ? pos_ : pos_ - 1), t.number)) t.type = Token::Type::bad_number;
    return t;
}

}  // namespace formats
