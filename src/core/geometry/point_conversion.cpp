// Model points and envelopes into and out of the engine.
#include "core/geometry/engine_sr.h"
#include "core/geometry/envelope.h"
#include "core/geometry/narrow.h"
#include "core/geometry/point.h"

namespace core::geometry {

using ::geometry::envelope::Envelope;
using ::geometry::geometry::GeometryOwned;
using ::geometry::point::Point;

GeoResult<Point> VeltGeometryPoint::as_point(EngineSrMemo* memo) const {
    EngineSr own;
    auto engine_sr = engine_sr_of(sr, memo, own);
    if (!engine_sr) return std::unexpected(std::move(engine_sr.error()));
    if (const EngineSr& engine = **engine_sr) return Point::with_x_y_z_m_spatial_reference(x, y, z, m, *engine);
    return Point::with_x_y_z_m(x, y, z, m);
}

GeoResult<GeometryOwned> VeltGeometryPoint::as_geometry_owned(EngineSrMemo* memo) const {
    return widen(as_point(memo));
}
GeoResult<std::string> VeltGeometryPoint::to_json() const { return engine_json(as_point()); }

VeltGeometryPoint VeltGeometryPoint::from_immutable_point(Point point, const ResultSr& sr) {
    return VeltGeometryPoint{point.x(), point.y(), point.z(), point.m(), sr.of(point), std::nullopt};
}

GeoResult<VeltGeometryPoint> VeltGeometryPoint::try_from_owned(GeometryOwned geometry) {
    return read_owned<Point, VeltGeometryPoint>(std::move(geometry), [](Point point) { return from_immutable_point(std::move(point)); });
}

namespace {
std::optional<::geometry::envelope::Range> range_of(std::optional<double> min, std::optional<double> max) {
    if (!min || !max) return std::nullopt;
    return ::geometry::envelope::Range{*min, *max};
}
}  // namespace

GeoResult<Envelope> VeltGeometryEnvelope::as_envelope(EngineSrMemo* memo) const {
    EngineSr own;
    auto engine_sr = engine_sr_of(sr, memo, own);
    if (!engine_sr) return std::unexpected(std::move(engine_sr.error()));
    const auto z = range_of(zmin, zmax);
    const auto m = range_of(mmin, mmax);
    if (const EngineSr& engine = **engine_sr)
        return Envelope::with_x_y_z_m_spatial_reference(xmin, xmax, ymin, ymax, z, m, *engine);
    return Envelope::with_x_y_z_m(xmin, xmax, ymin, ymax, z, m);
}

GeoResult<GeometryOwned> VeltGeometryEnvelope::as_geometry_owned(EngineSrMemo* memo) const {
    return widen(as_envelope(memo));
}

VeltGeometryEnvelope VeltGeometryEnvelope::from_immutable_envelope(Envelope envelope, const ResultSr& sr) {
    VeltGeometryEnvelope result;
    result.xmin = envelope.x_min();
    result.xmax = envelope.x_max();
    result.ymin = envelope.y_min();
    result.ymax = envelope.y_max();
    result.zmin = envelope.z_min();
    result.zmax = envelope.z_max();
    result.mmin = envelope.m_min();
    result.mmax = envelope.m_max();
    result.sr = sr.of(envelope);
    return result;
}

GeoResult<VeltGeometryEnvelope> VeltGeometryEnvelope::try_from_owned(GeometryOwned geometry) {
    return read_owned<Envelope, VeltGeometryEnvelope>(std::move(geometry),
                                                      [](Envelope envelope) { return from_immutable_envelope(std::move(envelope)); });
}

}  // namespace core::geometry
