// Parses WKT text into a flat document before anything is reported, so that a text the grammar
// rejects reports nothing. Error texts are the parser's own; a rejected text yields the first
// error met, except that a missing closing parenthesis hides the error found inside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace formats {

enum class WktKind : std::uint8_t { point, linestring, polygon, multipoint, multilinestring, multipolygon, geometrycollection };

struct WktDimension {
    bool has_z = false;
    bool has_m = false;
    std::size_t size() const { return 2 + has_z + has_m; }
};

// One geometry or ring in pre-order. `count` is the number of vertices of a point (0 for an
// empty point, else 1) or a line string, and the number of child nodes of the others: rings of
// a polygon, points of a multipoint, members of the multi kinds and of a collection.
struct WktNode {
    WktKind kind;
    WktDimension dimension;
    std::size_t count = 0;
};

struct WktDocument {
    std::vector<WktNode> nodes;
    std::vector<double> values;  // the ordinates of every vertex, in text order
};

// Fills `document`; gives the parser's error text, or nothing when the text was read.
const char* parse_wkt(std::string_view text, WktDocument& document);

}  // namespace formats
