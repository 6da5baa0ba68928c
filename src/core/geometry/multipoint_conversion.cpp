// Model multipoints into and out of the engine.
#include "core/geometry/engine_sr.h"
#include "core/geometry/multipoint.h"
#include "core/geometry/narrow.h"
#include "geometry/immutable_point_collection_iter.h"
#include "geometry/mutable_point_collection.h"

namespace core::geometry {

using ::geometry::geometry::GeometryOwned;
using ::geometry::multipoint::Multipoint;
using ::geometry::multipoint_builder::MultipointBuilder;

GeoResult<MultipointBuilder> VeltGeometryMultipoint::as_mutable_multipoint(EngineSrMemo* memo) const {
    using ::geometry::mutable_point_collection::MutablePointCollection;
    EngineSr own;
    auto engine_sr = engine_sr_of(sr_, memo, own);
    if (!engine_sr) return std::unexpected(std::move(engine_sr.error()));
    MultipointBuilder builder = MultipointBuilder::with_spatial_reference(borrow(**engine_sr));
    auto points = read_or_stop(*points_, "Lock poisoned");
    MutablePointCollection collection = MutablePointCollection::with_spatial_reference(borrow(**engine_sr));
    for (std::size_t i = 0; i < points->len(); ++i) collection.add_point(points->get(i)->as_point());
    builder.set_points(collection);
    return builder;
}

GeoResult<Multipoint> VeltGeometryMultipoint::as_multipoint(EngineSrMemo* memo) const {
    auto builder = as_mutable_multipoint(memo);
    if (!builder) return std::unexpected(std::move(builder.error()));
    return narrow<Multipoint>(builder->to_geometry());
}

GeoResult<GeometryOwned> VeltGeometryMultipoint::as_geometry_owned(EngineSrMemo* memo) const {
    return widen(as_multipoint(memo));
}
GeoResult<std::string> VeltGeometryMultipoint::to_json() const { return engine_json(as_multipoint()); }

VeltGeometryMultipoint VeltGeometryMultipoint::from_immutable_multipoint(Multipoint multipoint, const ResultSr& sr) {
    VeltPart part = VeltPart::from_points(multipoint.points(), multipoint.has_z(), multipoint.has_m());
    return VeltGeometryMultipoint(make_shared_cell(std::move(part)), sr.of(multipoint));
}

GeoResult<VeltGeometryMultipoint> VeltGeometryMultipoint::try_from_owned(GeometryOwned geometry) {
    return read_owned<Multipoint, VeltGeometryMultipoint>(
        std::move(geometry), [](Multipoint multipoint) { return from_immutable_multipoint(std::move(multipoint)); });
}

}  // namespace core::geometry
