// The owner of an engine datum transformation, and `DatumTransformation`, its queries. Nothing is
// cached: every query asks the engine again.
#pragma once

#include <optional>
#include <string>

#include "geometry/datum_transformation_type.h"
#include "geometry/handle.h"
#include "geometry/spatial_reference.h"

namespace geometry::datum_transformation {

class DatumTransformationOwned;

namespace detail {
std::string name(KX_DatumTransformationHandle transformation);
datum_transformation_type::DatumTransformationType object_type(KX_DatumTransformationHandle transformation);
std::optional<spatial_reference::SpatialReference> input_spatial_reference(KX_DatumTransformationHandle transformation);
std::optional<spatial_reference::SpatialReference> output_spatial_reference(KX_DatumTransformationHandle transformation);
bool is_missing_tarnel_files(KX_DatumTransformationHandle transformation);
Result<DatumTransformationOwned> get_inverse(KX_DatumTransformationHandle transformation);
}  // namespace detail

// The getters stop on an engine error; only `get_inverse` returns it.
template <typename Self>
class DatumTransformation {
public:
    std::string name() const { return detail::name(raw()); }
    datum_transformation_type::DatumTransformationType object_type() const { return detail::object_type(raw()); }
    // None when the engine gives no spatial reference.
    std::optional<spatial_reference::SpatialReference> input_spatial_reference() const {
        return detail::input_spatial_reference(raw());
    }
    std::optional<spatial_reference::SpatialReference> output_spatial_reference() const {
        return detail::output_spatial_reference(raw());
    }
    // True when data files that the transformation needs are missing.
    bool is_missing_tarnel_files() const { return detail::is_missing_tarnel_files(raw()); }
    // A new transformation; there is no "none": a null inverse is a fault.
    Result<DatumTransformationOwned> get_inverse() const;

private:
    KX_DatumTransformationHandle raw() const { return static_cast<const Self&>(*this).handle(); }
};

class DatumTransformationOwned
    : public handle::Owner<DatumTransformationOwned, &bindings::CorvaneFFI::KX_DatumTransformation_destroy,
                           "DatumTransformationOwned", "DatumTransformation">,
      public DatumTransformation<DatumTransformationOwned> {
public:
    using BasicOwner::BasicOwner;
};

template <typename Self>
Result<DatumTransformationOwned> DatumTransformation<Self>::get_inverse() const {
    return detail::get_inverse(raw());
}

}  // namespace geometry::datum_transformation
