// The one helper around every exported function body: no C++ exception ever crosses the C
// boundary; a failure is reported through the caller's error record and the function returns its
// fixed error value (zero, null, false). Also the place where the test hooks inject faults.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <type_traits>

#include "corvane/corvane.h"
#include "model/engine_error.h"
#include "model/object.h"

namespace api {

// Reports one error through the record: the callback takes over the new error object. With no
// record, or no callback, the error is dropped.
void report(const KX_ErrorCallbackRecord* rec, int32_t code, const std::string& message,
            const std::string& additional = {});

// Reports an error through the process-wide callback installed by setErrorCallback.
void report_global(int32_t code, const std::string& message, const std::string& additional = {});

// Whether any fault is armed. Every call asks and tests rarely arm, so the answer is read here
// without a call or a lock; inject_fault looks up the name only when it is true.
extern std::atomic<bool> faults_armed;

// What an armed fault makes a function return instead of running its body.
enum class Injected { None, ErrorValue, BadCode, UnknownKind };

// Takes the fault armed for the function, reports what it asks through the record, and says what
// the function returns. Out of line and cold: inlined into every function, its texts and branches
// made the hot path of each (a vertex added, a coordinate read) save and restore registers for
// nothing.
[[gnu::cold, gnu::noinline]] Injected inject_fault(const KX_ErrorCallbackRecord* rec, const char* function_name);

template <typename R>
R error_value() {
    if constexpr (std::is_void_v<R>) {
        return;
    } else {
        return R{};
    }
}

template <typename R>
R bad_code_value() {
    if constexpr (std::is_integral_v<R>) {
        return static_cast<R>(99);
    } else {
        return error_value<R>();
    }
}

template <typename R, typename Body>
R execute(const KX_ErrorCallbackRecord* rec, const char* function_name, Body&& body) noexcept {
    try {
        if (faults_armed.load(std::memory_order_acquire)) [[unlikely]] {
            switch (inject_fault(rec, function_name)) {
                case Injected::None:
                    break;
                case Injected::ErrorValue:
                    return error_value<R>();
                case Injected::BadCode:
                    return bad_code_value<R>();
                case Injected::UnknownKind:
                    if constexpr (std::is_integral_v<R>) return static_cast<R>(-1);
                    return error_value<R>();
            }
        }
        return body();
    } catch (const model::EngineError& e) {
        report(rec, e.code(), e.what(), e.additional());
    } catch (const std::bad_alloc&) {
        report(rec, model::kInternal, KX_OUT_OF_MEMORY_MESSAGE);
    } catch (const std::exception& e) {
        report(rec, model::kInternal, e.what());
    } catch (...) {
        report(rec, model::kInternal, "Unknown failure.");
    }
    return error_value<R>();
}

// The engine error of a handle that is null or of another class than `tag`.
[[noreturn, gnu::cold]] void wrong_handle(const model::Object* base, model::ClassTag tag);

// The engine object behind a handle, checked for its class; a null handle or one of another
// class is an engine error (a destroyed one cannot be told apart: see model::Object). Inline, with
// the error out of line: every vertex that goes in or comes out passes here.
template <typename T, typename Handle>
T& object(Handle handle, model::ClassTag tag) {
    auto* base = reinterpret_cast<model::Object*>(handle);
    if (base == nullptr || base->tag() != tag) [[unlikely]] wrong_handle(base, tag);
    // Each tag is given by the constructor of one class only, so the tag names the class and the
    // cast needs no run-time check (which cost more than the rest of a point's handling).
    static_assert(std::is_base_of_v<model::Object, T>);
    return static_cast<T&>(*base);
}

// Hands a new engine object to the caller as a handle.
template <typename Handle, typename T>
Handle handle_of(T* object) {
    return reinterpret_cast<Handle>(static_cast<model::Object*>(object));
}

// Destroys the object behind a handle of the given class.
template <typename Handle>
void destroy(Handle handle, model::ClassTag tag) {
    delete &object<model::Object>(handle, tag);
}

}  // namespace api

namespace api {
void set_global_callback(KX_ErrorCallback callback, void* user_data);
void arm_fault(const char* function_name, int32_t mode);
void clear_faults();
}  // namespace api
