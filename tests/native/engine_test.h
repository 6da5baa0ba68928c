// Shared helpers of the native tests that touch the engine: a fixture that clears the fault
// injections around each test and fails a test that leaves engine objects alive, and a patch of one slot of the function table to put a test double in front of the engine.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

#include "corvane/corvane.h"
#include "engine_hooks.h"
#include "stops.h"
#include "geometry/bindings.h"

inline int64_t live_objects(const char* engine_class = "*") { return EngineHooks::get().live_objects(engine_class); }

inline void fail_next(const char* function, int32_t mode = KXT_FAIL_REPORT_ERROR) {
    EngineHooks::get().fail_next(function, mode);
}

class EngineTest : public testing::Test {
protected:
    void SetUp() override {
        EngineHooks::get().reset();
        start_ = live_objects();
    }
    void TearDown() override {
        EngineHooks::get().reset();
        EXPECT_EQ(live_objects(), start_) << "engine objects left alive by this test";
    }

private:
    int64_t start_ = 0;
};

// Replaces one slot of the bound function table for the life of the patch.
template <auto Slot>
class SlotPatch {
public:
    using Function = std::remove_reference_t<decltype(std::declval<geometry::bindings::CorvaneFFI&>().*Slot)>;

    explicit SlotPatch(Function replacement) : original_(table().*Slot) { table().*Slot = replacement; }
    SlotPatch(const SlotPatch&) = delete;
    SlotPatch& operator=(const SlotPatch&) = delete;
    ~SlotPatch() { table().*Slot = original_; }

    // The engine's own function, for a double that passes calls on.
    Function original() const { return original_; }

private:
    // The table is process state written once at load; tests may swap a slot and put it back.
    static geometry::bindings::CorvaneFFI& table() {
        return const_cast<geometry::bindings::CorvaneFFI&>(geometry::bindings::ffi());
    }
    Function original_;
};
