#include <cmath>
#include <limits>

#include "model/engine_error.h"
#include "model/elliptic_arc.h"
#include "model/envelope.h"
#include "model/geometry_json.h"
#include "model/json_document.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"

namespace model {
namespace {

using Json = JsonValue;

[[noreturn]] void refuse(const std::string& why) { throw model::EngineError(model::kJsonError, why); }

void check_limits(std::string_view text) {
    if (text.size() > kMaxJsonBytes) refuse("JSON text is too large.");
    int depth = 0;
    bool in_string = false, escaped = false;
    for (char c : text) {
        if (in_string) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') in_string = false;
        } else if (c == '"') {
            in_string = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxJsonDepth) refuse("JSON text is nested too deeply.");
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
}

double number(Json v, const char* what) {
    if (v.is_null()) return kNaN;
    if (!v.is_number()) refuse(std::string("JSON geometry: ") + what + " must be a number or null.");
    return v.real();
}

Json array(Json v, const char* what) {
    if (!v.is_array()) refuse(std::string("JSON geometry: ") + what + " must be a list.");
    return v;
}

bool flag(Json j, const char* key) {
    auto it = j.find(key);
    if (!it || it->is_null()) return false;
    if (!it->is_boolean()) refuse(std::string("JSON geometry: \"") + key + "\" must be true or false.");
    return it->boolean();
}

Dims dims_of(Json j) { return Dims{flag(j, "hasZ"), flag(j, "hasM")}; }

// [x, y, z, m] with z only when the geometry has z, m after it (or third) when it has m; an
// ordinate left out is NaN.
Vertex vertex(Json a, Dims dims) {
    if (!a.is_array() || a.size() < 2) refuse("JSON geometry: a coordinate must be a list of at least two numbers.");
    Vertex v{number(a[0], "x"), number(a[1], "y")};
    size_t next = 2;
    if (dims.has_z && a.size() > next) v.z = number(a[next++], "z");
    else if (dims.has_z) ++next;
    if (dims.has_m && a.size() > next) v.m = number(a[next], "m");
    return v;
}

XY plane_point(Json a) {
    const Vertex v = vertex(a, Dims{});
    return {v.x, v.y};
}

int int_item(Json a, size_t i) {
    const double v = number(a[i], "a curve flag");
    return v != 0 ? 1 : 0;
}

Curve curve(Json element, const Vertex& start, const Vertex& end) {
    const XY s{start.x, start.y}, e{end.x, end.y};
    if (auto c = element.find("c")) {
        if (!c->is_array() || c->size() < 2) refuse("JSON geometry: \"c\" must be [end, interior].");
        return circular_arc_through(s, e, plane_point((*c)[1]));
    }
    if (auto a = element.find("a")) {
        if (!a->is_array() || (a->size() != 4 && a->size() < 7))
            refuse("JSON geometry: \"a\" must be [end, centre, minor, clockwise] or add rotation, axis and ratio.");
        const bool minor = int_item(*a, 2) != 0, counter_clockwise = int_item(*a, 3) == 0;
        if (a->size() == 4) return circular_arc_with_center(s, e, plane_point((*a)[1]), counter_clockwise);
        return elliptic_arc_between(s, e, minor, counter_clockwise, number((*a)[4], "rotation"),
                                    number((*a)[5], "axis"), number((*a)[6], "ratio"));
    }
    if (auto b = element.find("b")) {
        if (!b->is_array() || b->size() < 3) refuse("JSON geometry: \"b\" must be [end, control1, control2].");
        const XY c1 = plane_point((*b)[1]), c2 = plane_point((*b)[2]);
        return CubicBezier{c1.x, c1.y, c2.x, c2.y};
    }
    refuse("JSON geometry: a curve element needs a \"c\", \"a\" or \"b\" member.");
}

Json curve_end(Json element) {
    for (const char* key : {"c", "a", "b"})
        if (auto it = element.find(key); it && it->is_array() && !it->empty()) return (*it)[0];
    refuse("JSON geometry: a curve element needs a \"c\", \"a\" or \"b\" member with its end point.");
}

Part part(Json elements, Dims dims) {
    Part p;
    for (const auto& element : array(elements, "a part")) {
        if (!element.is_object()) {
            add_point(p, vertex(element, dims), dims);
            continue;
        }
        if (p.points.empty()) refuse("JSON geometry: a part must start with a point, not a curve.");
        const Vertex end = vertex(curve_end(element), dims);
        add_segment(p, SegmentValue{p.points.back(), end, curve(element, p.points.back(), end)}, dims);
    }
    return p;
}

std::unique_ptr<Geometry> multipart(Json j, GeometryKind kind, const char* curved, const char* plain) {
    const Dims dims = dims_of(j);
    const bool has_curved = j.contains(curved);
    const Json parts = array(j.at(has_curved ? curved : plain), has_curved ? curved : plain);
    std::vector<Part> result;
    result.reserve(parts.size());
    for (const auto& elements : parts) {
        result.push_back(part(elements, dims));
        if (kind == GeometryKind::Polygon) close_ring(result.back());
    }
    return std::make_unique<Multipart>(kind, std::move(result), dims);
}

std::unique_ptr<Geometry> multipoint(Json j) {
    const Dims dims = dims_of(j);
    std::vector<Vertex> points;
    for (const auto& a : array(j.at("points"), "points")) points.push_back(vertex(a, dims));
    return std::make_unique<Multipoint>(std::move(points), dims);
}

double member(Json j, const char* key) {
    auto it = j.find(key);
    return it ? number(*it, key) : kNaN;
}

// A member that a non-empty point or envelope cannot do without.
double required(Json j, const char* key) {
    if (!j.contains(key)) refuse(std::string("JSON geometry: \"") + key + "\" is missing.");
    return member(j, key);
}

std::unique_ptr<Geometry> point(Json j) {
    const Dims dims{j.contains("z"), j.contains("m")};
    const double x = member(j, "x");
    if (std::isnan(x)) return std::make_unique<Point>(Vertex{}, dims);
    const Vertex v{x, required(j, "y"), member(j, "z"), member(j, "m")};
    return std::make_unique<Point>(v, dims);
}

std::unique_ptr<Geometry> envelope(Json j) {
    const Dims dims{j.contains("zmin") || j.contains("zmax"), j.contains("mmin") || j.contains("mmax")};
    if (std::isnan(member(j, "xmin"))) return std::make_unique<Envelope>(Range{}, Range{}, Range{}, Range{}, dims);
    auto range = [&](const char* lo, const char* hi) { return Range{member(j, lo), member(j, hi)}; };
    return std::make_unique<Envelope>(Range{member(j, "xmin"), required(j, "xmax")},
                                      Range{required(j, "ymin"), required(j, "ymax")}, range("zmin", "zmax"),
                                      range("mmin", "mmax"), dims);
}

// A positive 32-bit id, or 0 when absent.
int32_t id(Json j, const char* key) {
    auto it = j.find(key);
    if (!it || it->is_null()) return 0;
    if (!it->is_number_integer() || it->integer() <= 0 || it->integer() > std::numeric_limits<int32_t>::max())
        refuse(std::string("JSON geometry: \"") + key + "\" must be a positive integer.");
    return static_cast<int32_t>(it->integer());
}

SpatialReferencePtr spatial_reference(Json j) {
    if (j.is_null()) return nullptr;
    if (!j.is_object()) refuse("JSON geometry: \"spatialReference\" must be an object.");
    const int32_t wkid = id(j, "latestWkid") != 0 ? id(j, "latestWkid") : id(j, "wkid");
    const int32_t vertical = id(j, "latestVcsWkid") != 0 ? id(j, "latestVcsWkid") : id(j, "vcsWkid");
    if (wkid != 0)
        return vertical != 0 ? spatial_reference_from_wkid_and_vertical(wkid, vertical)
                             : spatial_reference_from_wkid(wkid);
    if (auto wkt = j.find("wkt"); wkt && !wkt->is_null()) {
        if (!wkt->is_string()) refuse("JSON geometry: \"wkt\" must be a string.");
        return spatial_reference_from_wktext(wkt->text());
    }
    return nullptr;
}

std::unique_ptr<Geometry> geometry(Json j) {
    if (!j.is_object()) refuse("JSON text is not a geometry.");
    if (j.contains("rings") || j.contains("curveRings"))
        return multipart(j, GeometryKind::Polygon, "curveRings", "rings");
    if (j.contains("paths") || j.contains("curvePaths"))
        return multipart(j, GeometryKind::Polyline, "curvePaths", "paths");
    if (j.contains("points")) return multipoint(j);
    if (j.contains("x")) return point(j);
    if (j.contains("xmin")) return envelope(j);
    refuse("JSON text is not a geometry.");
}

}  // namespace

std::unique_ptr<Geometry> from_json(std::string_view text) {
    check_limits(text);
    const std::optional<JsonDocument> doc = JsonDocument::parse(text);
    if (!doc) refuse("Text is not valid JSON.");
    const Json j = doc->root();
    auto result = geometry(j);
    if (auto sr = j.find("spatialReference")) result->set_spatial_reference(spatial_reference(*sr));
    return result;
}

}  // namespace model
