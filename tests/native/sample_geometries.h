// Small engine geometries of every kind, built through the binding's builders.
#pragma once

#include <utility>
#include <vector>

#include "geometry/envelope.h"
#include "geometry/multipoint_builder.h"
#include "geometry/point.h"
#include "geometry/polygon_builder.h"
#include "geometry/polyline_builder.h"

namespace samples {

using ::geometry::geometry::GeometryOwned;
using XY = std::pair<double, double>;

template <typename Builder>
GeometryOwned multipart(const std::vector<std::vector<XY>>& parts,
                        const geometry::spatial_reference::SpatialReference* sr = nullptr) {
    auto builder = Builder::with_spatial_reference(sr);
    auto collection = geometry::mutable_part_collection::MutablePartCollection::with_spatial_reference(sr);
    for (const auto& vertices : parts) {
        auto part = geometry::mutable_part::MutablePart::with_spatial_reference(sr);
        for (auto [x, y] : vertices) part.add_point_x_y(x, y);
        collection.add_part(part);
    }
    builder.set_parts(collection);
    return builder.to_geometry();
}

inline GeometryOwned polyline(const std::vector<std::vector<XY>>& parts = {{{0, 0}, {1, 1}, {2, 0}}}) {
    return multipart<geometry::polyline_builder::PolylineBuilder>(parts);
}

inline GeometryOwned polygon(const std::vector<std::vector<XY>>& rings = {{{0, 0}, {0, 4}, {4, 4}, {4, 0}}}) {
    return multipart<geometry::polygon_builder::PolygonBuilder>(rings);
}

inline GeometryOwned multipoint(const std::vector<XY>& points = {{1, 2}, {3, 4}}) {
    auto builder = geometry::multipoint_builder::MultipointBuilder::with_spatial_reference(nullptr);
    auto collection = geometry::mutable_point_collection::MutablePointCollection::with_spatial_reference(nullptr);
    for (auto [x, y] : points) collection.add_point(geometry::point::Point::with_x_y(x, y));
    builder.set_points(collection);
    return builder.to_geometry();
}

inline GeometryOwned point() { return GeometryOwned::from(geometry::point::Point::with_x_y(1, 2)); }

inline GeometryOwned envelope() { return GeometryOwned::from(geometry::envelope::Envelope::with_x_y(0, 2, 0, 3)); }

}  // namespace samples
