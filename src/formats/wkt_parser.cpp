#include "formats/wkt_parser.h"

#include <array>

#include "formats/error.h"
#include "formats/wkt_tokenizer.h"

namespace formats {
namespace {

using Failure = const char*;  // an error text, or nullptr for success
constexpr Failure ok = nullptr;

bool equals_ignoring_case(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != lower[i]) return false;
    }
    return true;
}

bool is_ascii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

struct TypeName {
    std::string_view name;
    WktKind kind;
    bool takes_suffix;  // POINTZ, POINTM, POINTZM written as one word
};

constexpr std::array<TypeName, 8> type_names{{
    {"point", WktKind::point, true},
    {"linestring", WktKind::linestring, true},
    {"linearring", WktKind::linestring, false},
    {"polygon", WktKind::polygon, true},
    {"multipoint", WktKind::multipoint, true},
    {"multilinestring", WktKind::multilinestring, true},
    {"multipolygon", WktKind::multipolygon, true},
    {"geometrycollection", WktKind::geometrycollection, true},
}};

std::optional<WktDimension> dimension_of(std::string_view word) {
    if (equals_ignoring_case(word, "z")) return WktDimension{true, false};
    if (equals_ignoring_case(word, "m")) return WktDimension{false, true};
    if (equals_ignoring_case(word, "zm")) return WktDimension{true, true};
    return std::nullopt;
}

class WktParser {
public:
    WktParser(std::string_view text, WktDocument& document) : tokens_(text), document_(document) {}

    Failure parse() {
        const Token t = tokens_.next();
        if (t.is(Token::Type::bad_number)) return bad_number_text;
        if (!t.is(Token::Type::word)) return "Invalid WKT format";
        if (!is_ascii(t.word)) return "Encountered non-ascii word";
        return tagged(t.word);
    }

private:
    // A type word, with or without a glued dimension, then its body.
    Failure tagged(std::string_view word) {
        for (const TypeName& type : type_names) {
            if (word.size() < type.name.size() || !equals_ignoring_case(word.substr(0, type.name.size()), type.name))
                continue;
            const std::string_view suffix = word.substr(type.name.size());
            if (suffix.empty()) return tagged_body(type.kind, std::nullopt);
            if (!type.takes_suffix) continue;
            if (const auto dimension = dimension_of(suffix)) return tagged_body(type.kind, dimension);
        }
        return "Invalid type encountered";
    }

    Failure tagged_body(WktKind kind, std::optional<WktDimension> given) {
        if (kind != WktKind::geometrycollection) return with_dimension(kind, given);
        if (depth_ == max_collection_depth) {
            too_deep_ = true;
            return too_deep_text;
        }
        ++depth_;
        const Failure f = with_dimension(kind, given);
        --depth_;
        return f;
    }

    Failure with_dimension(WktKind kind, std::optional<WktDimension> given) {
        WktDimension dimension;
        if (given)
            dimension = *given;
        else if (const Failure f = infer(dimension))
            return f;
        return with_parens(kind, dimension);
    }

    // The dimension word after the type word, if any; EMPTY stays for the body to read.
    Failure infer(WktDimension& dimension) {
        const Token& t = tokens_.peek();
        if (t.is(Token::Type::end) || t.is(Token::Type::bad_number)) return "End of stream";
        dimension = {};
        if (!t.is(Token::Type::word)) return ok;
        if (const auto d = dimension_of(t.word)) {
            dimension = *d;
            tokens_.next();
            return ok;
        }
        return equals_ignoring_case(t.word, "empty") ? ok : "Unexpected word before open paren";
    }

    Failure with_parens(WktKind kind, WktDimension dimension) {
        const Token open = tokens_.next();
        if (open.is(Token::Type::bad_number)) return bad_number_text;
        const std::size_t node = document_.nodes.size();
        document_.nodes.push_back({kind, dimension, 0});
        if (open.is(Token::Type::word) && equals_ignoring_case(open.word, "empty")) return ok;
        if (!open.is(Token::Type::open)) return "Missing open parenthesis for type";
        const Failure inner = body(kind, dimension, node);
        if (too_deep_) return inner;
        const Token close = tokens_.next();
        if (close.is(Token::Type::bad_number)) return bad_number_text;
        if (!close.is(Token::Type::close)) return "Missing closing parenthesis for type";
        return inner;
    }

    Failure body(WktKind kind, WktDimension dimension, std::size_t node) {
        std::size_t count = 0;
        Failure f = ok;
        switch (kind) {
            case WktKind::point:
                f = coord(dimension);
                count = 1;
                break;
            case WktKind::linestring: f = many(count, [&] { return coord(dimension); }); break;
            case WktKind::polygon:
            case WktKind::multilinestring:
                f = many(count, [&] { return with_parens(WktKind::linestring, dimension); });
                break;
            case WktKind::multipoint: f = many(count, [&] { return multipoint_member(dimension); }); break;
            case WktKind::multipolygon:
                f = many(count, [&] { return with_parens(WktKind::polygon, dimension); });
                break;
            case WktKind::geometrycollection: f = collection_members(count); break;
        }
        document_.nodes[node].count = count;
        return f;
    }

    template <typename Item>
    Failure many(std::size_t& count, Item&& item) {
        if (const Failure f = item()) return f;
        for (count = 1; tokens_.peek().is(Token::Type::comma); ++count) {
            tokens_.next();
            if (const Failure f = item()) return f;
        }
        return ok;
    }

    // A member written in parentheses, or as a bare coordinate.
    Failure multipoint_member(WktDimension dimension) {
        if (tokens_.peek().is(Token::Type::open)) return with_parens(WktKind::point, dimension);
        document_.nodes.push_back({WktKind::point, dimension, 1});
        return coord(dimension);
    }

    // Members carry their own type words and dimensions; the collection's own is not used.
    Failure collection_members(std::size_t& count) {
        return many(count, [&]() -> Failure {
            const Token t = tokens_.next();
            if (t.is(Token::Type::bad_number)) return bad_number_text;
            if (!t.is(Token::Type::word)) return "Expected a word in GEOMETRYCOLLECTION";
            return tagged(t.word);
        });
    }

    Failure ordinate(Failure missing) {
        const Token t = tokens_.next();
        if (t.is(Token::Type::bad_number)) return bad_number_text;
        if (!t.is(Token::Type::number)) return missing;
        document_.values.push_back(t.number);
        return ok;
    }

    Failure coord(WktDimension dimension) {
        if (const Failure f = ordinate("Expected a number for the X coordinate")) return f;
        if (const Failure f = ordinate("Expected a number for the Y coordinate")) return f;
        if (dimension.has_z)
            if (const Failure f = ordinate("Expected a number for the Z coordinate")) return f;
        if (dimension.has_m)
            if (const Failure f = ordinate("Expected a number for the M coordinate")) return f;
        return ok;
    }

    Tokens tokens_;
    WktDocument& document_;
    int depth_ = 0;
    bool too_deep_ = false;  // the nesting cap: no enclosing error may hide it
};

}  // namespace

const char* parse_wkt(std::string_view text, WktDocument& document) { return WktParser(text, document).parse(); }

}  // namespace formats
