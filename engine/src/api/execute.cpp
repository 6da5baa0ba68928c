#include "api/execute.h"

#include <atomic>
#include <map>
#include <mutex>
#include <new>

#include "model/text.h"

namespace api {
namespace {

struct GlobalCallback {
    std::mutex mutex;
    KX_ErrorCallback callback = nullptr;
    void* user_data = nullptr;
};

GlobalCallback& global_callback() {
    static GlobalCallback instance;
    return instance;
}

struct Injections {
    std::mutex mutex;
    std::map<std::string, int32_t, std::less<>> armed;
};

Injections& injections() {
    static Injections instance;
    return instance;
}

// Room for an out-of-memory error, taken when the library is loaded: once memory has run out,
// the error that says so may not be makeable any more, and a failed call must never look like a
// success. Only the storage is kept (an object there would count as a live engine object), and
// an error made in it allocates nothing more: its texts fit a string's own storage. Taken again
// after each use.
std::atomic<void*> spare_room{::operator new(sizeof(model::Error))};

void refill_spare_room() noexcept {
    if (spare_room.load(std::memory_order_acquire) != nullptr) return;
    void* room = ::operator new(sizeof(model::Error), std::nothrow);
    void* expected = nullptr;
    if (room != nullptr && !spare_room.compare_exchange_strong(expected, room)) ::operator delete(room);
}

void deliver(KX_ErrorCallback callback, void* user_data, int32_t code, const std::string& message,
             const std::string& additional) {
    if (callback == nullptr) return;
    model::Error* error = nullptr;
    try {
        error = new model::Error(code, message, additional);
    } catch (const std::bad_alloc&) {
        void* room = spare_room.exchange(nullptr);
        if (room == nullptr) return;  // two threads out of memory at once: the second is lost
        error = new (room) model::Error(model::kInternal, KX_OUT_OF_MEMORY_MESSAGE, "");
    }
    callback(user_data, handle_of<KX_ErrorHandle>(error));
    refill_spare_room();
}

}  // namespace

std::atomic<bool> faults_armed{false};

void wrong_handle(const model::Object* base, model::ClassTag tag) {
    if (base == nullptr) throw model::EngineError(model::kInvalidArgument, "Null handle.");
    throw model::EngineError(model::kInvalidHandle, "Invalid handle.",
                             std::string("Expected a handle to ") + model::class_name(tag) + ".");
}

void report(const KX_ErrorCallbackRecord* rec, int32_t code, const std::string& message,
            const std::string& additional) {
    if (rec == nullptr) return;
    deliver(rec->callback, rec->user_data, code, message, additional);
}

void report_global(int32_t code, const std::string& message, const std::string& additional) {
    KX_ErrorCallback callback;
    void* user_data;
    {
        std::lock_guard lock(global_callback().mutex);
        callback = global_callback().callback;
        user_data = global_callback().user_data;
    }
    deliver(callback, user_data, code, message, additional);
}

void set_global_callback(KX_ErrorCallback callback, void* user_data) {
    std::lock_guard lock(global_callback().mutex);
    global_callback().callback = callback;
    global_callback().user_data = user_data;
}

namespace {

// The mode armed for this function name (consumed), or KXT_FAIL_NONE.
int32_t take_injected_fault(const char* function_name) {
    auto& table = injections();
    if (!faults_armed.load(std::memory_order_acquire)) return KXT_FAIL_NONE;
    std::lock_guard lock(table.mutex);
    auto it = table.armed.find(std::string_view(function_name));
    if (it == table.armed.end()) return KXT_FAIL_NONE;
    int32_t mode = it->second;
    if (mode & KXT_FAIL_SKIP_ONE) {
        it->second = mode & ~KXT_FAIL_SKIP_ONE;
        return KXT_FAIL_NONE;
    }
    table.armed.erase(it);
    faults_armed.store(!table.armed.empty(), std::memory_order_release);
    return mode;
}

}  // namespace

Injected inject_fault(const KX_ErrorCallbackRecord* rec, const char* function_name) {
    switch (take_injected_fault(function_name)) {
        case KXT_FAIL_REPORT_ERROR:
            report(rec, model::kInjected, std::string("Injected failure in ") + function_name + ".", "Raised by a test hook.");
            return Injected::ErrorValue;
        case KXT_FAIL_REPORT_TWICE:
            report(rec, model::kInjected, "first", "");
            report(rec, model::kInjected, "second", "");
            return Injected::ErrorValue;
        case KXT_FAIL_RETURN_NULL:
            return Injected::ErrorValue;
        case KXT_FAIL_BAD_CODE:
            return Injected::BadCode;
        case KXT_FAIL_UNKNOWN_KIND:
            return Injected::UnknownKind;
        default:
            return Injected::None;
    }
}

void arm_fault(const char* function_name, int32_t mode) {
    auto& table = injections();
    std::lock_guard lock(table.mutex);
    if (mode == KXT_FAIL_NONE)
        table.armed.erase(function_name);
    else
        table.armed[function_name] = mode;
    faults_armed.store(!table.armed.empty(), std::memory_order_release);
}

void clear_faults() {
    auto& table = injections();
    std::lock_guard lock(table.mutex);
    table.armed.clear();
    faults_armed.store(false, std::memory_order_release);
}

}  // namespace api
