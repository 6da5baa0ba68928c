// The runtime environment, engine errors and engine strings.
#include <dlfcn.h>

#include <filesystem>

#include "api/execute.h"
#include "model/text.h"

using model::ClassTag;

namespace {

std::string install_directory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&KX_VornixRuntimeEnvironment_getInstallDirectory), &info) == 0 ||
        info.dli_fname == nullptr)
        throw model::EngineError(model::kInternal, "Cannot locate the engine library.");
    return std::filesystem::path(info.dli_fname).parent_path().string();
}

model::Error& error_object(KX_ErrorHandle e) { return api::object<model::Error>(e, ClassTag::Error); }

KX_StringHandle new_string(const std::string& text) {
    return api::handle_of<KX_StringHandle>(new model::String(text));
}

}  // namespace

extern "C" {

void KX_VornixRuntimeEnvironment_setErrorCallback(KX_ErrorCallback callback, void* user_data,
                                                  const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::set_global_callback(callback, user_data); });
}

KX_StringHandle KX_VornixRuntimeEnvironment_getInstallDirectory(const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__,
                                         [] { return new_string(install_directory()); });
}

void KX_Error_destroy(KX_ErrorHandle error, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(error, ClassTag::Error); });
}

int32_t KX_Error_getCode(KX_ErrorHandle error, const KX_ErrorCallbackRecord* rec) {
    return api::execute<int32_t>(rec, __func__, [&] { return error_object(error).code(); });
}

KX_StringHandle KX_Error_getMessage(KX_ErrorHandle error, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__,
                                         [&] { return new_string(error_object(error).message()); });
}

KX_StringHandle KX_Error_getAdditionalMessage(KX_ErrorHandle error, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__, [&] {
        return new_string(error_object(error).additional_message());
    });
}

void KX_String_destroy(KX_StringHandle string, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(string, ClassTag::String); });
}

const uint8_t* KX_String_getByteArray(KX_StringHandle string, size_t* size, const KX_ErrorCallbackRecord* rec) {
    return api::execute<const uint8_t*>(rec, __func__, [&]() -> const uint8_t* {
        const auto& text = api::object<model::String>(string, ClassTag::String).text();
        if (size != nullptr) *size = text.size();
        return reinterpret_cast<const uint8_t*>(text.data());
    });
}

int64_t KXT_live_objects(const char* class_name) {
    std::string_view name = class_name == nullptr ? "*" : class_name;
    if (name == "*") return model::live_objects(ClassTag::Count_);
    for (uint32_t t = 1; t < static_cast<uint32_t>(ClassTag::Count_); ++t)
        if (name == model::class_name(static_cast<ClassTag>(t)))
            return model::live_objects(static_cast<ClassTag>(t));
    return -1;
}

void KXT_fail_next(const char* function_name, int32_t mode) {
    if (function_name != nullptr) api::arm_fault(function_name, mode);
}

void KXT_reset(void) { api::clear_faults(); }

void KXT_raise_global_error(int32_t code, const char* message, const char* additional_message) {
    api::report_global(code, message == nullptr ? "" : message,
                       additional_message == nullptr ? "" : additional_message);
}

}  // extern "C"
