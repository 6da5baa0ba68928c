// The engine's JSON text is written straight into one string. A document tree would be no safe
// way there: destroying a tree with members allocates (nlohmann flattens it onto a vector inside a
// noexcept destructor), so running out of memory while building or unwinding one ends the process.
// Numbers and strings keep nlohmann's formatting, one scalar value at a time: a scalar owns no
// members, and neither building nor destroying it can end the process.
#include <cmath>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "model/elliptic_arc.h"
#include "model/envelope.h"
#include "model/geometry_json.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"

namespace model {
namespace {

using Json = nlohmann::ordered_json;

// Bytes of a typical written ordinate with its separator, for reserving the text up front.
constexpr size_t kOrdinateBytes = 20;

// Compact JSON text built in order. A separator goes before every value or key that does not open
// an object or array or follow a key, which the last character written tells.
class JsonText {
public:
    // Room for `coordinates` coordinate lists of the given dimensions.
    void reserve(size_t coordinates, Dims dims) {
        const size_t ordinates = 2 + (dims.has_z ? 1 : 0) + (dims.has_m ? 1 : 0);
        text_.reserve(text_.size() + coordinates * (ordinates * kOrdinateBytes + 3));
    }

    JsonText& open(char bracket) {
        separate();
        text_ += bracket;
        return *this;
    }
    JsonText& close(char bracket) {
        text_ += bracket;
        return *this;
    }
    JsonText& key(std::string_view name) {
        separate();
        text_ += '"';
        text_ += name;
        text_ += "\":";
        return *this;
    }
    // A number, bool or string as nlohmann writes it: NaN and infinities as null, invalid UTF-8
    // replaced rather than refused.
    template <class Scalar>
    JsonText& scalar(const Scalar& value) {
        separate();
        text_ += Json(value).dump(-1, ' ', false, Json::error_handler_t::replace);
        return *this;
    }
    template <class Scalar>
    JsonText& member(std::string_view name, const Scalar& value) {
        return key(name).scalar(value);
    }

    std::string take() { return std::move(text_); }

private:
    void separate() {
        if (text_.empty()) return;
        const char last = text_.back();
        if (last != '{' && last != '[' && last != ':') text_ += ',';
    }

    std::string text_;
};

void coordinates(JsonText& out, const Vertex& v, Dims dims) {
    out.open('[').scalar(v.x).scalar(v.y);
    if (dims.has_z) out.scalar(v.z);
    if (dims.has_m) out.scalar(v.m);
    out.close(']');
}

void xy(JsonText& out, double x, double y) { out.open('[').scalar(x).scalar(y).close(']'); }

// Opens the curve element {"<kind>":[end, ...; the caller adds the rest and closes "]}".
void open_curve(JsonText& out, std::string_view kind, const Vertex& end, Dims dims) {
    out.open('{').key(kind).open('[');
    coordinates(out, end, dims);
}

void arc_element(JsonText& out, const Vertex& end, Dims dims, const EllipticArc& arc) {
    const int clockwise = arc.central < 0 ? 1 : 0;
    const bool full_circle = arc.circular() && std::abs(arc.central) >= 2 * M_PI;
    if (arc.circular() && !full_circle) {
        const XY mid = point_at(arc, arc.start + arc.central / 2);
        open_curve(out, "c", end, dims);
        xy(out, mid.x, mid.y);
    } else {
        open_curve(out, "a", end, dims);
        xy(out, arc.cx, arc.cy);
        if (full_circle) {
            out.scalar(0).scalar(clockwise);
        } else {
            out.scalar(arc.minor() ? 1 : 0).scalar(clockwise).scalar(arc.rotation).scalar(arc.semi_major);
            out.scalar(arc.ratio);
        }
    }
    out.close(']').close('}');
}

void element(JsonText& out, const SegmentValue& s, Dims dims) {
    if (const auto* arc = std::get_if<EllipticArc>(&s.curve)) return arc_element(out, s.end, dims, *arc);
    if (const auto* b = std::get_if<CubicBezier>(&s.curve)) {
        open_curve(out, "b", s.end, dims);
        xy(out, b->c1x, b->c1y);
        xy(out, b->c2x, b->c2y);
        out.close(']').close('}');
        return;
    }
    coordinates(out, s.end, dims);
}

void part_json(JsonText& out, const Part& part, Dims dims) {
    out.open('[');
    if (!part.points.empty()) {
        coordinates(out, part.points.front(), dims);
        for (uint64_t i = 0; i < segment_count(part); ++i) element(out, segment_at(part, i), dims);
    }
    out.close(']');
}

void dims_json(JsonText& out, Dims dims) {
    if (dims.has_z) out.member("hasZ", true);
    if (dims.has_m) out.member("hasM", true);
}

void multipart_json(JsonText& out, const Multipart& g) {
    bool curves = false;
    size_t vertices = 0;
    for (const auto& p : g.parts) {
        curves = curves || has_curves(p);
        vertices += p.points.size() + 1;  // a ring is written closed
    }
    out.reserve(vertices, g.dims);
    dims_json(out, g.dims);
    out.key(g.rings() ? (curves ? "curveRings" : "rings") : (curves ? "curvePaths" : "paths")).open('[');
    for (const auto& p : g.parts) part_json(out, p, g.dims);
    out.close(']');
}

void multipoint_json(JsonText& out, const Multipoint& g) {
    out.reserve(g.points.size(), g.dims);
    dims_json(out, g.dims);
    out.key("points").open('[');
    for (const auto& v : g.points) coordinates(out, v, g.dims);
    out.close(']');
}

void point_json(JsonText& out, const Point& g) {
    out.member("x", g.vertex.x).member("y", g.vertex.y);
    if (g.dims.has_z) out.member("z", g.vertex.z);
    if (g.dims.has_m) out.member("m", g.vertex.m);
}

void envelope_json(JsonText& out, const Envelope& g) {
    out.member("xmin", g.x.min).member("ymin", g.y.min).member("xmax", g.x.max).member("ymax", g.y.max);
    if (g.dims.has_z) out.member("zmin", g.z.min).member("zmax", g.z.max);
    if (g.dims.has_m) out.member("mmin", g.m.min).member("mmax", g.m.max);
}

void spatial_reference_json(JsonText& out, const SpatialReferenceData& sr) {
    out.key("spatialReference").open('{');
    if (const uint32_t wkid = wkid_of(sr); wkid != 0) {
        out.member("wkid", wkid);
        if (const uint32_t vertical = vertical_wkid_of(sr); vertical != 0) out.member("vcsWkid", vertical);
    } else {
        out.member("wkt", wktext_of(sr));
    }
    out.close('}');
}

void geometry_json(JsonText& out, const Geometry& g) {
    switch (g.kind()) {
        case GeometryKind::Point:
            return point_json(out, static_cast<const Point&>(g));
        case GeometryKind::Envelope:
            return envelope_json(out, static_cast<const Envelope&>(g));
        case GeometryKind::Multipoint:
            return multipoint_json(out, static_cast<const Multipoint&>(g));
        case GeometryKind::Polyline:
        case GeometryKind::Polygon:
            return multipart_json(out, static_cast<const Multipart&>(g));
    }
}

}  // namespace

std::string to_json(const Geometry& geometry) {
    JsonText out;
    out.open('{');
    geometry_json(out, geometry);
    if (const auto& sr = geometry.spatial_reference()) spatial_reference_json(out, *sr);
    out.close('}');
    return out.take();
}

}  // namespace model
