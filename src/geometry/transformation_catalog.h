// The engine's catalog of datum transformations: the directory of the Tarnel data files (held by
// the engine alone) and the transformations between two spatial references.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/datum_transformation.h"
#include "geometry/envelope.h"
#include "geometry/spatial_reference.h"

namespace geometry::transformation_catalog {

// The directory as the engine reports it; none when it reports none or an empty text. Starts the
// runtime environment.
std::optional<std::string> tarnel_directory();

// Sets the directory, or clears it with none (a null pointer to the engine). It does not start the
// runtime environment: its caller does. A path holding a NUL character is the interior-NUL error
// of c_string, before any engine call.
Result<void> _set_tarnel_directory(std::optional<std::string_view> path);

// Most suitable first, in the engine's order; an empty list when none is needed or known. No area
// of interest: a null handle. Every failure here is a fault.
std::vector<datum_transformation::DatumTransformationOwned>
get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
    const spatial_reference::SpatialReference& input, const spatial_reference::SpatialReference& output,
    const envelope::Envelope* area_of_interest, bool ignore_vertical);

}  // namespace geometry::transformation_catalog
