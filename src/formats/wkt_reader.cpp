#include "formats/wkt_reader.h"

#include "formats/wkt_parser.h"

namespace formats {
namespace {

class WktEmitter {
public:
    WktEmitter(const WktDocument& document, Processor& processor) : document_(document), processor_(processor) {}

    Status geometry(std::size_t idx) { return geometry(document_.nodes[next_node_++], idx); }

private:
    Status geometry(const WktNode& node, std::size_t idx) {
        switch (node.kind) {
            case WktKind::point: return point(node, idx);
            case WktKind::linestring: return linestring(node, true, idx);
            case WktKind::polygon: return polygon(node, true, idx);
            case WktKind::multipoint: return multipoint(node, idx);
            case WktKind::multilinestring:
                return members(node, idx, &Processor::multilinestring_begin, &Processor::multilinestring_end,
                               [&](const WktNode& ring, std::size_t i) { return linestring(ring, false, i); });
            case WktKind::multipolygon:
                return members(node, idx, &Processor::multipolygon_begin, &Processor::multipolygon_end,
                               [&](const WktNode& member, std::size_t i) { return polygon(member, false, i); });
            case WktKind::geometrycollection:
                return members(node, idx, &Processor::geometrycollection_begin, &Processor::geometrycollection_end,
                               [&](const WktNode& member, std::size_t i) { return geometry(member, i); });
        }
        return {};
    }

    // The next `count` vertices of the document's values, which hold doubles in the machine's
    // byte order.
    VertexRun take(const WktNode& node, std::size_t count) {
        const auto* data = reinterpret_cast<const std::uint8_t*>(document_.values.data() + next_value_);
        next_value_ += count * node.dimension.size();
        return {data, count, node.dimension.has_z, node.dimension.has_m, false};
    }

    Status vertex(const WktNode& node, std::size_t idx) {
        const Vertex v = take(node, 1).at(0);
        return processor_.coordinate(v.x, v.y, v.z, v.m, idx);
    }

    Status point(const WktNode& node, std::size_t idx) {
        if (node.count == 0) return processor_.empty_point(idx);
        if (auto s = processor_.point_begin(idx); !s) return s;
        if (auto s = vertex(node, 0); !s) return s;
        return processor_.point_end(idx);
    }

    Status linestring(const WktNode& node, bool tagged, std::size_t idx) {
        if (auto s = processor_.linestring_begin(tagged, node.count, idx); !s) return s;
        if (node.count != 0)
            if (auto s = processor_.vertices(take(node, node.count)); !s) return s;
        return processor_.linestring_end(tagged, idx);
    }

    Status polygon(const WktNode& node, bool tagged, std::size_t idx) {
        if (auto s = processor_.polygon_begin(tagged, node.count, idx); !s) return s;
        for (std::size_t i = 0; i < node.count; ++i)
            if (auto s = linestring(document_.nodes[next_node_++], false, i); !s) return s;
        return processor_.polygon_end(tagged, idx);
    }

    // Members written EMPTY are skipped; the later ones keep their positions.
    Status multipoint(const WktNode& node, std::size_t idx) {
        if (auto s = processor_.multipoint_begin(node.count, idx); !s) return s;
        for (std::size_t i = 0; i < node.count; ++i) {
            const WktNode& member = document_.nodes[next_node_++];
            if (member.count != 0)
                if (auto s = vertex(member, i); !s) return s;
        }
        return processor_.multipoint_end(idx);
    }

    template <typename Member>
    Status members(const WktNode& node, std::size_t idx, Status (Processor::*begin)(std::size_t, std::size_t),
                   Status (Processor::*end)(std::size_t), Member&& member) {
        if (auto s = (processor_.*begin)(node.count, idx); !s) return s;
        for (std::size_t i = 0; i < node.count; ++i)
            if (auto s = member(document_.nodes[next_node_++], i); !s) return s;
        return (processor_.*end)(idx);
    }

    const WktDocument& document_;
    Processor& processor_;
    std::size_t next_node_ = 0;
    std::size_t next_value_ = 0;
};

}  // namespace

Status read_wkt(std::string_view text, Processor& processor) {
    WktDocument document;
    // A guess from the size of the text (a number and its separator take some ten characters);
    // the document grows past it when it must.
    document.values.reserve(text.size() / 10);
    if (const char* failure = parse_wkt(text, document)) return Error::geometry(failure);
    return WktEmitter(document, processor).geometry(0);
}

}  // namespace formats
