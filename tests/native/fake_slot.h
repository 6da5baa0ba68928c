// A test double for one slot of the function table: calls go to a function object of the test
// (which may record its arguments) instead of the engine, for the life of the double.
#pragma once

#include <functional>
#include <utility>

#include "engine_test.h"

template <auto Slot, typename Function = typename SlotPatch<Slot>::Function>
class FakeSlot;

template <auto Slot, typename R, typename... A>
class FakeSlot<Slot, R (*)(A...)> {
public:
    explicit FakeSlot(std::function<R(A...)> body) : patch_(&FakeSlot::forward) { body_ = std::move(body); }
    FakeSlot(const FakeSlot&) = delete;
    FakeSlot& operator=(const FakeSlot&) = delete;
    ~FakeSlot() { body_ = nullptr; }

    // The engine's own function.
    R (*original() const)(A...) { return patch_.original(); }

private:
    static R forward(A... args) { return body_(args...); }
    static inline std::function<R(A...)> body_;
    SlotPatch<Slot> patch_;
};
