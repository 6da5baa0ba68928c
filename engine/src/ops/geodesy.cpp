#include "ops/geodesy.h"

#include <proj.h>

#include <GeographicLib/GeodesicLine.hpp>
#include <GeographicLib/Math.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <mutex>
#include <string>

#include "model/engine_error.h"
#include "model/spatial_reference_data.h"
#include "ops/central_meridian.h"
#include "ops/unrolling.h"
#include "ops/vertex_budget.h"

namespace ops {
namespace {

using GeographicLib::Math;
using Vec3 = std::array<double, 3>;

// The spacing of the points by which a curve that GeographicLib does not follow is measured:
// between such points a geodesic departs from the curve by far less than a millimetre.
constexpr double kFineSpacing = 1000.0;
constexpr double kMaxFinePieces = 20000.0;
// A straight line of longitude and latitude (ShapePreserving) is also cut into pieces of at most
// this many degrees of longitude: along a parallel at latitude phi a geodesic between two points
// dlon apart is shorter than the parallel by (dlon sin phi)^2 / 24 of its length, 1e-8 here; near
// a pole pieces of 1 km would span degrees.
constexpr double kFineLongitude = 0.025;

std::shared_ptr<const GeodeticFrame> make_frame(const model::SpatialReferenceData& sr) {
    model::proj::Session session;
    PJ* crs = sr.crs();
    model::proj::ObjectPtr horizontal;
    if (proj_get_type(crs) == PJ_TYPE_COMPOUND_CRS) horizontal.reset(proj_crs_get_sub_crs(session.context(), crs, 0));
    model::proj::ObjectPtr ellipsoid(proj_get_ellipsoid(session.context(), horizontal ? horizontal.get() : crs));
    double a = 0, b = 0, inverse_flattening = 0;
    int computed = 0;
    if (!ellipsoid || !proj_ellipsoid_get_parameters(session.context(), ellipsoid.get(), &a, &b, &computed, &inverse_flattening))
        throw model::EngineError(model::kSpatialReferenceError, "The spatial reference has no ellipsoid.", session.log());
    const double f = inverse_flattening == 0 ? 0.0 : 1.0 / inverse_flattening;
    const auto range = longitude_range(sr);
    return std::make_shared<const GeodeticFrame>(GeodeticFrame{
        GeographicLib::Geodesic(a, f), GeographicLib::Rhumb(a, f), GeographicLib::Geocentric(a, f), b / a,
        range ? std::optional(range->period) : std::nullopt, geographic_operation(sr, Direction::ToGeographic),
        geographic_operation(sr, Direction::FromGeographic)});
}

class FrameCache {
public:
    std::shared_ptr<const GeodeticFrame> get(const model::SpatialReferenceData& sr) {
        {
            std::lock_guard lock(mutex_);
            if (auto it = frames_.find(sr.wktext()); it != frames_.end()) return it->second;
        }
        auto frame = make_frame(sr);
        decltype(frames_) dropped;  // destroyed after the lock is released: PROJ objects take their own
        std::lock_guard lock(mutex_);
        if (frames_.size() >= 64) dropped.swap(frames_);
        frames_.emplace(sr.wktext(), frame);
        return frame;
    }

private:
    std::mutex mutex_;
    std::map<std::string, std::shared_ptr<const GeodeticFrame>, std::less<>> frames_;
};

FrameCache& frames() {
    static auto* instance = new FrameCache;
    return *instance;
}

Vec3 sub(Vec3 p, Vec3 q) { return {p[0] - q[0], p[1] - q[1], p[2] - q[2]}; }
double dot(Vec3 p, Vec3 q) { return p[0] * q[0] + p[1] * q[1] + p[2] * q[2]; }

// Longitudes that continue from `start` without a jump of a full turn.
void unroll(std::vector<LonLat>& points, double start) {
    Unrolling unrolling(360, start);
    for (auto& p : points) p.lon = unrolling.next(p.lon, Math::AngDiff(unrolling.previous(), p.lon));
}

// Points along the geodesic from a to b at the given distances.
std::vector<LonLat> along_geodesic(const GeographicLib::Geodesic& geodesic, LonLat a, LonLat b,
                                   std::span<const double> distances) {
    const auto line = geodesic.InverseLine(a.lat, a.lon, b.lat, b.lon);
    std::vector<LonLat> result(distances.size());
    for (size_t i = 0; i < distances.size(); ++i) line.Position(distances[i], result[i].lat, result[i].lon);
    return result;
}

}  // namespace

CurveType curve_type(int32_t code) {
    switch (code) {
#define KX_CURVE_TYPE(name, value) case value:
#include "corvane/curve_types.def"
#undef KX_CURVE_TYPE
            return static_cast<CurveType>(code);
    }
    throw model::EngineError(model::kInvalidArgument, "Unknown geodetic curve type.",
                           "No curve type has the code " + std::to_string(code) + ".");
}

std::shared_ptr<const GeodeticFrame> frame_of(const model::Geometry& geometry) {
    if (!geometry.spatial_reference())
        throw model::EngineError(model::kSpatialReferenceError, "The geometry has no spatial reference.",
                               "A geodetic operation needs the ellipsoid of a spatial reference.");
    return frames().get(*geometry.spatial_reference());
}

std::vector<LonLat> geographic(const GeodeticFrame& frame, std::span<const model::Vertex> vertices) {
    std::vector<LonLat> result(vertices.size());
    if (frame.to_geographic) {
        std::vector<model::Vertex> copy(vertices.begin(), vertices.end());
        frame.to_geographic->run(copy);
        for (size_t i = 0; i < copy.size(); ++i) result[i] = {copy[i].x, copy[i].y};
    } else {
        for (size_t i = 0; i < vertices.size(); ++i) result[i] = {vertices[i].x, vertices[i].y};
    }
    for (const auto& p : result)
        if (std::abs(p.lat) > 90)
            throw model::EngineError(model::kGeometryError, "Latitude out of range.",
                                   "A latitude of " + std::to_string(p.lat) + " degrees lies beyond the poles.");
    return result;
}

GeodeticSegment::GeodeticSegment(const GeodeticFrame& frame, CurveType type, const model::Vertex& own_a,
                                 const model::Vertex& own_b, LonLat a, LonLat b)
    : frame_(frame), type_(type), own_a_(own_a), own_b_(own_b), a_(a), b_(b) {
    double azimuth = 0;
    switch (type_) {
        case CurveType::Geodesic:
            frame_.geodesic.Inverse(a.lat, a.lon, b.lat, b.lon, length_);
            return;
        case CurveType::Loxodrome:
            frame_.rhumb.Inverse(a.lat, a.lon, b.lat, b.lon, length_, azimuth);
            return;
        default:
            break;
    }
    double chord = 0;
    frame_.geodesic.Inverse(a.lat, a.lon, b.lat, b.lon, chord);
    const double turn = type_ == CurveType::ShapePreserving
                            ? std::abs(frame_.to_geographic ? Math::AngDiff(a.lon, b.lon) : b.lon - a.lon) / kFineLongitude
                            : 0.0;
    const double pieces = piece_count(std::max(chord / kFineSpacing, turn), kMaxFinePieces);
    const auto n = static_cast<size_t>(pieces);
    fine_t_.resize(n + 1);
    for (size_t j = 0; j <= n; ++j) fine_t_[j] = static_cast<double>(j) / pieces;
    const auto points = at_parameters(fine_t_);
    fine_s_.assign(n + 1, 0.0);
    for (size_t j = 1; j <= n; ++j) {
        double s = 0;
        frame_.geodesic.Inverse(points[j - 1].lat, points[j - 1].lon, points[j].lat, points[j].lon, s);
        fine_s_[j] = fine_s_[j - 1] + s;
    }
    length_ = fine_s_.back();
}

std::vector<LonLat> GeodeticSegment::at_distances(std::span<const double> distances) const {
    std::vector<LonLat> result;
    result.reserve(distances.size());
    if (type_ == CurveType::Geodesic) {
        result = along_geodesic(frame_.geodesic, a_, b_, distances);
    } else if (type_ == CurveType::Loxodrome) {
        double length = 0, azimuth = 0;
        frame_.rhumb.Inverse(a_.lat, a_.lon, b_.lat, b_.lon, length, azimuth);
        const auto line = frame_.rhumb.Line(a_.lat, a_.lon, azimuth);
        for (double s : distances) {
            LonLat p;
            line.Position(s, p.lat, p.lon);
            result.push_back(p);
        }
    } else {
        // The curve's own parameter at each distance, read off the measured fine points.
        std::vector<double> ts;
        ts.reserve(distances.size());
        for (double s : distances) {
            const auto it = std::upper_bound(fine_s_.begin(), fine_s_.end(), s);
            const size_t j = std::clamp<size_t>(static_cast<size_t>(it - fine_s_.begin()), 1, fine_s_.size() - 1);
            const double span = fine_s_[j] - fine_s_[j - 1];
            const double u = span > 0 ? (s - fine_s_[j - 1]) / span : 0.0;
            ts.push_back(fine_t_[j - 1] + (fine_t_[j] - fine_t_[j - 1]) * u);
        }
        result = at_parameters(ts);
    }
    unroll(result, a_.lon);
    return result;
}

std::vector<LonLat> GeodeticSegment::fine_points() const {
    if (type_ == CurveType::Geodesic) return {a_, b_};
    if (type_ == CurveType::Loxodrome) {
        const double pieces = piece_count(length_ / kFineSpacing, kMaxFinePieces);
        std::vector<double> distances;
        for (double j = 0; j <= pieces; ++j) distances.push_back(length_ * j / pieces);
        auto points = at_distances(distances);
        points.back() = {points.front().lon + Math::AngDiff(a_.lon, b_.lon), b_.lat};
        return points;
    }
    auto points = at_parameters(fine_t_);
    unroll(points, a_.lon);
    return points;
}

std::vector<LonLat> GeodeticSegment::at_parameters(std::span<const double> ts) const {
    std::vector<LonLat> result;
    result.reserve(ts.size());
    if (type_ == CurveType::ShapePreserving) {
        if (!frame_.to_geographic) {
            const double dlon = b_.lon - a_.lon;
            for (double t : ts) result.push_back({a_.lon + dlon * t, a_.lat + (b_.lat - a_.lat) * t});
            return result;
        }
        std::vector<model::Vertex> own;
        for (double t : ts)
            own.push_back({own_a_.x + (own_b_.x - own_a_.x) * t, own_a_.y + (own_b_.y - own_a_.y) * t, model::kNaN, model::kNaN});
        frame_.to_geographic->run(own);
        for (const auto& v : own) result.push_back({v.x, v.y});
        return result;
    }
    // A plane section: the plane holds the chord from the start to the end and a second direction
    // (towards the centre for the great ellipse, the normal at the start for the normal section).
    // Each point is the chord's point at t moved within the plane, away from the chord, onto the
    // ellipsoid. Coordinates are in units of the major axis, where the ellipsoid is x² + y² + (z a/b)² = 1.
    const double a = frame_.geocentric.EquatorialRadius();
    Vec3 p1, p2;
    frame_.geocentric.Forward(a_.lat, a_.lon, 0, p1[0], p1[1], p1[2]);
    frame_.geocentric.Forward(b_.lat, b_.lon, 0, p2[0], p2[1], p2[2]);
    for (auto& c : p1) c /= a;
    for (auto& c : p2) c /= a;
    const Vec3 d = sub(p2, p1);
    const double phi = a_.lat * M_PI / 180, lambda = a_.lon * M_PI / 180;
    const Vec3 v = type_ == CurveType::GreatElliptic
                       ? p1
                       : Vec3{std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)};
    const double dd = dot(d, d);
    Vec3 w = dd > 0 ? sub(v, {d[0] * dot(v, d) / dd, d[1] * dot(v, d) / dd, d[2] * dot(v, d) / dd}) : v;
    const double wn = std::sqrt(dot(w, w));
    if (!(wn > 1e-12)) {
        // No plane is defined (the ends are antipodal): the geodesic is the section then.
        double length = 0;
        frame_.geodesic.Inverse(a_.lat, a_.lon, b_.lat, b_.lon, length);
        std::vector<double> distances;
        for (double t : ts) distances.push_back(t * length);
        return along_geodesic(frame_.geodesic, a_, b_, distances);
    }
    for (auto& c : w) c /= wn;
    const double k = 1.0 / (frame_.b_over_a * frame_.b_over_a);
    const auto quad = [k](Vec3 p, Vec3 q) { return p[0] * q[0] + p[1] * q[1] + k * p[2] * q[2]; };
    for (double t : ts) {
        if (t == 0.0 || t == 1.0) {
            result.push_back(t == 0.0 ? a_ : b_);
            continue;
        }
        const Vec3 c{p1[0] + t * d[0], p1[1] + t * d[1], p1[2] + t * d[2]};
        const double qa = quad(w, w), qb = 2 * quad(c, w), qc = quad(c, c) - 1;
        const double s = (-qb + std::sqrt(std::max(0.0, qb * qb - 4 * qa * qc))) / (2 * qa);
        LonLat p;
        double h = 0;
        frame_.geocentric.Reverse((c[0] + s * w[0]) * a, (c[1] + s * w[1]) * a, (c[2] + s * w[2]) * a, p.lat, p.lon, h);
        result.push_back(p);
    }
    return result;
}

}  // namespace ops
