// A process-wide one-time start that stays failed for good when its body stops: unlike
// std::call_once, a failed start is never retried, and every later use stops with the given
// message. Threads that arrive while the body runs wait for its outcome.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>

#include "base/fault.h"

namespace core {

class OnceState {
public:
    enum class State { NotStarted, Running, Complete, Failed };

    // Runs `body` if no start has happened yet. Once complete, this costs one atomic read.
    template <typename Body>
    void run(Body&& body, const char* poisoned_message) {
        if (state_.load(std::memory_order_acquire) == State::Complete) [[likely]]
            return;
        if (!begin(poisoned_message)) return;
        try {
            body();
        } catch (...) {
            finish(State::Failed);
            throw;
        }
        finish(State::Complete);
    }

    State state() const { return state_.load(std::memory_order_acquire); }

private:
    // True when this caller is the one to run the body.
    bool begin(const char* poisoned_message) {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [&] { return state_.load(std::memory_order_relaxed) != State::Running; });
        switch (state_.load(std::memory_order_relaxed)) {
            case State::Complete:
                return false;
            case State::Failed:
                lock.unlock();
                stop(poisoned_message);
            default:
                state_.store(State::Running, std::memory_order_relaxed);
                return true;
        }
    }

    void finish(State outcome) {
        {
            std::lock_guard lock(mutex_);
            state_.store(outcome, std::memory_order_release);
        }
        done_.notify_all();
    }

    std::atomic<State> state_{State::NotStarted};
    std::mutex mutex_;
    std::condition_variable done_;
};

}  // namespace core
