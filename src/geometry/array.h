// The owner of an engine array, as operations that yield several objects return it, and the ways
// of reading it out: item by item into the caller's hands, or whole into a list of owners.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "geometry/datum_transformation.h"
#include "geometry/geometry.h"
#include "geometry/polygon.h"

namespace geometry::array {

class Array : public handle::BasicOwner<Array, &bindings::CorvaneFFI::KX_Array_destroy,
                                        "Internal error: Received null KX_ArrayHandle",
                                        "Internal error: Failed to destroy handle to Array"> {
public:
    using BasicOwner::BasicOwner;

    // The number of items.
    Result<uint64_t> size() const;

    // A new owner of the item at `index`, for T = polygon::Polygon, geometry::GeometryOwned or
    // datum_transformation::DatumTransformationOwned (the kind of a geometry is not tested).
    template <typename T>
    Result<T> at(uint64_t index) const;

    // Consumes the array: each item in order, as a T, handed to `take` (bool take(T&&)) as soon as
    // it is read, so that no more than one item exists outside the array at a time; `take` answers
    // false to stop reading. A read that fails ends it with that error. The array is destroyed on
    // the way out in every case.
    template <typename T, typename Take>
    Result<void> drain(Take&& take) &&;

    // Consumes the array into a list of its items in order. On an error the item in hand and then
    // every item taken, in order, are destroyed; the array is destroyed last in every case.
    template <typename T>
    Result<std::vector<T>> into_list() &&;

private:
    // Reads `array` item by item into `take`, as drain describes.
    template <typename T, typename Take>
    static Result<void> each(const Array& array, Take&& take);
};

// An engine array whose items are all of kind T: what the batch operations answer, so that the
// caller may turn each result into its own form and let it go before the next is read.
template <typename T>
class Items {
public:
    explicit Items(Array array) : array_(std::move(array)) {}

    Result<uint64_t> size() const { return array_.size(); }
    template <typename Take>
    Result<void> drain(Take&& take) && {
        return std::move(array_).template drain<T>(std::forward<Take>(take));
    }
    Result<std::vector<T>> into_list() && { return std::move(array_).template into_list<T>(); }

private:
    Array array_;
};

template <typename T, typename Take>
Result<void> Array::each(const Array& array, Take&& take) {
    auto count = array.size();
    if (!count) return std::unexpected(std::move(count).error());
    for (uint64_t i = 0; i < *count; ++i) {
        auto item = array.at<T>(i);
        if (!item) return std::unexpected(std::move(item).error());
        if (!take(std::move(*item))) break;
    }
    return {};
}

template <typename T, typename Take>
Result<void> Array::drain(Take&& take) && {
    const Array array = std::move(*this);
    return each<T>(array, std::forward<Take>(take));
}

template <typename T>
Result<std::vector<T>> Array::into_list() && {
    const Array array = std::move(*this);
    std::vector<T> items;
    auto read = each<T>(array, [&](T&& item) {
        items.push_back(std::move(item));
        return true;
    });
    if (!read) return std::unexpected(std::move(read).error());
    return items;
}

}  // namespace geometry::array
