#include "geometry/vector.h"

namespace geometry::vector {

Result<Vector> Vector::create(VectorElementType type) {
    return handle::create<Vector>(ENGINE_CALL(Vector_create, static_cast<int32_t>(type)));
}

Result<void> Vector::add(const element::Element& element) const {
    auto added = call(ENGINE_CALL(Vector_add, handle(), element.handle()));
    if (!added) return std::unexpected(std::move(added).error());
    return {};
}

}  // namespace geometry::vector
