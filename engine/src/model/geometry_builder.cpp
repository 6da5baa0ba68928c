#include "model/geometry_builder.h"

#include "model/multipart.h"
#include "model/multipoint.h"

namespace model {
namespace {

// A part for the geometry: taken over when the builder is its only holder (the caller has let go
// of the part and its collection, as every caller building one geometry has), copied otherwise.
Part part_for_geometry(const std::shared_ptr<const Part>& part) {
    // Every part's data is made as a non-const Part; only the shared handle is const.
    if (part.use_count() == 1) return std::move(const_cast<Part&>(*part));
    return *part;
}

}  // namespace

std::unique_ptr<Geometry> GeometryBuilder::build() {
    if (kind == GeometryKind::Multipoint) {
        auto result = std::make_unique<Multipoint>(points, dims);
        result->set_spatial_reference(spatial_reference);
        return result;
    }
    std::vector<Part> built;
    built.reserve(parts.size());
    for (const auto& part : parts) {
        built.push_back(part_for_geometry(part));
        // A ring read back from an earlier geometry is closed already, and closing is not idempotent
        // (a ring whose last two vertices equal its first would lose one more).
        if (kind == GeometryKind::Polygon && !built.back().ring) close_ring(built.back());
    }
    auto result = std::make_unique<Multipart>(kind, std::move(built), dims);
    result->set_spatial_reference(spatial_reference);
    // The builder reads its parts from then on from the geometry, whose data never changes behind a
    // handle and outlives it while shared, so a second build gives the same geometry.
    const auto storage = result->shared_parts();
    for (size_t i = 0; i < parts.size(); ++i) parts[i] = std::shared_ptr<const Part>(storage, &(*storage)[i]);
    return result;
}

}  // namespace model
