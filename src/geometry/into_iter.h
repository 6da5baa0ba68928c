// The iterator that takes over an immutable collection: it reads the count once, fetches one item
// per step and never asks for an index at or beyond that count.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "geometry/handle.h"

namespace geometry::into_iter {

template <typename Get>
struct ItemOf;
template <typename C, typename I>
struct ItemOf<Result<I> (C::*)(uint64_t) const> {
    using type = I;
};

// `Get` is the collection's getter by index; an engine error from it is the stop `OutOfRange`,
// carrying the error.
template <typename Collection, auto Get, handle::FixedString OutOfRange>
class IntoIter {
public:
    using Item = typename ItemOf<decltype(Get)>::type;

    // When `size` stops, the collection is destroyed as the stop unwinds.
    explicit IntoIter(Collection collection) : collection_(std::move(collection)), count_(collection_.size()) {}

    // The next item, a new owner, or none once the iteration has ended.
    std::optional<Item> next() {
        if (index_ >= count_) return std::nullopt;
        auto item = (collection_.*Get)(index_);
        if (!item) stop_with(OutOfRange.view(), item.error());
        ++index_;
        return std::move(*item);
    }

private:
    Collection collection_;
    uint64_t count_;
    uint64_t index_ = 0;
};

}  // namespace geometry::into_iter
