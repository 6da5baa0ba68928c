// The owner of an engine element: the single value through which items enter a vector and leave
// an array.
#pragma once

#include "geometry/geometry.h"

namespace geometry::element {

class Element : public handle::BasicOwner<Element, &bindings::CorvaneFFI::KX_Element_destroy,
                                          "Internal error: Unexpected null handle",
                                          "Internal error: Failed to destroy handle to Element"> {
public:
    using BasicOwner::BasicOwner;

    // An empty element (the engine's `new`).
    static Result<Element> create();

    Result<void> clear() const;
    Result<void> set_f64(double value) const;
    // Takes the geometry over: the engine copies it, and it is destroyed whether or not that worked.
    Result<void> set_geometry(geometry::GeometryOwned geometry) const;
};

}  // namespace geometry::element
