// Projecting geometries between spatial references over PROJ. An operation is a chain of PROJ
// coordinate operations with x east (longitude) first at every joint, run over the vertices in
// place; z goes through only when both ends have a vertical coordinate system.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "model/datum_transformation.h"
#include "model/geometry.h"

namespace ops {

class CoordinateOperation {
public:
    CoordinateOperation(std::vector<std::shared_ptr<PJ>> steps, bool with_z) : steps_(std::move(steps)), with_z_(with_z) {}

    // Transforms x and y (and z, when the operation carries it) of every vertex in place; a vertex
    // with NaN x or y stays as it is. Throws model::EngineError when PROJ cannot transform a vertex.
    void run(std::span<model::Vertex> vertices) const;
    // The bounding box of the image of a box (every point of its edges); throws as `run`.
    void run_bounds(double& xmin, double& ymin, double& xmax, double& ymax) const;
    bool with_z() const { return with_z_; }

private:
    std::vector<std::shared_ptr<PJ>> steps_;
    bool with_z_;
};

using CoordinateOperationPtr = std::shared_ptr<const CoordinateOperation>;

// PROJ's best available operation between the two references (the one it picks point by point
// with the grids present); remembered for the pairs used last.
CoordinateOperationPtr best_operation(const model::SpatialReferencePtr& from, const model::SpatialReferencePtr& to);

// The operation that runs exactly `transformation`, joined to the geometry's reference and to the
// target by PROJ's best operations where they differ from its input and output.
CoordinateOperationPtr operation_through(const model::SpatialReferenceData& from, const model::SpatialReferenceData& to,
                                         const model::DatumTransformationData& transformation);

// The geometry in `target` by `operation`; a geometry without a spatial reference is only given
// the target. Circular arcs stay arcs where the operation maps them onto circles; other curves are
// followed by points. An envelope becomes the envelope of its image.
std::unique_ptr<model::Geometry> projected(const model::Geometry& geometry, const model::SpatialReferencePtr& target,
                                           const CoordinateOperation* operation);

// `geometry` projected into `target` with PROJ's best operation (a copy when the references are
// equal or the geometry has none).
std::unique_ptr<model::Geometry> projected(const model::Geometry& geometry, const model::SpatialReferencePtr& target);

// Between a reference and its geographic base (x longitude, y latitude, in the base's angular
// unit, normally degrees): none for a geographic reference, whose coordinates are those already.
enum class Direction { ToGeographic, FromGeographic };
CoordinateOperationPtr geographic_operation(const model::SpatialReferenceData& sr, Direction direction);

// Forgets the remembered operations: the best one may change when the grids PROJ finds change.
void forget_operations();

// Whether the coordinate system has a vertical axis: a vertical part, or three axes of its own.
bool has_vertical(const model::SpatialReferenceData& sr);

}  // namespace ops
