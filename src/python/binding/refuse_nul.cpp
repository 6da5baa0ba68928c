#include "python/binding/refuse_nul.h"

#include "base/interior_nul.h"

namespace binding {

PyResult<void> refuse_nul(PyObject* text_object, std::string_view text, std::string_view what) {
    const auto position = PyUnicode_Check(text_object) ? core::interior_nul::first_character(text)
                                                       : core::interior_nul::first(text);
    if (!position) return {};
    return fail(PyExc_ValueError, core::interior_nul::refusal(what, *position));
}

}  // namespace binding
