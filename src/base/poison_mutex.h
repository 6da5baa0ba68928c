// A mutex around a value that is marked poisoned when a guard is released while a fault unwinds
// (or after a fault was deferred while it was held), so that data left half-changed by a fault is
// never used again as if it were sound. An ordinary early return never poisons.
//
// A guard taken for reading gives only const access: nothing it did can have left the value
// half-changed, so a failed allocation (or any exception but a fault) that unwinds through it
// leaves the mutex sound. A guard taken for writing is poisoned by any exception, since an
// allocation failing halfway through a change leaves the value half-changed too.
#pragma once

#include <cstdint>
#include <exception>
#include <expected>
#include <mutex>
#include <type_traits>
#include <utility>

#include "base/pending_fault.h"

namespace core {

struct PoisonError {};

template <typename T>
class PoisonMutex {
public:
    template <bool Reading>
    class BasicGuard {
    public:
        using Value = std::conditional_t<Reading, const T, T>;

        BasicGuard(BasicGuard&& other) noexcept
            : owner_(std::exchange(other.owner_, nullptr)), lock_(std::move(other.lock_)), counts_(other.counts_),
              exceptions_(other.exceptions_), deferred_(other.deferred_), faults_(other.faults_) {}
        BasicGuard(const BasicGuard&) = delete;
        BasicGuard& operator=(const BasicGuard&) = delete;
        BasicGuard& operator=(BasicGuard&&) = delete;
        ~BasicGuard() {
            if (owner_ == nullptr) return;
            const bool unwinding = std::uncaught_exceptions() > exceptions_ && (!Reading || counts_->alive > faults_);
            if (unwinding || counts_->deferred != deferred_) owner_->poisoned_ = true;
        }
        Value& operator*() const { return owner_->value_; }
        Value* operator->() const { return &owner_->value_; }

    private:
        friend class PoisonMutex;
        // The thread's counters are looked up once and read through their address afterwards.
        explicit BasicGuard(PoisonMutex& owner)
            : owner_(&owner), lock_(owner.mutex_), counts_(&fault_counts()), exceptions_(std::uncaught_exceptions()),
              deferred_(counts_->deferred), faults_(counts_->alive) {}
        PoisonMutex* owner_;
        std::unique_lock<std::mutex> lock_;
        const FaultCounts* counts_;
        int exceptions_;
        uint64_t deferred_;
        uint64_t faults_;
    };
    using Guard = BasicGuard<false>;
    using ReadGuard = BasicGuard<true>;

    PoisonMutex() = default;
    explicit PoisonMutex(T value) : value_(std::move(value)) {}
    PoisonMutex(const PoisonMutex&) = delete;
    PoisonMutex& operator=(const PoisonMutex&) = delete;

    // Locks; a poisoned mutex is still locked and released again, and reported as an error.
    std::expected<Guard, PoisonError> lock() { return take<false>(); }
    // The same for reading only.
    std::expected<ReadGuard, PoisonError> read() { return take<true>(); }
    bool is_poisoned() const { return poisoned_; }

private:
    template <bool Reading>
    std::expected<BasicGuard<Reading>, PoisonError> take() {
        BasicGuard<Reading> guard(*this);
        if (poisoned_) return std::unexpected(PoisonError{});
        return guard;
    }

    std::mutex mutex_;
    T value_{};
    bool poisoned_ = false;
};

}  // namespace core
