// A part under construction: a path until a polygon builder turns it into a ring. Its data is
// shared with the collections it is added to (a part in a collection never changes), and copied
// only when the part is changed while a collection still holds it, so adding a part copies nothing.
#pragma once

#include <memory>

#include "model/object.h"
#include "model/part.h"
#include "model/part_storage.h"
#include "model/pool.h"
#include "model/spatial_reference.h"

namespace model {

class MutablePart : public Object {
public:
    explicit MutablePart(SpatialReferencePtr sr, std::shared_ptr<const Part> p = new_part_data())
        : Object(ClassTag::MutablePart), spatial_reference(std::move(sr)), data_(std::move(p)) {}
    MODEL_POOLED(MutablePart)

    const Part& part() const { return *data_; }
    // The part to change, made this part's own first while anyone else shares it.
    Part& edit() {
        if (data_.use_count() != 1) [[unlikely]] unshare();
        // Every part's data is made as a non-const Part; only the shared handle is const.
        return const_cast<Part&>(*data_);
    }
    // The data as it is now, for a collection to keep.
    const std::shared_ptr<const Part>& share() const { return data_; }

    SpatialReferencePtr spatial_reference;

private:
    // Out of line: a vertex is added through edit(), and the copy, which only a part changed after
    // a collection took it needs, made every addition save registers it never used.
    [[gnu::noinline]] void unshare() { data_ = new_part_data(*data_); }

    std::shared_ptr<const Part> data_;
};

}  // namespace model
