#include "ops/geodetic_in_units.h"

#include "ops/geodetic_buffer.h"
#include "ops/geodetic_measures.h"

namespace ops {

using model::from_base;
using model::to_base;

double geodetic_area_in(const model::Geometry& geometry, CurveType type, const model::Unit* unit) {
    return from_base(geodetic_area(geometry, type), unit);
}

double geodetic_length_in(const model::Geometry& geometry, CurveType type, const model::Unit* unit) {
    return from_base(geodetic_length(geometry, type), unit);
}

GeometryPtr geodetic_densify_in(const model::Geometry& geometry, CurveType type, double max_length,
                                const model::Unit* unit) {
    return geodetic_densify(geometry, type, to_base(max_length, unit));
}

GeometryPtr geodetic_buffer_in(const model::Geometry& geometry, CurveType type, double distance, double max_deviation,
                               const model::Unit* unit) {
    return geodetic_buffer(geometry, type, to_base(distance, unit), to_base(max_deviation, unit));
}

Geometries geodetic_buffers_in(const std::vector<const model::Geometry*>& geometries, const std::vector<double>& distances,
                               CurveType type, double max_deviation, bool unite, const model::Unit* unit) {
    std::vector<double> in_metres;
    in_metres.reserve(distances.size());
    for (double distance : distances) in_metres.push_back(to_base(distance, unit));
    return geodetic_buffers(geometries, in_metres, type, to_base(max_deviation, unit), unite);
}

}  // namespace ops
