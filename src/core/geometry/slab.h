// A keyed store: a slot vector with a free list. A freed slot's key is handed out again before a
// new slot is appended, the most recently freed first. Keys never leave the curve part that owns
// the store.
#pragma once

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "base/fault.h"

namespace core::geometry {

template <typename T>
class Slab {
public:
    std::size_t insert(T value) {
        if (!free_.empty()) {
            const std::size_t key = free_.back();
            free_.pop_back();
            slots_[key] = std::move(value);
            return key;
        }
        slots_.emplace_back(std::move(value));
        return slots_.size() - 1;
    }
    const T& get(std::size_t key) const { return *checked(key); }
    T remove(std::size_t key) {
        T value = std::move(*checked(key));
        slots_[key].reset();
        free_.push_back(key);
        return value;
    }
    void clear() {
        slots_.clear();
        free_.clear();
    }
    std::size_t size() const { return slots_.size() - free_.size(); }

private:
    // A key that names no record means the curve index and its stores disagree.
    const std::optional<T>& checked(std::size_t key) const {
        if (key >= slots_.size() || !slots_[key]) core::stop("Internal error: curve record missing from its store");
        return slots_[key];
    }
    std::optional<T>& checked(std::size_t key) {
        return const_cast<std::optional<T>&>(std::as_const(*this).checked(key));
    }

    std::vector<std::optional<T>> slots_;
    std::vector<std::size_t> free_;
};

}  // namespace core::geometry
