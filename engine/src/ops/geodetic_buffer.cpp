#include "ops/geodetic_buffer.h"

#include <GeographicLib/AzimuthalEquidistant.hpp>
#include <GeographicLib/Math.hpp>

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "ops/central_meridian.h"
#include "ops/curve_measure.h"
#include "ops/overlay.h"
#include "ops/ring_nesting.h"
#include "ops/to_geos.h"
#include "ops/unrolling.h"
#include "ops/vertex_budget.h"

namespace ops {
namespace {

using GeographicLib::Math;

// More pieces than this would take minutes to unite: the deviation asked for is too fine.
constexpr double kMaxPieces = 2e5;

[[noreturn]] void refuse(int32_t code, const std::string& message, const std::string& additional = {}) {
    throw model::EngineError(code, message, additional);
}

// A point of a sampled line with the direction of the line there (degrees from north).
struct Sample {
    LonLat at;
    double azimuth;
};

// The buffer of one geometry in the plane of the azimuthal equidistant projection about `centre`.
class Builder {
public:
    Builder(const GeodeticFrame& frame, LonLat centre, double distance, double deviation)
        : frame_(frame), projection_(frame.geodesic), centre_(centre), distance_(std::abs(distance)) {
        const double ratio = distance_ > 0 ? std::min(deviation / distance_, 1.0) : 1.0;
        circle_points_ = std::clamp(std::ceil(M_PI / std::acos(1.0 - ratio)), 8.0, 1e5);
        // Between samples this far apart, neither a band's edge nor a straight line of the plane
        // departs from the true boundary by more than the deviation.
        spacing_ = std::clamp(std::sqrt(8.0 * frame.geodesic.EquatorialRadius() * deviation) / 2.0, 1.0, 1e5);
    }

    double spacing() const { return spacing_; }

    model::Vertex plane(LonLat p) const {
        double x = 0, y = 0, azimuth = 0, scale = 0;
        projection_.Forward(centre_.lat, centre_.lon, p.lat, p.lon, x, y, azimuth, scale);
        return {x, y, model::kNaN, model::kNaN};
    }

    LonLat offset(LonLat p, double azimuth) const {
        LonLat q;
        frame_.geodesic.Direct(p.lat, p.lon, azimuth, distance_, q.lat, q.lon);
        return q;
    }

    void circle(LonLat p) {
        std::vector<model::Vertex> ring;
        for (double j = 0; j < circle_points_; ++j) ring.push_back(plane(offset(p, 360.0 * j / circle_points_)));
        add_polygon(ring);
    }

    // The band along a sampled stretch of line: on each side, quadrilaterals from the line out to
    // the offset points; neighbours share their edges, so no gap opens between them.
    void band(const std::vector<Sample>& samples) {
        for (size_t k = 0; k + 1 < samples.size(); ++k) {
            const Sample& a = samples[k];
            const Sample& b = samples[k + 1];
            for (double side : {-90.0, 90.0})
                add_polygon({plane(a.at), plane(b.at), plane(offset(b.at, b.azimuth + side)),
                             plane(offset(a.at, a.azimuth + side))});
        }
    }

    // Counts the pieces to come (vertices for a circle, one for a quadrilateral) before any is made.
    void expect(double circles, double length) {
        pieces_ += circles * circle_points_ + 2 * length / spacing_;
        if (pieces_ > kMaxPieces)
            refuse(model::kGeometryError, "Too many vertices.", "The maximum deviation is too small for the geometry.");
    }

    void add_polygon(const std::vector<model::Vertex>& ring) {
        GeosPtr shell = geos_line(ring, true);
        members_.push_back(geos_check(GEOSGeom_createPolygon_r(geos(), shell.release(), nullptr, 0), "geodetic buffer"));
    }

    GeosPtr united() {
        GeosPtr all = geos_collection(GEOS_GEOMETRYCOLLECTION, std::move(members_));
        return unary_union(all.get());
    }

private:
    const GeodeticFrame& frame_;
    GeographicLib::AzimuthalEquidistant projection_;
    LonLat centre_;
    double distance_;
    double circle_points_;
    double spacing_;
    double pieces_ = 0;
    std::vector<GeosPtr> members_;
};

double mean_azimuth(double a, double b) { return a + Math::AngDiff(a, b) / 2.0; }

// The segment from vertex i to vertex j sampled at most `spacing` apart along its curve, each
// sample with the curve's direction (at the ends, the direction of the segment itself).
std::vector<Sample> sampled(const GeodeticFrame& frame, CurveType type, const model::Part& part, const std::vector<LonLat>& points,
                            size_t i, size_t j, double spacing) {
    const GeodeticSegment segment(frame, type, part.points[i], part.points[j], points[i], points[j]);
    const double pieces = std::max(1.0, std::ceil(segment.length() / spacing));
    std::vector<double> distances;
    for (double k = 0; k <= pieces; ++k) distances.push_back(segment.length() * k / pieces);
    auto at = segment.at_distances(distances);
    at.front() = points[i];
    at.back() = points[j];
    std::vector<double> forward(at.size() - 1), backward(at.size() - 1);
    for (size_t k = 0; k + 1 < at.size(); ++k) {
        double s = 0;
        frame.geodesic.Inverse(at[k].lat, at[k].lon, at[k + 1].lat, at[k + 1].lon, s, forward[k], backward[k]);
    }
    std::vector<Sample> samples;
    for (size_t k = 0; k < at.size(); ++k) {
        const double azimuth = k == 0 ? forward[0] : k + 1 == at.size() ? backward[k - 1] : mean_azimuth(backward[k - 1], forward[k]);
        samples.push_back({at[k], azimuth});
    }
    return samples;
}

// The centre of the plane: the mean direction of the vertices seen from the ellipsoid's centre.
LonLat centre_of(const std::vector<LonLat>& points) {
    double x = 0, y = 0, z = 0;
    for (const auto& p : points) {
        const double phi = p.lat * M_PI / 180, lambda = p.lon * M_PI / 180;
        x += std::cos(phi) * std::cos(lambda);
        y += std::cos(phi) * std::sin(lambda);
        z += std::sin(phi);
    }
    const double n = std::sqrt(x * x + y * y + z * z);
    if (!(n > 0.1 * static_cast<double>(points.size())))
        refuse(model::kGeometryError, "The geometry is too large for a geodetic buffer.",
               "It spreads round the ellipsoid: buffer its parts one by one.");
    return {std::atan2(y, x) * 180 / M_PI, std::asin(z / n) * 180 / M_PI};
}

// Whether a ring of the plane runs clockwise.
bool clockwise(const std::vector<model::Vertex>& ring) {
    double twice_area = 0;
    for (size_t i = 0; i < ring.size(); ++i) {
        const auto& a = ring[i];
        const auto& b = ring[(i + 1) % ring.size()];
        twice_area += a.x * b.y - b.x * a.y;
    }
    return twice_area < 0;
}

// The larger side of a ring's bounding box.
double size_of(const model::Part& ring) {
    const auto [west, east] = std::ranges::minmax(ring.points, {}, &model::Vertex::x);
    const auto [south, north] = std::ranges::minmax(ring.points, {}, &model::Vertex::y);
    return std::max(east.x - west.x, north.y - south.y);
}

// The region a ring of the plane holds, as rings of longitude and latitude, the longitudes running
// on without jumps: the ring itself; a ring that goes once round a pole closed along that pole
// (seen from outside the ellipsoid, a clockwise ring round the north pole runs west); a ring that
// holds both poles without going round either (a circle past both poles) as a whole turn of
// longitude with the ring as its hole, since in longitude and latitude the ring alone would hold
// the other side of it.
std::vector<std::vector<model::Vertex>> geographic_region(std::vector<model::Vertex> ring,
                                                          const GeographicLib::AzimuthalEquidistant& projection,
                                                          LonLat centre, const model::Vertex& north) {
    if (ring.empty()) return {ring};
    const bool exterior = clockwise(ring);
    const bool holds_north = point_side(north, ring) > 0;
    Unrolling unrolling(360, centre.lon);
    for (auto& v : ring) {
        double lat = 0, lon = 0, azimuth = 0, scale = 0;
        projection.Reverse(centre.lat, centre.lon, v.x, v.y, lat, lon, azimuth, scale);
        v = {unrolling.next(lon, Math::AngDiff(unrolling.previous(), lon)), lat, model::kNaN, model::kNaN};
    }
    const double turn = (ring.back().x + Math::AngDiff(ring.back().x, ring.front().x)) - ring.front().x;
    if (std::abs(turn) < 180) {
        if (!holds_north) return {ring};
        const auto [low, high] = std::ranges::minmax(ring, {}, &model::Vertex::x);
        const double west = (low.x + high.x) / 2 - 180, east = west + 360;
        const std::vector<model::Vertex> whole = {{west, -90, model::kNaN, model::kNaN}, {west, 90, model::kNaN, model::kNaN},
                                                  {east, 90, model::kNaN, model::kNaN}, {east, -90, model::kNaN, model::kNaN}};
        return {whole, ring};
    }
    const double pole = (turn < 0) == exterior ? 90.0 : -90.0;
    const double start = ring.front().x;
    // The first vertex once more, a turn on, then along the pole back to where the ring began.
    ring.push_back({start + turn, ring.front().y, model::kNaN, model::kNaN});
    ring.push_back({start + turn, pole, model::kNaN, model::kNaN});
    ring.push_back({start, pole, model::kNaN, model::kNaN});
    return {ring};
}

GeometryPtr polygon_of(std::vector<std::vector<model::Vertex>> rings) {
    std::vector<model::Part> parts;
    for (auto& r : rings) parts.push_back(model::Part{std::move(r), {}, true, {}});
    return std::make_unique<model::Multipart>(model::GeometryKind::Polygon, std::move(parts), model::Dims{});
}

// The buffer of the plane in longitude and latitude. Where no ring holds both poles, each ring is
// brought over as it is and the rings' nesting keeps their roles. Otherwise the rings' regions
// overlap in longitude and latitude: each is folded into one turn and every polygon of the plane is
// rebuilt there as its exterior's region less its holes'.
GeometryPtr geographic_polygon(const GEOSGeometry* plane, const GeodeticFrame& frame, LonLat centre, double distance,
                               double deviation) {
    auto polygon = from_geos(plane, {model::GeometryKind::Polygon, {}, nullptr}, VertexAttributes());
    auto& rings = static_cast<model::Multipart&>(*polygon).parts;
    // Crumbs the union leaves between its pieces, far smaller than both the deviation and the
    // distance: no shape of the buffer, and within the deviation of their own boundary, so leaving
    // them out (with any ring inside them) keeps the result within the deviation.
    const double crumb = std::min(deviation, distance) * 1e-3;
    std::erase_if(rings, [crumb](const model::Part& ring) { return !(size_of(ring) >= crumb); });
    const GeographicLib::AzimuthalEquidistant projection(frame.geodesic);
    model::Vertex north{0, 0, model::kNaN, model::kNaN};
    double azimuth = 0, scale = 0;
    projection.Forward(centre.lat, centre.lon, 90, centre.lon, north.x, north.y, azimuth, scale);
    std::vector<std::vector<std::vector<model::Vertex>>> regions;
    bool overlapping = false;
    for (const auto& ring : rings) {
        regions.push_back(geographic_region(ring.points, projection, centre, north));
        overlapping = overlapping || regions.back().size() > 1;
    }
    if (!overlapping) {
        for (size_t i = 0; i < rings.size(); ++i) rings[i].points = std::move(regions[i].front());
        return polygon;
    }
    std::vector<std::vector<model::Vertex>> plane_rings;
    for (const auto& ring : rings) plane_rings.push_back(ring.points);
    const auto roles = ring_roles(plane_rings).roles;
    const LongitudeRange one_turn{-180, 360};
    std::vector<GeometryPtr> pieces(rings.size());
    for (size_t i = 0; i < rings.size(); ++i)
        if (roles[i].exterior) pieces[i] = folded(*polygon_of(std::move(regions[i])), one_turn);
    for (size_t i = 0; i < rings.size(); ++i) {
        if (roles[i].exterior) continue;
        auto& owner = pieces[roles[i].owner];
        owner = overlay(Overlay::Difference, *owner, *folded(*polygon_of(std::move(regions[i])), one_turn));
    }
    std::vector<const model::Geometry*> all;
    for (const auto& p : pieces)
        if (p) all.push_back(p.get());
    return union_all(all);
}

// Whether a ring of the result holds no area: a sliver the union of the pieces left between
// neighbours, a line or a point once back on the ellipsoid. Its area is nothing against its size.
bool degenerate(const model::Part& ring) {
    if (!spans_area(ring.points)) return true;
    const double size = size_of(ring);
    return !(std::abs(ring_area(ring)) > 1e-10 * size * size);
}

GeometryPtr without_degenerate_rings(GeometryPtr polygon) {
    if (polygon->kind() == model::GeometryKind::Polygon)
        std::erase_if(static_cast<model::Multipart&>(*polygon).parts, degenerate);
    return polygon;
}

GeometryPtr empty_polygon(const model::Geometry& geometry) {
    return empty_geometry({model::GeometryKind::Polygon, {}, geometry.spatial_reference()});
}

}  // namespace

double default_max_deviation(double distance) {
    return distance == 0 ? 1.0 : std::min(std::abs(distance) / 1000.0, 1000.0);
}

GeometryPtr geodetic_buffer(const model::Geometry& geometry, CurveType type, double distance, double max_deviation) {
    if (!std::isfinite(distance)) refuse(model::kInvalidArgument, "The buffer distance must be finite.");
    if (!(max_deviation >= 0) || !std::isfinite(max_deviation))
        refuse(model::kInvalidArgument, "The maximum deviation must be a finite number of at least 0.");
    const auto frame = frame_of(geometry);
    const bool area = dimension_of(geometry.kind()) == 2;
    if (is_empty(geometry) || (!area && distance <= 0)) return empty_polygon(geometry);
    const double deviation = max_deviation == 0 ? default_max_deviation(distance) : max_deviation;

    // Every vertex in longitude and latitude, by part; lone points as parts of one vertex.
    std::vector<model::Part> parts;
    if (geometry.kind() == model::GeometryKind::Point || geometry.kind() == model::GeometryKind::Multipoint) {
        for_each_vertex(geometry, [&](const model::Vertex& v) {
            if (!std::isnan(v.x) && !std::isnan(v.y)) parts.push_back(model::Part{{v}, {}, false, {}});
        });
    } else {
        for_each_straight_part(geometry, [&](const model::Part& part) { parts.push_back(part); });
    }
    std::vector<std::vector<LonLat>> geographic_parts;
    std::vector<LonLat> all;
    for (auto& part : parts) {
        std::erase_if(part.points, [](const model::Vertex& v) { return std::isnan(v.x) || std::isnan(v.y); });
        geographic_parts.push_back(geographic(*frame, part.points));
        all.insert(all.end(), geographic_parts.back().begin(), geographic_parts.back().end());
    }
    const LonLat centre = centre_of(all);
    const double reach = 0.75 * M_PI * frame->geodesic.EquatorialRadius();
    for (const auto& p : all) {
        double s = 0;
        frame->geodesic.Inverse(centre.lat, centre.lon, p.lat, p.lon, s);
        if (s + std::abs(distance) > reach)
            refuse(model::kGeometryError, "The geometry is too large for a geodetic buffer.",
                   "With the distance it reaches too far round the ellipsoid: buffer its parts one by one.");
    }

    Builder builder(*frame, centre, distance, deviation);
    double length = 0, vertices = 0;
    for (size_t p = 0; p < parts.size(); ++p) {
        const auto& points = geographic_parts[p];
        vertices += static_cast<double>(points.size());
        for (size_t i = 0; i < model::segment_count(parts[p]) && points.size() > 1; ++i) {
            const size_t j = (i + 1) % points.size();
            length += GeodeticSegment(*frame, type, parts[p].points[i], parts[p].points[j], points[i], points[j]).length();
        }
    }
    builder.expect(distance != 0 ? vertices : 0, length);
    // The polygon's own area, its rings following their curves, in the plane.
    std::vector<model::Part> area_rings;
    for (size_t p = 0; p < parts.size(); ++p) {
        const auto& part = parts[p];
        const auto& points = geographic_parts[p];
        model::Part plane_ring{{}, {}, true, {}};
        if (distance != 0)
            for (const auto& v : points) builder.circle(v);
        const size_t segments = model::segment_count(part);
        for (size_t i = 0; i < segments && points.size() > 1; ++i) {
            const auto samples = sampled(*frame, type, part, points, i, (i + 1) % points.size(), builder.spacing());
            if (distance != 0) builder.band(samples);
            for (size_t k = 0; k + 1 < samples.size(); ++k) plane_ring.points.push_back(builder.plane(samples[k].at));
        }
        if (area && plane_ring.points.size() >= 3) area_rings.push_back(std::move(plane_ring));
    }
    GeosPtr result;
    if (area) {
        const model::Multipart own(model::GeometryKind::Polygon, std::move(area_rings), {});
        GeosPtr inside = to_geos(own);
        if (distance == 0) {
            result = unary_union(inside.get());
        } else {
            GeosPtr band = builder.united();
            const auto op = distance > 0 ? GEOSUnion_r : GEOSDifference_r;
            result = with_repair("geodetic buffer", [op](const GEOSGeometry* a, const GEOSGeometry* b) { return op(geos(), a, b); },
                                 inside.get(), band.get());
        }
    } else {
        result = builder.united();
    }
    // The outline is followed by points at the sampling spacing: counted before any is made, since a
    // tiny deviation over a long outline asks for more than memory holds.
    double outline = 0;
    if (!GEOSLength_r(geos(), result.get(), &outline)) geos_failed("geodetic buffer");
    require_vertex_budget(GEOSGetNumCoordinates_r(geos(), result.get()) + outline / builder.spacing(),
                          "The maximum deviation is too small for the geometry.");
    result = geos_check(GEOSDensify_r(geos(), result.get(), builder.spacing()), "geodetic buffer");

    auto polygon = geographic_polygon(result.get(), *frame, centre, std::abs(distance), deviation);
    polygon->set_spatial_reference(geometry.spatial_reference());
    const auto range = longitude_range(*geometry.spatial_reference());
    for (auto& ring : static_cast<model::Multipart&>(*polygon).parts) {
        if (!frame->from_geographic) continue;
        frame->from_geographic->run(ring.points);
        // The projection wraps longitudes past the antimeridian; the ring must run on.
        if (range) unroll(ring.points, *range);
    }
    return without_degenerate_rings(range ? folded(*polygon, *range) : std::move(polygon));
}

Geometries geodetic_buffers(const std::vector<const model::Geometry*>& geometries, const std::vector<double>& distances,
                            CurveType type, double max_deviation, bool unite) {
    if (!geometries.empty() && distances.empty())
        refuse(model::kInvalidArgument, "No buffer distances were given for the geometries.");
    Geometries out;
    for (size_t i = 0; i < geometries.size(); ++i)
        out.push_back(geodetic_buffer(*geometries[i], type, distances[std::min(i, distances.size() - 1)], max_deviation));
    if (!unite || out.empty()) return out;
    std::vector<const model::Geometry*> all;
    for (const auto& g : out) all.push_back(g.get());
    Geometries united;
    united.push_back(without_degenerate_rings(union_all(all)));
    return united;
}

}  // namespace ops
