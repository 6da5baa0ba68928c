// Model polylines and polygons into and out of the engine.
#include "core/geometry/engine_sr.h"
#include "core/geometry/narrow.h"
#include "core/geometry/polygon.h"
#include "core/geometry/polyline.h"
#include "geometry/immutable_part_collection_iter.h"

namespace core::geometry {

using ::geometry::geometry::GeometryOwned;
using ::geometry::polygon::Polygon;
using ::geometry::polygon_builder::PolygonBuilder;
using ::geometry::polyline::Polyline;
using ::geometry::polyline_builder::PolylineBuilder;

// The curved parts first, then the straight ones, into one collection, as the engine has always
// been given them.
template <typename Builder>
GeoResult<Builder> VeltMultipartGeometry::as_builder(EngineSrMemo* memo) const {
    using ::geometry::mutable_part_collection::MutablePartCollection;
    EngineSr own;
    auto engine_sr = engine_sr_of(sr_, memo, own);
    if (!engine_sr) return std::unexpected(std::move(engine_sr.error()));
    const EngineSr& sr = **engine_sr;
    Builder builder = Builder::with_spatial_reference(borrow(sr));
    auto curved = read_or_stop(*curved_, "Lock poisoned");
    auto straight = read_or_stop(*straight_, "Lock poisoned");
    const MutablePartCollection all = MutablePartCollection::with_spatial_reference(borrow(sr));
    if (auto added = curved->add_parts_to(all, sr); !added) return std::unexpected(std::move(added.error()));
    if (auto added = straight->add_parts_to(all, sr); !added) return std::unexpected(std::move(added.error()));
    builder.set_parts(all);
    return builder;
}

namespace {

// Engine parts in engine order, sorted into straight and curved by whether they hold curves;
// every part takes the whole geometry's dimensions. The rings rules apply again on the way in.
template <typename G, typename E>
GeoResult<G> read_multipart(E engine, bool rings, const ResultSr& result_sr) {
    const bool has_z = engine.has_z();
    const bool has_m = engine.has_m();
    std::vector<Shared<VeltPart>> straight;
    std::vector<Shared<VeltCurvePart>> curved;
    auto parts = engine.parts().into_iter();
    while (auto part = parts.next()) {
        if (!part->has_curves()) {
            straight.push_back(make_shared_cell(VeltPart::from_immutable_part(std::move(*part), has_z, has_m)));
            continue;
        }
        auto read = rings ? VeltCurvePart::from_immutable_ring(std::move(*part), has_z, has_m)
                          : VeltCurvePart::from_immutable_part(std::move(*part), has_z, has_m);
        if (!read) return std::unexpected(std::move(read.error()));
        curved.push_back(make_shared_cell(std::move(*read)));
    }
    auto sr = result_sr.of(engine);
    return G::try_new_with_curves(has_z, has_m, std::move(straight), std::move(curved), std::move(sr));
}

template <typename T, typename Builder>
GeoResult<T> finish(GeoResult<Builder> builder) {
    if (!builder) return std::unexpected(std::move(builder.error()));
    return narrow<T>(builder->to_geometry());
}

}  // namespace

// ---- polyline -------------------------------------------------------------------------------------

GeoResult<PolylineBuilder> VeltGeometryPolyline::as_mutable_polyline(EngineSrMemo* memo) const {
    return as_builder<PolylineBuilder>(memo);
}
GeoResult<Polyline> VeltGeometryPolyline::as_polyline(EngineSrMemo* memo) const {
    return finish<Polyline>(as_mutable_polyline(memo));
}
GeoResult<GeometryOwned> VeltGeometryPolyline::as_geometry_owned(EngineSrMemo* memo) const {
    return widen(as_polyline(memo));
}
GeoResult<std::string> VeltGeometryPolyline::to_json() const { return engine_json(as_polyline()); }

GeoResult<VeltGeometryPolyline> VeltGeometryPolyline::from_immutable_polyline(Polyline polyline, const ResultSr& sr) {
    return read_multipart<VeltGeometryPolyline>(std::move(polyline), false, sr);
}

GeoResult<VeltGeometryPolyline> VeltGeometryPolyline::try_from_owned(GeometryOwned geometry) {
    return read_owned<Polyline, VeltGeometryPolyline>(
        std::move(geometry), [](Polyline polyline) { return from_immutable_polyline(std::move(polyline)); });
}

// ---- polygon --------------------------------------------------------------------------------------

GeoResult<PolygonBuilder> VeltGeometryPolygon::as_mutable_polygon(EngineSrMemo* memo) const {
    return as_builder<PolygonBuilder>(memo);
}
GeoResult<Polygon> VeltGeometryPolygon::as_polygon(EngineSrMemo* memo) const {
    return finish<Polygon>(as_mutable_polygon(memo));
}
GeoResult<Polyline> VeltGeometryPolygon::to_polyline() const {
    return finish<Polyline>(as_builder<PolylineBuilder>(nullptr));
}
GeoResult<GeometryOwned> VeltGeometryPolygon::as_geometry_owned(EngineSrMemo* memo) const {
    return widen(as_polygon(memo));
}
GeoResult<std::string> VeltGeometryPolygon::to_json() const { return engine_json(as_polygon()); }

GeoResult<VeltGeometryPolygon> VeltGeometryPolygon::from_immutable_polygon(Polygon polygon, const ResultSr& sr) {
    return read_multipart<VeltGeometryPolygon>(std::move(polygon), true, sr);
}

GeoResult<VeltGeometryPolygon> VeltGeometryPolygon::try_from_owned(GeometryOwned geometry) {
    return read_owned<Polygon, VeltGeometryPolygon>(
        std::move(geometry), [](Polygon polygon) { return from_immutable_polygon(std::move(polygon)); });
}

}  // namespace core::geometry
