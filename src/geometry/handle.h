// Ownership of engine handles: every engine object the binding holds has exactly one owner, which
// destroys it once with its class's destroy function. `FromHandle` (an owner's `from_handle`) is
// the one way in which a raw handle returned by the engine becomes an owner.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "base/fixed_string.h"
#include "base/pending_fault.h"
#include "geometry/bindings.h"
#include "geometry/error.h"

namespace geometry::handle {

using core::FixedString;

// The handle type that a destroy slot of the function table takes.
template <typename Slot>
struct DestroyedHandle;
template <typename H>
struct DestroyedHandle<void (*bindings::CorvaneFFI::*)(H, const KX_ErrorCallbackRecord*)> {
    using type = H;
};

// A failed destroy: the stop with the text and the engine's error, deferred (see
// base/pending_fault.h), since it happens in a destructor.
void destroy_failed(std::string_view text, const Error& error) noexcept;

// The owner of one engine handle. `Destroy` is the destroy slot of the function table; an empty
// `DestroyText` means that the engine's answer to the destroy is not examined at all, an empty
// `NullText` that a null handle is taken as no object (the owner then owns nothing).
// The destructor never throws, so an owner may live anywhere a value may (std::optional,
// std::expected, std::vector, an iterator's item): a failed destroy is deferred as the pending
// fault of the thread, which the Python entry point raises when the call returns.
template <typename Derived, auto Destroy, FixedString NullText, FixedString DestroyText>
class BasicOwner {
public:
    using Handle = typename DestroyedHandle<decltype(Destroy)>::type;

    // Only `from_handle` can make one, so no owner ever holds a null handle it was given, unless
    // its type takes null as no object.
    class Adopt {
        friend BasicOwner;
        Adopt() = default;
    };

    BasicOwner(Adopt, Handle handle) : handle_(handle) {}
    BasicOwner(const BasicOwner&) = delete;
    BasicOwner& operator=(const BasicOwner&) = delete;
    BasicOwner(BasicOwner&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    BasicOwner& operator=(BasicOwner&& other) noexcept {
        if (this != &other) destroy(std::exchange(handle_, std::exchange(other.handle_, nullptr)));
        return *this;
    }
    ~BasicOwner() { destroy(handle_); }

    static Derived from_handle(Handle handle) {
        if constexpr (!NullText.empty()) {
            if (handle == nullptr) core::stop(std::string(NullText.view()));
        }
        return Derived(Adopt{}, handle);
    }

    Handle handle() const { return handle_; }

    // Gives the handle up without destroying it, for a move into another owner.
    Handle release() && { return std::exchange(handle_, nullptr); }

private:
    static void destroy(Handle handle) noexcept {
        if (handle == nullptr) return;  // moved from
        try {
            if constexpr (DestroyText.empty()) {
                (bindings::ffi().*Destroy)(handle, nullptr);
            } else {
                auto done = call([&](const KX_ErrorCallbackRecord* rec) { (bindings::ffi().*Destroy)(handle, rec); });
                if (!done) destroy_failed(DestroyText.view(), done.error());
            }
        } catch (const std::exception& error) {
            core::defer(error.what());  // the engine's error could not even be held
        }
    }

    Handle handle_;
};

// The owners of the engine classes, with their two texts formed from the owner's name and the
// engine class ("core") it belongs to.
template <typename Derived, auto Destroy, FixedString Name, FixedString Core>
using Owner = BasicOwner<Derived, Destroy,
                         FixedString("Internal error: Unexpected null handle returned from core ") + Core +
                             FixedString(" for ") + Name,
                         FixedString("Internal error: Unexpected error while destroying internal handle to ") + Name>;

// The owners of the engine's texts and error objects, which the reading of engine errors itself
// uses: an error from their destroy could only be reported as another error, so it is not
// examined, and a null handle is nothing to destroy.
class StringOwner : public BasicOwner<StringOwner, &bindings::CorvaneFFI::KX_String_destroy, "", ""> {
public:
    using BasicOwner::BasicOwner;
};
class ErrorOwner : public BasicOwner<ErrorOwner, &bindings::CorvaneFFI::KX_Error_destroy, "", ""> {
public:
    using BasicOwner::BasicOwner;
};

// A borrowed view of a handle that some owner keeps, with the operations `Ops` of its kind.
template <typename Handle, template <typename> class... Ops>
class View : public Ops<View<Handle, Ops...>>... {
public:
    explicit View(Handle handle) : handle_(handle) {}
    Handle handle() const { return handle_; }

private:
    Handle handle_;
};

// The name of the table slot `Slot` (see ENGINE_FUNCTION_NAME).
template <auto Slot>
constexpr std::string_view slot_name(std::string_view name) {
    return name;
}

// The handle of an optional borrowed argument, null when absent.
template <typename T>
auto raw_or_null(const T* borrowed) -> decltype(borrowed->handle()) {
    return borrowed == nullptr ? nullptr : borrowed->handle();
}

// Wraps what an engine constructor returned. Under the stop policy an engine error stops naming
// the function; under the error policy it is returned. A null handle is the owner's null stop.
template <typename T, typename F>
T create_or_stop(std::string_view function, F&& engine_call) {
    return T::from_handle(call_or_stop(function, std::forward<F>(engine_call)));
}

template <typename T, typename F>
Result<T> create(F&& engine_call) {
    auto handle = call(std::forward<F>(engine_call));
    if (!handle) return std::unexpected(std::move(handle).error());
    return T::from_handle(*handle);
}

}  // namespace geometry::handle

// The name "KX_<function>" of a slot of the function table; a name the table lacks does not
// build. Stop texts take engine function names from here (or NAMED_ENGINE_CALL, ENGINE_SLOT), so
// that no name is typed as text.
#define ENGINE_FUNCTION_NAME(function) \
    ::geometry::handle::slot_name<&::geometry::bindings::CorvaneFFI::KX_##function>("KX_" #function)

// One engine call as the pair (function name, call with a record) taken by `call_or_stop` and
// `create_or_stop`, so that the name in a stop text can never differ from the function called.
#define NAMED_ENGINE_CALL(function, ...) ENGINE_FUNCTION_NAME(function), ENGINE_CALL(function, __VA_ARGS__)
// One slot as the pair (member of the table, name) that owner templates take.
#define ENGINE_SLOT(function) &::geometry::bindings::CorvaneFFI::KX_##function, "KX_" #function
#define ENGINE_CALL(function, ...)                                                       \
    [&](const KX_ErrorCallbackRecord* engine_rec_) {                                     \
        return ::geometry::bindings::ffi().KX_##function(__VA_ARGS__ __VA_OPT__(, ) engine_rec_); \
    }
