// Vectors: typed lists a caller fills through an element to pass many values in one call.
#include "api/execute.h"
#include "model/vector.h"

using model::ClassTag;

extern "C" {

void KX_Vector_destroy(KX_VectorHandle vector, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(vector, ClassTag::Vector); });
}

KX_VectorHandle KX_Vector_create(int32_t value_type, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_VectorHandle>(
        rec, __func__, [&] { return api::handle_of<KX_VectorHandle>(new model::Vector(value_type)); });
}

uint64_t KX_Vector_add(KX_VectorHandle vector, KX_ElementHandle element, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint64_t>(rec, __func__, [&] {
        return api::object<model::Vector>(vector, ClassTag::Vector)
            .add(api::object<model::Element>(element, ClassTag::Element));
    });
}

}  // extern "C"
