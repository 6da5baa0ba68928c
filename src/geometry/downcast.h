// `Downcast`: narrowing a GeometryOwned to a typed owner by the engine's kind code (consuming, or
// borrowing for polygons), and a SegmentOwned to a typed segment (borrowing only). The kind is
// asked of the engine every time, never cached.
#pragma once

#include <type_traits>
#include <utility>

#include "geometry/cubic_bezier_segment.h"
#include "geometry/elliptic_arc_segment.h"
#include "geometry/envelope.h"
#include "geometry/geometry.h"
#include "geometry/line_segment.h"
#include "geometry/multipoint.h"
#include "geometry/point.h"
#include "geometry/polygon.h"
#include "geometry/polyline.h"
#include "geometry/segment.h"

namespace geometry::downcast {

namespace detail {
// Which narrowing asks for a geometry's kind: its stop text on an engine error differs.
enum class Narrowing { Consuming, Borrowing };
// The raw kind codes; an engine error is a stop.
int32_t geometry_kind(KX_GeometryHandle geometry, Narrowing narrowing);
int32_t segment_kind(KX_SegmentHandle segment);
}  // namespace detail

// Consumes the geometry. To a typed owner: the same handle when the kinds match; otherwise the
// conversion error, and the geometry has been destroyed. To GeometryOwned: any kind passes.
template <typename T>
    requires std::is_same_v<T, geometry::GeometryOwned> || geometry::TypedGeometry<T>
Result<T> downcast(geometry::GeometryOwned owned) {
    const int32_t code = detail::geometry_kind(owned.handle(), detail::Narrowing::Consuming);
    if constexpr (std::is_same_v<T, geometry::GeometryOwned>) {
        return owned;
    } else {
        if (code == static_cast<int32_t>(T::kind)) return T::from_handle(std::move(owned).release());
        auto error = Error::new_conversion_error("GeometryOwned", T::type_name);
        { geometry::GeometryOwned lost = std::move(owned); }
        return std::unexpected(std::move(error));
    }
}

// Borrows the geometry as a polygon, for as long as the GeometryOwned lives; any other kind is the
// conversion error and the geometry stays untouched.
template <typename T>
    requires std::is_same_v<T, polygon::Polygon>
Result<polygon::PolygonRef> downcast_ref(const geometry::GeometryOwned& owned) {
    const int32_t code = detail::geometry_kind(owned.handle(), detail::Narrowing::Borrowing);
    if (code != static_cast<int32_t>(T::kind))
        return std::unexpected(Error::new_conversion_error("GeometryOwned", T::type_name));
    return polygon::PolygonRef(owned.handle());
}

// Borrows the segment as a typed segment; any other kind is the conversion error, and the segment
// can be narrowed again.
template <segment::TypedSegment T>
Result<typename T::Ref> downcast_ref(const segment::SegmentOwned& owned) {
    if (detail::segment_kind(owned.handle()) != static_cast<int32_t>(T::kind))
        return std::unexpected(Error::new_conversion_error("SegmentOwned", T::type_name));
    return typename T::Ref(owned.handle());
}

}  // namespace geometry::downcast
