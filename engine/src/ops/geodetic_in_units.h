// The geodetic measures and buffers with their lengths and areas in a caller's unit: each is the
// operation of geodetic_measures.h or geodetic_buffer.h, its arguments taken into metres and its
// answer given back in the unit. A null unit is the base unit (metres, square metres); the unit is
// of the kind the quantity needs (the caller checks it).
#pragma once

#include <vector>

#include "model/unit.h"
#include "ops/geodesy.h"
#include "ops/planar.h"

namespace ops {

// In `unit`, an area unit.
double geodetic_area_in(const model::Geometry& geometry, CurveType type, const model::Unit* unit);

// In `unit`, a linear unit; so are `max_length`, `distance`, `distances` and `max_deviation`.
double geodetic_length_in(const model::Geometry& geometry, CurveType type, const model::Unit* unit);
GeometryPtr geodetic_densify_in(const model::Geometry& geometry, CurveType type, double max_length,
                                const model::Unit* unit);
GeometryPtr geodetic_buffer_in(const model::Geometry& geometry, CurveType type, double distance, double max_deviation,
                               const model::Unit* unit);
Geometries geodetic_buffers_in(const std::vector<const model::Geometry*>& geometries, const std::vector<double>& distances,
                               CurveType type, double max_deviation, bool unite, const model::Unit* unit);

}  // namespace ops
