// Working arrays of a call (the boxes and sizes of a polygon's rings, the indexes over them), kept
// by the thread when the call ends and handed to its next call. A polygon of many rings needs
// megabytes of them; freed, the allocator hands that memory back to the system at the end of each
// call, and the next call pays a page fault for every 4 KiB it touches again, more than the work
// done in them. Only storage is kept, never a geometry or a result, and within a bound a thread.
#pragma once

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace ops {

namespace scratch_detail {

// Bytes of kept storage a thread holds at most, over every element type, and buffers kept of each.
inline constexpr std::size_t kKeptBytes = std::size_t{32} << 20;
inline constexpr std::size_t kKeptBuffers = 6;

struct Budget {
    std::size_t bytes = 0;
    bool ended = false;  // past the thread's end: nothing more is kept
};
inline thread_local Budget budget;

template <typename T>
struct Kept {
    std::array<std::vector<T>, kKeptBuffers> buffers;
    std::size_t count = 0;
    ~Kept() { budget.ended = true; }
};

template <typename T>
Kept<T>& kept() {
    static thread_local Kept<T> k;
    return k;
}

}  // namespace scratch_detail

// A std::vector whose storage comes from the thread's kept buffers and goes back to them. It
// starts empty, with whatever room its buffer has.
template <typename T>
class Scratch : public std::vector<T> {
public:
    Scratch() : std::vector<T>(take()) {}
    explicit Scratch(std::size_t n, const T& value = T()) : Scratch() { this->assign(n, value); }
    Scratch(Scratch&& other) noexcept : std::vector<T>(std::move(static_cast<std::vector<T>&>(other))) {}
    Scratch& operator=(Scratch&& other) noexcept {
        give(std::exchange(static_cast<std::vector<T>&>(*this), std::move(static_cast<std::vector<T>&>(other))));
        return *this;
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch() { give(std::move(static_cast<std::vector<T>&>(*this))); }

private:
    static std::vector<T> take() {
        using namespace scratch_detail;
        if (budget.ended) return {};
        Kept<T>& k = kept<T>();
        if (k.count == 0) return {};
        std::vector<T> v = std::move(k.buffers[--k.count]);
        budget.bytes -= v.capacity() * sizeof(T);
        return v;
    }
    static void give(std::vector<T>&& v) noexcept {
        using namespace scratch_detail;
        const std::size_t bytes = v.capacity() * sizeof(T);
        if (bytes == 0 || budget.ended || budget.bytes + bytes > kKeptBytes) return;
        Kept<T>& k = kept<T>();
        if (k.count == kKeptBuffers) return;
        v.clear();
        budget.bytes += bytes;
        k.buffers[k.count++] = std::move(v);
    }
};

}  // namespace ops
