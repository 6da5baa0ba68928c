#include "ops/central_meridian.h"

#include <proj.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "model/engine_error.h"
#include "model/extent.h"
#include "model/multipart.h"
#include "model/spatial_reference_data.h"
#include "ops/affine.h"
#include "ops/overlay.h"
#include "ops/projection.h"
#include "ops/to_geos.h"
#include "ops/unrolling.h"
#include "ops/vertices.h"

namespace ops {
namespace {

using model::proj::ObjectPtr;
using model::proj::Session;

// Folding clips the geometry once per turn of longitude it spans, and unites a polygon's pieces:
// the work grows as the turns times the vertices, the pieces of a polygon costing more. Within
// these, folding takes seconds at most; coordinates of billions of degrees are no place on the
// ellipsoid, and cannot be folded.
constexpr double kMaxPathFoldWork = 3e5;
constexpr double kMaxPolygonFoldWork = 3e4;
constexpr double kHighest = std::numeric_limits<double>::max();

// The central meridian of a Mercator projection in degrees; none for other projections.
std::optional<double> mercator_central_meridian(const Session& session, PJ* crs) {
    ObjectPtr conversion(proj_crs_get_coordoperation(session.context(), crs));
    if (!conversion) return std::nullopt;
    const char* method = nullptr;
    if (!proj_coordoperation_get_method_info(session.context(), conversion.get(), &method, nullptr, nullptr) ||
        method == nullptr || std::strstr(method, "Mercator") == nullptr || std::strstr(method, "Transverse") != nullptr ||
        std::strstr(method, "Oblique") != nullptr)
        return std::nullopt;
    const int index = proj_coordoperation_get_param_index(session.context(), conversion.get(), "Longitude of natural origin");
    if (index < 0) return 0.0;
    double value = 0, to_radians = 0;
    proj_coordoperation_get_param(session.context(), conversion.get(), index, nullptr, nullptr, nullptr, &value, nullptr,
                                  &to_radians, nullptr, nullptr, nullptr, nullptr);
    return value * to_radians * 180.0 / M_PI;
}

// The turns of the range from the one holding the geometry's west end to the one holding its east
// end; none for a geometry without located vertices.
std::optional<std::pair<double, double>> turns_spanned(const model::Geometry& geometry, const LongitudeRange& range) {
    const auto extent = model::extent_of(geometry);
    if (std::isnan(extent->x.min)) return std::nullopt;
    return std::pair{std::floor((extent->x.min - range.west) / range.period), std::floor((extent->x.max - range.west) / range.period)};
}

// Whether folding the geometry stays within the work it may take.
bool foldable(const model::Geometry& geometry, const LongitudeRange& range) {
    // Points move by whole turns; an envelope spans at most two turns or, a turn wide, folds whole.
    if (geometry.kind() == model::GeometryKind::Point || geometry.kind() == model::GeometryKind::Multipoint ||
        geometry.kind() == model::GeometryKind::Envelope)
        return true;
    const auto turns = turns_spanned(geometry, range);
    if (!turns) return true;
    double vertices = 0;
    for_each_vertex(geometry, [&](const model::Vertex&) { ++vertices; });
    const double budget = geometry.kind() == model::GeometryKind::Polyline ? kMaxPathFoldWork : kMaxPolygonFoldWork;
    return (turns->second - turns->first + 1) * vertices <= budget;
}

// Folded about the range's centre by remainder, which is exact: about a centre of 0 (every
// geographic reference, most Mercator ones) x keeps every digit. A value rounded onto either edge
// is the west one, the east edge being the west edge a turn on.
double wrapped(double x, const LongitudeRange& r) {
    if (std::isnan(x) || (x >= r.west && x < r.west + r.period)) return x;
    const double centre = r.west + r.period / 2;
    const double folded = centre + std::remainder(x - centre, r.period);
    return folded <= r.west || folded >= r.west + r.period ? r.west : folded;
}

GeometryPtr folded_points(const model::Geometry& geometry, const LongitudeRange& range) {
    auto result = geometry.clone();
    for_each_vertex(*result, [&](model::Vertex& v) { v.x = wrapped(v.x, range); });
    return result;
}

}  // namespace

std::optional<LongitudeRange> longitude_range(const model::SpatialReferenceData& sr) {
    Session session;
    PJ* crs = sr.crs();
    ObjectPtr horizontal;
    if (proj_get_type(crs) == PJ_TYPE_COMPOUND_CRS) {
        horizontal.reset(proj_crs_get_sub_crs(session.context(), crs, 0));
        crs = horizontal.get();
    }
    const PJ_TYPE type = proj_get_type(crs);
    if (type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS) return LongitudeRange{-180.0, 360.0};
    if (type != PJ_TYPE_PROJECTED_CRS) return std::nullopt;
    const auto centre = mercator_central_meridian(session, crs);
    if (!centre) return std::nullopt;
    // Mercator x grows evenly with longitude: a quarter turn from the central meridian sets the scale.
    std::vector<model::Vertex> probe = {{*centre, 0, model::kNaN, model::kNaN}, {*centre - 90, 0, model::kNaN, model::kNaN}};
    geographic_operation(sr, Direction::FromGeographic)->run(probe);
    const double period = 4 * (probe[0].x - probe[1].x);
    if (!(period > 0) || !std::isfinite(period) || !std::isfinite(probe[0].x)) return std::nullopt;
    return LongitudeRange{probe[0].x - period / 2, period};
}

void unroll(std::vector<model::Vertex>& line, const LongitudeRange& range) {
    if (line.empty()) return;
    Unrolling unrolling(range.period, line.front().x);
    for (auto& v : line) v.x = unrolling.next(v.x);
}

GeometryPtr folded(const model::Geometry& geometry, const LongitudeRange& range) {
    if (geometry.kind() == model::GeometryKind::Point || geometry.kind() == model::GeometryKind::Multipoint)
        return folded_points(geometry, range);
    if (geometry.kind() == model::GeometryKind::Envelope) {
        // An envelope a turn wide or wider holds every longitude: its fold is the whole turn.
        const auto& e = static_cast<const model::Envelope&>(geometry);
        if (std::abs(e.x.max - e.x.min) >= range.period) {
            GeometryPtr band = envelope_polygon(model::Envelope({range.west, range.west + range.period}, e.y, e.z, e.m, e.dims));
            band->set_spatial_reference(e.spatial_reference());
            return band;
        }
    }
    const auto extent = model::extent_of(geometry);
    if (std::isnan(extent->x.min) || (extent->x.min >= range.west && extent->x.max < range.west + range.period))
        return geometry.clone();
    const bool polygon = geometry.kind() != model::GeometryKind::Polyline;
    if (!foldable(geometry, range))
        throw model::EngineError(model::kGeometryError, "The geometry spans too many turns of longitude.",
                                 "Its turns of longitude times its vertices are too many to fold.");
    const auto [first_turn, last_turn] = *turns_spanned(geometry, range);
    const auto first = static_cast<int64_t>(first_turn);
    const auto last = static_cast<int64_t>(last_turn);
    Geometries pieces;
    for (int64_t k = first; k <= last; ++k) {
        const double west = range.west + static_cast<double>(k) * range.period;
        // Taller than the geometry, so that a horizontal line is no edge case of the clip.
        const model::Envelope strip({west, west + range.period},
                                    {std::max(-kHighest, extent->y.min - 1 - std::abs(extent->y.min)),
                                     std::min(kHighest, extent->y.max + 1 + std::abs(extent->y.max))},
                                    {}, {}, {});
        auto piece = clip(geometry, strip);
        if (!is_empty(*piece)) pieces.push_back(transformed(*piece, Affine::translation(-static_cast<double>(k) * range.period, 0)));
    }
    if (polygon) {
        std::vector<const model::Geometry*> all;
        for (const auto& p : pieces) all.push_back(p.get());
        return union_all(all);
    }
    auto result = std::make_unique<model::Multipart>(model::GeometryKind::Polyline, std::vector<model::Part>{}, geometry.dims);
    result->set_spatial_reference(geometry.spatial_reference());
    for (auto& p : pieces)
        for (auto& part : static_cast<model::Multipart&>(*p).parts) result->parts.push_back(std::move(part));
    return result;
}

GeometryPtr normalized_central_meridian(const model::Geometry& geometry) {
    if (is_empty(geometry)) return nullptr;
    if (!geometry.spatial_reference() || !finite_coordinates(geometry)) return geometry.clone();
    std::optional<LongitudeRange> range;
    try {
        range = longitude_range(*geometry.spatial_reference());
    } catch (const model::EngineError&) {
        return geometry.clone();  // a projection PROJ cannot run has no turn of longitude to fold into
    }
    if (!range || !foldable(geometry, *range)) return geometry.clone();
    try {
        return folded(geometry, *range);
    } catch (const model::EngineError&) {
        return geometry.clone();  // GEOS could not cut it: this call has no error to give
    }
}

}  // namespace ops
