// Lists of parts: the one a builder is given (parts as added, still paths, each shared with the
// mutable part it came from until that one changes) and the read-only lists a polyline or polygon
// hands out (sharing the geometry's data, so they outlive the geometry).
#pragma once

#include <memory>
#include <vector>

#include "model/object.h"
#include "model/part.h"
#include "model/pool.h"
#include "model/spatial_reference.h"

namespace model {

class MutablePartCollection : public Object {
public:
    explicit MutablePartCollection(SpatialReferencePtr sr)
        : Object(ClassTag::MutablePartCollection), spatial_reference(std::move(sr)) {}
    MODEL_POOLED(MutablePartCollection)

    std::vector<std::shared_ptr<const Part>> parts;
    SpatialReferencePtr spatial_reference;
};

// Shared by a read-only part and its collection: the geometry's dimensions and spatial reference.
struct PartContext {
    Dims dims;
    SpatialReferencePtr spatial_reference;
};

// The read-only part and part list share their data with what they were read from (a part with
// its list, a list with no one else), so handing out a part or its points copies nothing.
class ImmutablePart : public Object {
public:
    ImmutablePart(std::shared_ptr<const Part> p, PartContext context)
        : Object(ClassTag::ImmutablePart), storage_(std::move(p)), part(*storage_), context(std::move(context)) {}
    MODEL_POOLED(ImmutablePart)

    const std::shared_ptr<const Part>& storage() const { return storage_; }

private:
    std::shared_ptr<const Part> storage_;

public:
    const Part& part;
    PartContext context;
};

class ImmutablePartCollection : public Object {
public:
    ImmutablePartCollection(std::shared_ptr<const std::vector<Part>> p, PartContext context)
        : Object(ClassTag::ImmutablePartCollection), storage_(std::move(p)), parts(*storage_),
          context(std::move(context)) {}
    MODEL_POOLED(ImmutablePartCollection)

    // Part `index`, sharing this list's data.
    std::shared_ptr<const Part> shared_part(size_t index) const { return {storage_, &parts[index]}; }

private:
    std::shared_ptr<const std::vector<Part>> storage_;

public:
    const std::vector<Part>& parts;
    PartContext context;
};

}  // namespace model
