// The one-time start behind the engine table and the runtime environment.
#include "base/once_state.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "fresh_process.h"

namespace {

TEST(OnceState, FailedStartIsNeverRetried) {
    core::OnceState once;
    EXPECT_EQ(stop_message([&] { once.run([] { core::stop("engine missing"); }, "poisoned"); }), "engine missing");
    int runs = 0;
    EXPECT_EQ(stop_message([&] { once.run([&] { ++runs; }, "poisoned"); }), "poisoned");
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(once.state(), core::OnceState::State::Failed);
}

TEST(OnceState, ConcurrentCallersWaitForTheOneStart) {
    core::OnceState once;
    std::atomic<int> runs = 0;
    std::atomic<int> saw_incomplete = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            once.run(
                [&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                    ++runs;
                },
                "poisoned");
            if (runs.load() != 1) ++saw_incomplete;
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(runs.load(), 1);
    EXPECT_EQ(saw_incomplete.load(), 0);
    EXPECT_EQ(once.state(), core::OnceState::State::Complete);
}

}  // namespace
