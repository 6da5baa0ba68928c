#include "python/utils/builder/conversions.h"

#include <string>

#include "python/utils/sequence.h"

namespace vornix::utils::builder {

formats::Error to_geozero_err(const binding::PyErr& error) {
    std::string text = binding::type_qualname(error.value()) + ": ";
    binding::Ref str = binding::Ref::steal(PyObject_Str(error.value()));
    Py_ssize_t size = 0;
    const char* utf8 = str ? PyUnicode_AsUTF8AndSize(str.get(), &size) : nullptr;
    if (utf8 == nullptr) {
        PyErr_Clear();
        return formats::Error::geometry(text + "<exception str() failed>");
    }
    return formats::Error::geometry(text.append(utf8, static_cast<std::size_t>(size)));
}

formats::Error to_geozero_err(std::string_view text) { return formats::Error::geometry(std::string(text)); }

formats::Error to_geozero_err(PyObject* object, std::string_view target) {
    return formats::Error::geometry(binding::cast_text(object, target));
}

formats::Status convert_result(const binding::PyResult<void>& result) {
    if (result) return {};
    return to_geozero_err(result.error());
}

binding::PyResult<binding::Ref> as_list(PyObject* object) {
    if (PyList_Check(object)) return binding::Ref::borrow(object);
    if (!is_sequence(object)) return binding::fail(PyExc_TypeError, "Expected a list or sequence");
    return binding::checked(PySequence_List(object));
}

}  // namespace vornix::utils::builder
