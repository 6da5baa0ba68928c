// The data of mutable parts and of polylines' and polygons' part lists: made in one allocation with
// its sharing count, and its vertex storage handed on, when the last holder lets go, to the next
// part the same thread makes, so a part filled vertex by vertex starts with room for as many
// vertices as the one before it (or the geometry made from it) and grows no more.
#pragma once

#include <memory>
#include <type_traits>
#include <vector>

#include "model/part.h"

namespace model {

// Empty vertex storage, with room where a part of this thread left some.
std::vector<Vertex> reused_vertex_storage();
// Keeps the storage of a part that ends for the next one (within bounds, see part_storage.cpp).
void keep_vertex_storage(std::vector<Vertex>&& points) noexcept;

template <typename T>
struct PartAllocator {
    using value_type = T;
    PartAllocator() = default;
    template <typename U>
    PartAllocator(const PartAllocator<U>&) {}
    T* allocate(std::size_t n) { return std::allocator<T>().allocate(n); }
    void deallocate(T* p, std::size_t n) noexcept { std::allocator<T>().deallocate(p, n); }
    template <typename U>
    void destroy(U* p) noexcept {
        if constexpr (std::is_same_v<U, Part>) keep_vertex_storage(std::move(p->points));
        if constexpr (std::is_same_v<U, std::vector<Part>>)
            for (Part& part : *p) keep_vertex_storage(std::move(part.points));
        p->~U();
    }
    template <typename U>
    bool operator==(const PartAllocator<U>&) const {
        return true;
    }
};

// A new part's data: empty with reused storage, or a copy of `from`.
inline std::shared_ptr<Part> new_part_data() {
    Part part;
    part.points = reused_vertex_storage();
    return std::allocate_shared<Part>(PartAllocator<Part>(), std::move(part));
}
inline std::shared_ptr<Part> new_part_data(const Part& from) {
    return std::allocate_shared<Part>(PartAllocator<Part>(), from);
}

// A polyline's or polygon's part list, whose vertex storage goes the same way when it ends.
inline std::shared_ptr<std::vector<Part>> shared_part_list(std::vector<Part> parts) {
    return std::allocate_shared<std::vector<Part>>(PartAllocator<std::vector<Part>>(), std::move(parts));
}

}  // namespace model
