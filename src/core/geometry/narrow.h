// Narrowing engine geometries for the model: a kind mismatch is the engine binding's conversion
// error carried as a CorvaneLibrary error (the engine geometry is gone by then).
#pragma once

#include <optional>
#include <string>

#include "core/geometry/errors.h"
#include "core/geometry/result_sr.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/downcast.h"

namespace core::geometry {

template <typename T>
GeoResult<T> narrow(::geometry::geometry::GeometryOwned geometry) {
    auto typed = ::geometry::downcast::downcast<T>(std::move(geometry));
    if (!typed) return std::unexpected(VeltGeoErr::from_engine(typed.error()));
    return std::move(*typed);
}

// Narrows to T, then reads the typed engine geometry into the model value G.
template <typename T, typename G, typename Read>
GeoResult<G> read_owned(::geometry::geometry::GeometryOwned geometry, Read read) {
    auto typed = narrow<T>(std::move(geometry));
    if (!typed) return std::unexpected(std::move(typed.error()));
    return read(std::move(*typed));
}

// A typed engine geometry handed on as a general one.
template <typename T>
GeoResult<::geometry::geometry::GeometryOwned> widen(GeoResult<T> typed) {
    if (!typed) return std::unexpected(std::move(typed.error()));
    return ::geometry::geometry::GeometryOwned::from(std::move(*typed));
}

// The engine's own JSON text of a typed engine geometry.
template <typename T>
GeoResult<std::string> engine_json(GeoResult<T> typed) {
    if (!typed) return std::unexpected(std::move(typed.error()));
    return typed->to_json();
}

}  // namespace core::geometry
