#include "geometry/array.h"

#include <type_traits>

#include "geometry/element.h"

namespace geometry::array {

namespace {

template <typename T>
Result<T> value_of(const element::Element& element) {
    if constexpr (std::is_same_v<typename T::Handle, KX_GeometryHandle>)
        return handle::create<T>(ENGINE_CALL(Element_getValueAsGeometry, element.handle()));
    else
        return handle::create<T>(ENGINE_CALL(Element_getValueAsDatumTransformation, element.handle()));
}

}  // namespace

Result<uint64_t> Array::size() const { return call(ENGINE_CALL(Array_getSize, handle())); }

// The element is destroyed on the way out, so before anything the caller destroys.
template <typename T>
Result<T> Array::at(uint64_t index) const {
    auto element = handle::create<element::Element>(ENGINE_CALL(Array_at, handle(), index));
    if (!element) return std::unexpected(std::move(element).error());
    return value_of<T>(*element);
}

template Result<polygon::Polygon> Array::at(uint64_t) const;
template Result<geometry::GeometryOwned> Array::at(uint64_t) const;
template Result<datum_transformation::DatumTransformationOwned> Array::at(uint64_t) const;

}  // namespace geometry::array
