// The working arrays an operation keeps for the thread's next one: the next array starts empty
// whatever the last one held, reuses its memory, and no more is kept than the thread's bound.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <utility>

#include "ops/scratch.h"

namespace {

using ops::Scratch;

// Runs f on a thread of its own, whose kept arrays no other test has touched.
template <typename F>
void on_own_thread(F f) {
    std::thread(f).join();
}

TEST(Scratch, TheNextArrayStartsEmptyInTheLastOnesMemory) {
    on_own_thread([] {
        const double* storage = nullptr;
        {
            Scratch<double> first(1000, 7.0);
            storage = first.data();
        }
        Scratch<double> next;
        EXPECT_TRUE(next.empty());
        EXPECT_EQ(next.data(), storage);
        next.assign(3, 1.0);
        EXPECT_EQ(next.back(), 1.0);
    });
}

TEST(Scratch, AMovedArrayIsKeptOnceAndAnAssignedOneGivesItsOwnBack) {
    on_own_thread([] {
        Scratch<uint32_t> a(100, 1), b(200, 2);
        const uint32_t* from_a = a.data();
        Scratch<uint32_t> c(std::move(a));
        EXPECT_EQ(c.data(), from_a);
        b = std::move(c);  // b's own storage goes back to the thread
        EXPECT_EQ(b.data(), from_a);
        EXPECT_EQ(b.size(), 100u);
        Scratch<uint32_t> d;
        EXPECT_GE(d.capacity(), 200u);
    });
}

TEST(Scratch, StorageBeyondTheThreadsBoundIsFreed) {
    on_own_thread([] {
        const size_t over = ops::scratch_detail::kKeptBytes / sizeof(double) + 1;
        { Scratch<double> huge(over, 0.0); }
        Scratch<double> next;
        EXPECT_EQ(next.capacity(), 0u);
    });
}

}  // namespace
