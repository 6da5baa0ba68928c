// Arrays: lists that operations hand back; each item comes out as a new element.
#include "api/execute.h"
#include "model/array.h"
#include "model/element.h"

using model::ClassTag;

namespace {

const model::Array& array_of(KX_ArrayHandle handle) { return api::object<model::Array>(handle, ClassTag::Array); }

}  // namespace

extern "C" {

void KX_Array_destroy(KX_ArrayHandle array, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(array, ClassTag::Array); });
}

uint64_t KX_Array_getSize(KX_ArrayHandle array, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint64_t>(rec, __func__, [&] { return array_of(array).size(); });
}

KX_ElementHandle KX_Array_at(KX_ArrayHandle array, uint64_t index, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ElementHandle>(rec, __func__, [&] {
        return api::handle_of<KX_ElementHandle>(new model::Element(array_of(array).at(index).copy()));
    });
}

}  // extern "C"
