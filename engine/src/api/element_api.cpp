// Elements: single values on their way into a vector or out of an array. An element keeps copies:
// the geometry a caller sets stays the caller's, and each geometry read out is a new object.
#include "api/execute.h"
#include "model/element.h"

using model::ClassTag;

namespace {

model::Element& element_of(KX_ElementHandle handle) { return api::object<model::Element>(handle, ClassTag::Element); }

}  // namespace

extern "C" {

void KX_Element_destroy(KX_ElementHandle element, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(element, ClassTag::Element); });
}

KX_ElementHandle KX_Element_create(const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ElementHandle>(rec, __func__,
                                          [] { return api::handle_of<KX_ElementHandle>(new model::Element()); });
}

void KX_Element_clear(KX_ElementHandle element, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { element_of(element).set(model::Value()); });
}

// Datum transformations enter elements only from the arrays the transformation catalog hands back.
KX_DatumTransformationHandle KX_Element_getValueAsDatumTransformation(KX_ElementHandle element,
                                                                      const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_DatumTransformationHandle>(rec, __func__, [&] {
        return api::handle_of<KX_DatumTransformationHandle>(
            new model::DatumTransformation(element_of(element).value().datum_transformation()));
    });
}

KX_GeometryHandle KX_Element_getValueAsGeometry(KX_ElementHandle element, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return api::handle_of<KX_GeometryHandle>(element_of(element).value().geometry().clone().release());
    });
}

void KX_Element_setValueFromFloat64(KX_ElementHandle element, double value, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { element_of(element).set(model::Value(value)); });
}

void KX_Element_setValueFromGeometry(KX_ElementHandle element, KX_GeometryHandle geometry,
                                     const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        auto& target = element_of(element);
        const auto& source = api::object<model::Geometry>(geometry, ClassTag::Geometry);
        target.set(model::Value(source.clone()));
    });
}

}  // extern "C"
