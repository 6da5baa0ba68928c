#include "geometry/transformation_catalog.h"

#include "geometry/array.h"
#include "geometry/c_string.h"
#include "geometry/environment.h"

namespace geometry::transformation_catalog {

std::optional<std::string> tarnel_directory() {
    environment::init();
    KX_StringHandle raw = call_or_stop(NAMED_ENGINE_CALL(TransformationCatalog_getTarnelDirectory));
    if (raw == nullptr) return std::nullopt;
    std::string directory = string_from_handle(raw);
    if (directory.empty()) return std::nullopt;
    return directory;
}

Result<void> _set_tarnel_directory(std::optional<std::string_view> path) {
    std::optional<std::string> buffer;
    if (path) {
        auto copied = c_string::copy(*path, "Path contains interior nulls.", "The path");
        if (!copied) return std::unexpected(std::move(copied).error());
        buffer = std::move(*copied);
    }
    return call(ENGINE_CALL(TransformationCatalog_setTarnelDirectory, buffer ? buffer->c_str() : nullptr));
}

std::vector<datum_transformation::DatumTransformationOwned>
get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
    const spatial_reference::SpatialReference& input, const spatial_reference::SpatialReference& output,
    const envelope::Envelope* area_of_interest, bool ignore_vertical) {
    auto array = handle::create_or_stop<array::Array>(NAMED_ENGINE_CALL(
        TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical, input.handle(),
        output.handle(), handle::raw_or_null(area_of_interest), ignore_vertical ? 1 : 0));
    auto list = std::move(array).into_list<datum_transformation::DatumTransformationOwned>();
    if (!list) core::stop("Internal error: Unexpected failure to transform return value");
    return std::move(*list);
}

}  // namespace geometry::transformation_catalog
