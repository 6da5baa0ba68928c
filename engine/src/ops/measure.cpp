#include "ops/measure.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/envelope.h"
#include "model/multipart.h"
#include "ops/curve_densify.h"
#include "ops/planar.h"
#include "ops/spatial_references.h"
#include "ops/to_geos.h"

namespace ops {
namespace {

bool has_area(const model::Geometry& g) {
    return g.kind() == model::GeometryKind::Polygon || g.kind() == model::GeometryKind::Envelope;
}

bool has_length(const model::Geometry& g) { return dimension_of(g.kind()) > 0; }

// The signed area of a ring, positive when clockwise: GEOS's own shoelace sum (taken
// relative to the first x for accuracy), so that the answer is GEOS's to the last bit.
double clockwise_area(const std::vector<model::Vertex>& v) {
    const size_t n = v.size();
    if (n < 3) return 0.0;
    const double x0 = v[0].x;
    double sum = 0.0;
    for (size_t i = 1; i + 1 < n; ++i) sum += (v[i].x - x0) * (v[i - 1].y - v[i + 1].y);
    sum += (v[n - 1].x - x0) * (v[n - 2].y - v[0].y);  // the closing vertex
    return sum / 2.0;
}

// The vertices of a part as they go to GEOS: the part's own where nothing needs changing.
const std::vector<model::Vertex>& straight(const model::Part& part, std::vector<model::Vertex>& scratch) {
    const bool plain = !model::has_curves(part) && std::none_of(part.points.begin(), part.points.end(), [](const model::Vertex& v) {
        return std::isnan(v.x) || std::isnan(v.y);
    });
    if (plain) return part.points;
    scratch = straight_vertices(part);
    return scratch;
}

// The area GEOS would give for the polygon to_geos makes, without making it: with at most one
// clockwise ring every counter-clockwise ring is a hole of it (or, with none, an exterior of its
// own). More exteriors need the containment tests of to_geos: none here.
std::optional<double> direct_area(const model::Multipart& polygon) {
    std::vector<model::Vertex> scratch;
    double clockwise = 0.0, counter = 0.0;
    int exteriors = 0;
    for (const auto& ring : polygon.parts) {
        const double a = clockwise_area(straight(ring, scratch));
        if (a > 0) {
            clockwise += a;
            if (++exteriors > 1) return std::nullopt;
        } else {
            counter -= a;
        }
    }
    return exteriors == 0 ? counter : clockwise - counter;
}

using Measure = int (*)(GEOSContextHandle_t, const GEOSGeometry*, double*);

double measured(const model::Geometry& g, Measure measure, const char* what) {
    GeosPtr gg = to_geos(g);
    double value = 0;
    geos_status(measure(geos(), gg.get(), &value), what);
    return value;
}

}  // namespace

double area(const model::Geometry& g) {
    if (!has_area(g)) return 0.0;
    if (g.kind() == model::GeometryKind::Envelope) {
        if (is_empty(g)) return 0.0;
        const auto& e = static_cast<const model::Envelope&>(g);
        return std::abs((e.x.max - e.x.min) * (e.y.max - e.y.min));
    }
    if (auto a = direct_area(static_cast<const model::Multipart&>(g))) return *a;
    return measured(g, GEOSArea_r, "area");
}

double length(const model::Geometry& g) { return has_length(g) ? measured(g, GEOSLength_r, "length") : 0.0; }

double distance(const model::Geometry& a, const model::Geometry& b) {
    common_spatial_reference(a, b);
    if (is_empty(a) || is_empty(b)) return model::kNaN;
    GeosPtr ga = to_geos(a), gb = to_geos(b);
    if (GEOSisEmpty_r(geos(), ga.get()) == 1 || GEOSisEmpty_r(geos(), gb.get()) == 1) return model::kNaN;
    double d = 0;
    geos_status(GEOSDistance_r(geos(), ga.get(), gb.get(), &d), "distance");
    return d;
}

}  // namespace ops
