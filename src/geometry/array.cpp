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

// The element is destroyed on the way out, so before anything the caller destroys.
template <typename T>
Result<T> item_at(const Array& array, uint64_t index) {
    auto element = handle::create<element::Element>(ENGINE_CALL(Array_at, array.handle(), index));
    if (!element) return std::unexpected(std::move(element).error());
    return value_of<T>(*element);
}

}  // namespace

template <typename T>
Result<std::vector<T>> Array::into_list() && {
    const Array array = std::move(*this);
    auto size = call(ENGINE_CALL(Array_getSize, array.handle()));
    if (!size) return std::unexpected(std::move(size).error());
    std::vector<T> items;
    items.reserve(*size);
    for (uint64_t i = 0; i < *size; ++i) {
        auto item = item_at<T>(array, i);
        if (!item) return std::unexpected(std::move(item).error());
        items.push_back(std::move(*item));
    }
    return items;
}

template Result<std::vector<polygon::Polygon>> Array::into_list() &&;
template Result<std::vector<geometry::GeometryOwned>> Array::into_list() &&;
template Result<std::vector<datum_transformation::DatumTransformationOwned>> Array::into_list() &&;

}  // namespace geometry::array
