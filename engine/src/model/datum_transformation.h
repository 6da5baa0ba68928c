// An engine datum transformation: one PROJ coordinate operation between two spatial references,
// with what the engine reports of it, worked out once when it is made. Immutable and shared, like
// spatial references: a handle, an element or an array item may hold the same one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "corvane/corvane.h"
#include "model/object.h"
#include "model/proj_context.h"
#include "model/spatial_reference.h"

namespace model {

enum class DatumTransformationKind : int32_t {
    Geographic = KX_DATUM_TRANSFORMATION_GEOGRAPHIC,
    HorizontalVertical = KX_DATUM_TRANSFORMATION_HORIZONTAL_VERTICAL,
};

struct DatumTransformationData {
    proj::ObjectPtr operation;  // from `input` to `output`, axes as PROJ defines them
    SpatialReferencePtr input;
    SpatialReferencePtr output;
    std::string name;
    DatumTransformationKind kind = DatumTransformationKind::Geographic;
    bool missing_grids = false;
};

using DatumTransformationPtr = std::shared_ptr<const DatumTransformationData>;

class DatumTransformation : public Object {
public:
    explicit DatumTransformation(DatumTransformationPtr value)
        : Object(ClassTag::DatumTransformation), value_(std::move(value)) {}
    const DatumTransformationPtr& value() const { return value_; }

private:
    DatumTransformationPtr value_;
};

}  // namespace model
