#include "ops/geodetic_plane.h"

#include <GeographicLib/Math.hpp>

#include <algorithm>
#include <cmath>
#include <optional>

#include "ops/curve_measure.h"
#include "ops/ring_nesting.h"
#include "ops/to_geos.h"
#include "ops/unrolling.h"

namespace ops {
namespace {

using model::located;

// The sine of the authalic latitude: the height at which a cylinder of equal area would put the
// latitude, -1 at the south pole and 1 at the north.
class AuthalicHeight {
public:
    explicit AuthalicHeight(double flattening) : e2_(flattening * (2 - flattening)), pole_(q(1)) {}
    double operator()(double lat) const { return q(GeographicLib::Math::sind(lat)) / pole_; }

private:
    double q(double s) const {
        if (e2_ == 0) return 2 * s;
        const double e = std::sqrt(std::abs(e2_));
        const double atanhe = e2_ > 0 ? std::atanh(e * s) / e : std::atan(e * s) / e;
        return (1 - e2_) * (s / (1 - e2_ * s * s) + atanhe);
    }

    double e2_;
    double pole_;
};

// The ring's own coordinates with x run on across the antimeridian, or as written where it then
// does not close (round a pole).
std::vector<model::Vertex> unrolled(const GeodeticFrame& frame, CurveType type, const std::vector<model::Vertex>& own) {
    if (!frame.turn || type == CurveType::ShapePreserving || own.empty()) return own;
    const double period = *frame.turn;
    const bool geographic = !frame.to_geographic;
    std::vector<model::Vertex> run = own;
    Unrolling unrolling(period, own[0].x);
    for (size_t i = 1; i <= run.size(); ++i) {
        const model::Vertex& a = own[i - 1];
        const model::Vertex& b = own[i % own.size()];
        // Along a pole longitude is no place: the edge runs round it as written.
        const bool along_pole = geographic && std::abs(a.y) == 90 && b.y == a.y;
        const double x = along_pole ? unrolling.next(b.x, b.x - a.x) : unrolling.next(b.x);
        if (i < run.size()) run[i].x = x;
        else if (std::abs(x - run[0].x) >= period / 2) return own;  // round a pole
    }
    return run;
}

// The plane in unrolled longitude (degrees) and latitude; none for a ring round a pole in a
// projection without a turn of longitude, whose plane has no antimeridian to close it along.
std::optional<std::vector<model::Vertex>> lonlat_plane(const GeodeticFrame& frame, const std::vector<model::Vertex>& run,
                                                       const std::vector<LonLat>& lonlat) {
    std::vector<model::Vertex> plane(run.size());
    if (frame.turn) {
        const double degrees = 360 / *frame.turn;
        for (size_t i = 0; i < run.size(); ++i) plane[i] = {run[i].x * degrees, lonlat[i].lat};
        return plane;
    }
    Unrolling unrolling(360, lonlat[0].lon);
    for (size_t i = 0; i < run.size(); ++i) plane[i] = {i == 0 ? lonlat[0].lon : unrolling.next(lonlat[i].lon), lonlat[i].lat};
    if (std::abs(unrolling.next(lonlat[0].lon) - lonlat[0].lon) >= 180) return std::nullopt;
    return plane;
}

PlaneShare equal_area_share(const GeodeticFrame& frame, const std::vector<model::Vertex>& run,
                            const std::vector<LonLat>& lonlat) {
    if (run.empty()) return PlaneShare::Unread;
    auto plane = lonlat_plane(frame, run, lonlat);
    if (!plane) return PlaneShare::Unread;
    const auto [west, east] = std::minmax_element(plane->begin(), plane->end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    const auto [south, north] = std::minmax_element(plane->begin(), plane->end(), [](const auto& a, const auto& b) { return a.y < b.y; });
    const AuthalicHeight height(frame.geodesic.Flattening());
    // The ring lies in its box, whose share is cheap: most rings are settled by it.
    const double box = (east->x - west->x) / 360 * (height(north->y) - height(south->y)) / 2;
    if (!std::isfinite(box)) return PlaneShare::Unread;
    if (box < 0.25) return PlaneShare::UnderQuarter;
    for (auto& p : *plane) p.y = height(p.y);
    const double share = std::abs(shoelace(*plane)) / 720;  // of 360 x 2
    if (!std::isfinite(share)) return PlaneShare::Unread;
    return share < 0.25 ? PlaneShare::UnderQuarter : share > 0.75 ? PlaneShare::OverThreeQuarters : PlaneShare::Between;
}

}  // namespace

PlaneRing plane_ring(const GeodeticFrame& frame, CurveType type, const std::vector<model::Vertex>& own,
                     const std::vector<LonLat>& lonlat) {
    PlaneRing ring{unrolled(frame, type, own), 0, PlaneShare::Unread};
    const double area = shoelace(ring.run);  // positive clockwise
    ring.side = area < 0 ? 1 : area > 0 ? -1 : 0;
    ring.share = equal_area_share(frame, ring.run, lonlat);
    return ring;
}

std::vector<bool> plane_exteriors(const GeodeticFrame& frame, std::vector<std::vector<model::Vertex>> runs) {
    std::optional<double> middle;
    std::vector<std::vector<model::Vertex>> rings;
    std::vector<size_t> ring_of;
    for (size_t r = 0; r < runs.size(); ++r) {
        std::vector<model::Vertex>& ring = runs[r];
        std::erase_if(ring, [](const model::Vertex& v) { return !located(v); });
        if (!spans_area(ring)) continue;
        if (frame.turn) {
            const auto [low, high] = std::minmax_element(ring.begin(), ring.end(),
                                                         [](const auto& a, const auto& b) { return a.x < b.x; });
            if (!middle) middle = low->x / 2 + high->x / 2;
            const double turns = std::round((ring[0].x - *middle) / *frame.turn);
            if (turns != 0 && std::isfinite(turns))
                for (auto& v : ring) v.x -= turns * *frame.turn;
        }
        rings.push_back(std::move(ring));
        ring_of.push_back(r);
    }
    const RingReading reading = ring_roles(rings);
    std::vector<bool> exterior(runs.size(), false);
    for (size_t i = 0; i < rings.size(); ++i) exterior[ring_of[i]] = reading.roles[i].exterior;
    return exterior;
}

}  // namespace ops
