#include "formats/wkb_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace formats {
namespace {

enum Kind : std::uint32_t {
    point = 1,
    linestring = 2,
    polygon = 3,
    multipoint = 4,
    multilinestring = 5,
    multipolygon = 6,
    geometrycollection = 7,
    circularstring = 8,
    compoundcurve = 9,
    curvepolygon = 10,
    multicurve = 11,
    multisurface = 12,
    polyhedralsurface = 15,
    tin = 16,
    triangle = 17,
};

constexpr std::uint32_t ewkb_z = 0x80000000;
constexpr std::uint32_t ewkb_m = 0x40000000;
constexpr std::uint32_t ewkb_srid = 0x20000000;
constexpr std::uint32_t ewkb_flags = ewkb_z | ewkb_m | ewkb_srid;  // any of them marks EWKB

struct Header {
    bool little = true;
    std::uint32_t kind = 0;
    bool has_z = false;
    bool has_m = false;
    std::optional<std::int32_t> srid;
};

bool swapped(bool little) { return little != (std::endian::native == std::endian::little); }

std::uint32_t load_u32(const std::uint8_t* p, bool little) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return swapped(little) ? __builtin_bswap32(v) : v;
}

bool is_nan(double v) { return v != v; }

class WkbReader {
public:
    WkbReader(std::span<const std::uint8_t> wkb, WkbDialect dialect, Processor& processor)
        : pos_(wkb.data()), end_(wkb.data() + wkb.size()), dialect_(dialect), processor_(processor) {}

    Status read() {
        Header h;
        if (auto s = header(h); !s) return s;
        if (auto s = processor_.srid(h.srid); !s) return s;
        return geometry(h, 0);
    }

private:
    std::size_t remaining() const { return static_cast<std::size_t>(end_ - pos_); }
    bool has(std::size_t bytes) const { return remaining() >= bytes; }

    Status u32(bool little, std::uint32_t& out) {
        if (!has(4)) return Error::truncated();
        out = load_u32(pos_, little);
        pos_ += 4;
        return {};
    }

    Status header(Header& h) {
        if (!has(1)) return Error::truncated();
        h.little = *pos_++ != 0;
        std::uint32_t type;
        if (auto s = u32(h.little, type); !s) return s;
        if (dialect_ == WkbDialect::iso) {
            const std::uint32_t dims = type / 1000;
            h.kind = type % 1000;
            h.has_z = dims == 1 || dims == 3;
            h.has_m = dims == 2 || dims == 3;
            return {};
        }
        h.kind = type & 0xFF;
        h.has_z = (type & ewkb_z) != 0;
        h.has_m = (type & ewkb_m) != 0;
        if (type & ewkb_srid) {
            std::uint32_t srid;
            if (auto s = u32(h.little, srid); !s) return s;
            h.srid = static_cast<std::int32_t>(srid);
        }
        return {};
    }

    // The vertices the input claims that it also holds, starting here.
    VertexRun run(const Header& h, std::uint32_t claimed) const {
        VertexRun r{pos_, 0, h.has_z, h.has_m, swapped(h.little)};
        r.count = std::min<std::size_t>(claimed, remaining() / r.vertex_bytes());
        return r;
    }

    Status coord(const Header& h, Vertex& c) {
        const VertexRun one = run(h, 1);
        if (one.count == 0) return Error::truncated();
        c = one.at(0);
        pos_ += one.vertex_bytes();
        return {};
    }

    Status emit(const Vertex& c, std::size_t idx) { return processor_.coordinate(c.x, c.y, c.z, c.m, idx); }

    // Reports the `claimed` vertices in one event. The claim is only a promise: the run is bounded
    // by what the input holds, and a false claim ends as truncated input after it.
    Status read_run(const Header& h, std::uint32_t claimed) {
        const VertexRun r = run(h, claimed);
        pos_ += r.count * r.vertex_bytes();
        if (r.count != 0)
            if (auto s = processor_.vertices(r); !s) return s;
        if (r.count < claimed) return Error::truncated();
        return {};
    }

    // Reads a member count, runs `begin(n)`, then `each(i)` for every member. The count is only a
    // promise: nothing is reserved from it, and a false one runs into the end of the input.
    template <typename Begin, typename Each>
    Status counted(const Header& h, Begin&& begin, Each&& each) {
        std::uint32_t n;
        if (auto s = u32(h.little, n); !s) return s;
        if (auto s = begin(n); !s) return s;
        for (std::uint32_t i = 0; i < n; ++i)
            if (auto s = each(i); !s) return s;
        return {};
    }

    static Status no_begin(std::uint32_t) { return {}; }

    template <typename Each>
    Status members(const Header& h, Each&& each) {
        return counted(h, no_begin, std::forward<Each>(each));
    }

    // Members that carry a header of their own: `member(header, i)`.
    template <typename Begin, typename Member>
    Status headed(const Header& h, Begin&& begin, Member&& member) {
        return counted(h, begin, [&](std::uint32_t i) { return with_header([&](const Header& m) { return member(m, i); }); });
    }

    template <typename Member>
    Status headed_members(const Header& h, Member&& member) {
        return headed(h, no_begin, std::forward<Member>(member));
    }

    Status geometry(const Header& h, std::size_t idx) {
        switch (h.kind) {
            case point: return read_point(h, idx);
            case linestring: return read_linestring(h, true, idx);
            case polygon: return read_polygon(h, true, idx);
            case multipoint: return read_multipoint(h, idx);
            case multilinestring:
                return read_multi(h, idx, &Processor::multilinestring_begin, &Processor::multilinestring_end,
                                  [&](const Header& m, std::size_t i) { return read_linestring(m, false, i); });
            case multipolygon:
                return read_multi(h, idx, &Processor::multipolygon_begin, &Processor::multipolygon_end,
                                  [&](const Header& m, std::size_t i) { return read_polygon(m, false, i); });
            case geometrycollection: return read_collection(h, idx);
            case circularstring: return read_vertices(h);
            case compoundcurve: return read_curve_members(h, false);
            case curvepolygon:
            case multicurve: return read_curve_members(h, true);
            case multisurface: return read_multisurface(h);
            case polyhedralsurface:
                return headed_members(h, [&](const Header& m, std::size_t i) { return read_polygon(m, false, i); });
            case tin: return headed_members(h, [&](const Header& m, std::size_t) { return read_rings(m); });
            case triangle: return read_rings(h);
            default: return Error::unsupported();
        }
    }

    template <typename F>
    Status with_header(F&& f) {
        Header m;
        if (auto s = header(m); !s) return s;
        return f(m);
    }

    Status read_point(const Header& h, std::size_t idx) {
        Vertex c;
        if (auto s = coord(h, c); !s) return s;
        const bool empty = is_nan(c.x) && is_nan(c.y) && (!c.z || is_nan(*c.z)) && (!c.m || is_nan(*c.m));
        if (empty) return processor_.empty_point(idx);
        if (auto s = processor_.point_begin(idx); !s) return s;
        if (auto s = emit(c, 0); !s) return s;
        return processor_.point_end(idx);
    }

    Status read_vertex(const Header& h, std::size_t idx) {
        Vertex c;
        if (auto s = coord(h, c); !s) return s;
        return emit(c, idx);
    }

    Status read_vertices(const Header& h) {
        std::uint32_t n;
        if (auto s = u32(h.little, n); !s) return s;
        return read_run(h, n);
    }

    Status read_linestring(const Header& h, bool tagged, std::size_t idx) {
        std::uint32_t n;
        if (auto s = u32(h.little, n); !s) return s;
        if (auto s = processor_.linestring_begin(tagged, n, idx); !s) return s;
        if (auto s = read_run(h, n); !s) return s;
        return processor_.linestring_end(tagged, idx);
    }

    // Rings carry no header of their own: they take the dimensions and byte order of `h`.
    Status read_rings(const Header& h) {
        return members(h, [&](std::uint32_t i) { return read_linestring(h, false, i); });
    }

    Status read_polygon(const Header& h, bool tagged, std::size_t idx) {
        auto begin = [&](std::uint32_t n) { return processor_.polygon_begin(tagged, n, idx); };
        auto each = [&](std::uint32_t i) { return read_linestring(h, false, i); };
        if (auto s = counted(h, begin, each); !s) return s;
        return processor_.polygon_end(tagged, idx);
    }

    // Each member has its own header, whose kind is not checked: its dimensions and byte order
    // are what count.
    Status read_multipoint(const Header& h, std::size_t idx) {
        auto begin = [&](std::uint32_t n) { return processor_.multipoint_begin(n, idx); };
        if (auto s = headed(h, begin, [&](const Header& m, std::size_t i) { return read_vertex(m, i); }); !s) return s;
        return processor_.multipoint_end(idx);
    }

    template <typename Member>
    Status read_multi(const Header& h, std::size_t idx, Status (Processor::*begin)(std::size_t, std::size_t),
                      Status (Processor::*end)(std::size_t), Member&& member) {
        auto on_begin = [&](std::uint32_t n) { return (processor_.*begin)(n, idx); };
        if (auto s = headed(h, on_begin, member); !s) return s;
        return (processor_.*end)(idx);
    }

    Status read_collection(const Header& h, std::size_t idx) {
        if (depth_ == max_collection_depth) return Error::geometry(too_deep_text);
        ++depth_;
        auto status = read_multi(h, idx, &Processor::geometrycollection_begin, &Processor::geometrycollection_end,
                                 [&](const Header& m, std::size_t i) { return geometry(m, i); });
        --depth_;
        return status;
    }

    // A compound curve holds circular strings and line strings; a curve polygon and a multi
    // curve hold those and compound curves.
    Status read_curve_members(const Header& h, bool compound_allowed) {
        return headed_members(h, [&](const Header& m, std::size_t i) -> Status {
            switch (m.kind) {
                case circularstring: return read_vertices(m);
                case linestring: return read_linestring(m, false, i);
                case compoundcurve:
                    if (compound_allowed) return read_curve_members(m, false);
                    [[fallthrough]];
                default: return Error::unsupported();
            }
        });
    }

    Status read_multisurface(const Header& h) {
        return headed_members(h, [&](const Header& m, std::size_t i) -> Status {
            switch (m.kind) {
                case curvepolygon: return read_curve_members(m, true);
                case polygon: return read_polygon(m, false, i);
                default: return Error::unsupported();
            }
        });
    }

    const std::uint8_t* pos_;
    const std::uint8_t* end_;
    WkbDialect dialect_;
    Processor& processor_;
    int depth_ = 0;
};

}  // namespace

WkbDialect choose_dialect(std::span<const std::uint8_t> wkb) {
    if (wkb.size() < 5) return WkbDialect::iso;
    return (load_u32(wkb.data() + 1, wkb[0] == 1) & ewkb_flags) != 0 ? WkbDialect::ewkb : WkbDialect::iso;
}

Status read_wkb(std::span<const std::uint8_t> wkb, WkbDialect dialect, Processor& processor) {
    return WkbReader(wkb, dialect, processor).read();
}

}  // namespace formats
