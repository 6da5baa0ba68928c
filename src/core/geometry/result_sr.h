// The spatial reference of a model read back from an engine geometry.
#pragma once

#include <optional>

#include "core/geometry/spatial_reference.h"

namespace core::geometry {

// The model spatial reference of an engine geometry, none when it has none.
template <typename G>
std::optional<SpatialReference> sr_read_back(const G& geometry) {
    auto sr = geometry.spatial_reference();
    if (!sr) return std::nullopt;
    return sr_convert(*sr);
}

// Where a model read back from an engine geometry takes its spatial reference: by default from the
// engine geometry (four engine calls, about a tenth of the cost of reading a point back); or, for the results of an
// operation whose contract names their reference (a projection's target), the model form of that
// reference, read from the engine once for all of them.
class ResultSr {
public:
    ResultSr() = default;
    // `known` outlives every read made with this value.
    explicit ResultSr(const std::optional<SpatialReference>& known) : known_(&known) {}

    template <typename G>
    std::optional<SpatialReference> of(const G& geometry) const {
        if (known_ != nullptr) return *known_;
        return sr_read_back(geometry);
    }

private:
    const std::optional<SpatialReference>* known_ = nullptr;
};

}  // namespace core::geometry
