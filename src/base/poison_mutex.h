// A mutex around a value that is marked poisoned when a guard is released while a fault unwinds
// (or after a fault was deferred while it was held), so that data left half-changed by a fault is
// never used again as if it were sound. An ordinary early return never poisons.
#pragma once

#include <cstdint>
#include <exception>
#include <expected>
#include <mutex>
#include <utility>

#include "base/pending_fault.h"

namespace core {

struct PoisonError {};

template <typename T>
class PoisonMutex {
public:
    class Guard {
    public:
        Guard(Guard&& other) noexcept
            : owner_(std::exchange(other.owner_, nullptr)), lock_(std::move(other.lock_)),
              exceptions_(other.exceptions_), deferred_(other.deferred_) {}
        Guard(const Guard&) = delete;
        Guard& operator=(const Guard&) = delete;
        Guard& operator=(Guard&&) = delete;
        ~Guard() {
            if (owner_ == nullptr) return;
            if (std::uncaught_exceptions() > exceptions_ || core::deferred_count() != deferred_) owner_->poisoned_ = true;
        }
        T& operator*() const { return owner_->value_; }
        T* operator->() const { return &owner_->value_; }

    private:
        friend class PoisonMutex;
        explicit Guard(PoisonMutex& owner)
            : owner_(&owner), lock_(owner.mutex_), exceptions_(std::uncaught_exceptions()),
              deferred_(core::deferred_count()) {}
        PoisonMutex* owner_;
        std::unique_lock<std::mutex> lock_;
        int exceptions_;
        uint64_t deferred_;
    };

    PoisonMutex() = default;
    explicit PoisonMutex(T value) : value_(std::move(value)) {}
    PoisonMutex(const PoisonMutex&) = delete;
    PoisonMutex& operator=(const PoisonMutex&) = delete;

    // Locks; a poisoned mutex is still locked and released again, and reported as an error.
    std::expected<Guard, PoisonError> lock() {
        Guard guard(*this);
        if (poisoned_) return std::unexpected(PoisonError{});
        return guard;
    }
    bool is_poisoned() const { return poisoned_; }

private:
    std::mutex mutex_;
    T value_{};
    bool poisoned_ = false;
};

}  // namespace core
