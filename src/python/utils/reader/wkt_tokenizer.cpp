#include "python/utils/reader/wkt_tokenizer.h"

#include "python/utils/reader/wkt_number.h"

namespace vornix::utils::reader {
namespace {

bool is_whitespace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
bool is_delimiter(char c) { return c == '\0' || c == '(' || c == ')' || c == ','; }
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
    while (p != end_ && !is_delimiter(*p) && !is_whitespace(*p)) ++p;
    std::string_view text(start, static_cast<std::size_t>(p - start));
    pos_ = p != end_ && is_whitespace(*p) ? p + 1 : p;
    return text;
}

Token Tokens::read() {
    while (pos_ != end_ && is_whitespace(*pos_)) ++pos_;
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
    const auto number = parse_wkt_number(read_until_delimiter(c == '+' ? pos_ : pos_ - 1));
    if (!number) return {Token::Type::bad_number};
    return {Token::Type::number, *number};
}

}  // namespace vornix::utils::reader
