// The transformation catalog: PROJ's candidate operations between two spatial references, most
// suitable first, and the directory of grid files that PROJ searches before its own.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/datum_transformation.h"
#include "model/envelope.h"

namespace ops {

// The candidates from the base geographic system of `input` to that of `output` (with their
// vertical systems where those count), in PROJ's order, those whose grids are missing included;
// limited to the area of interest when one is given (in its own spatial reference, or the input's
// when it has none; transformed into the input's base). The candidates' input and output are
// those bases. Empty when both share their geographic base (and, where vertical systems count,
// their vertical one).
std::vector<model::DatumTransformationPtr> transformations(const model::SpatialReferencePtr& input,
                                                           const model::SpatialReferencePtr& output,
                                                           const model::Envelope* area_of_interest, bool ignore_vertical);

model::DatumTransformationPtr inverse(const model::DatumTransformationData& transformation);

// The directory of grid files last set; none after a reset or before any setting.
std::optional<std::string> grid_directory();
// Puts `directory` in front of PROJ's search path; none restores the default path. A directory
// that does not exist is refused and changes nothing.
void set_grid_directory(const std::optional<std::string>& directory);

}  // namespace ops
