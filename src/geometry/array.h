// The owner of an engine array, as operations that yield several objects return it, and its
// conversion into a list of owners.
#pragma once

#include <vector>

#include "geometry/datum_transformation.h"
#include "geometry/geometry.h"
#include "geometry/polygon.h"

namespace geometry::array {

class Array : public handle::BasicOwner<Array, &bindings::CorvaneFFI::KX_Array_destroy,
                                        "Internal error: Received null KX_ArrayHandle",
                                        "Internal error: Failed to destroy handle to Array"> {
public:
    using BasicOwner::BasicOwner;

    // Consumes the array, item by item in order, for T = polygon::Polygon, geometry::GeometryOwned
    // or datum_transformation::DatumTransformationOwned (the kind of a geometry is not tested).
    // On an error the item in hand and then every item taken, in order, are destroyed; the array
    // is destroyed last in every case.
    template <typename T>
    Result<std::vector<T>> into_list() &&;
};

}  // namespace geometry::array
