#include "python/binding/arguments.h"

#include <string>

namespace binding {

namespace {

std::string full_name(const Params& params) { return std::string(params.function) + "()"; }

PyErr type_error(const std::string& message) { return PyErr::new_err(PyExc_TypeError, message); }

PyErr too_many_positional(const Params& params, size_t required, size_t given) {
    const char* verb = given == 1 ? "was" : "were";
    std::string takes = required == params.count
                            ? std::to_string(params.count)
                            : "from " + std::to_string(required) + " to " + std::to_string(params.count);
    return type_error(full_name(params) + " takes " + takes + " positional arguments but " + std::to_string(given) +
                      " " + verb + " given");
}

// "'a'", "'a' and 'b'", "'a', 'b', and 'c'"
std::string name_list(const std::array<std::string_view, Params::kMax>& names, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i != 0) {
            if (count > 2) text += ',';
            text += i == count - 1 ? " and " : " ";
        }
        text += '\'';
        text += names[i];
        text += '\'';
    }
    return text;
}

PyErr missing_required(const Params& params, size_t required, PyObject* const* slots) {
    std::array<std::string_view, Params::kMax> missing{};
    size_t count = 0;
    for (size_t i = 0; i < required; ++i)
        if (slots[i] == nullptr) missing[count++] = params.names[i];
    return type_error(full_name(params) + " missing " + std::to_string(count) + " required positional " +
                      (count == 1 ? "argument" : "arguments") + ": " + name_list(missing, count));
}

PyResult<void> place_positional(const Params& params, size_t required, PyObject* const* args, size_t nargs,
                                PyObject** slots) {
    if (nargs > params.count) return fail(too_many_positional(params, required, nargs));
    for (size_t i = 0; i < nargs; ++i) slots[i] = args[i];
    return {};
}

PyResult<void> place_keyword(const Params& params, PyObject* name, PyObject* value, PyObject** slots) {
    Py_ssize_t size = 0;
    const char* text = PyUnicode_Check(name) ? PyUnicode_AsUTF8AndSize(name, &size) : nullptr;
    if (text == nullptr) PyErr_Clear();
    std::string_view key = text != nullptr ? std::string_view(text, size_t(size)) : std::string_view();
    for (size_t i = 0; text != nullptr && i < params.count; ++i) {
        if (params.names[i] != key) continue;
        if (slots[i] != nullptr)
            return fail(type_error(full_name(params) + " got multiple values for argument '" + std::string(key) + "'"));
        slots[i] = value;
        return {};
    }
    return fail(type_error(full_name(params) + " got an unexpected keyword argument '" + text_of(name) + "'"));
}

PyResult<void> check_required(const Params& params, size_t required, PyObject* const* slots) {
    for (size_t i = 0; i < required; ++i)
        if (slots[i] == nullptr) return fail(missing_required(params, required, slots));
    return {};
}

}  // namespace

PyResult<void> bind_fastcall(const Params& params, size_t required, PyObject* const* args, Py_ssize_t nargs,
                             PyObject* kwnames, PyObject** slots) {
    size_t positional = size_t(PyVectorcall_NARGS(nargs));
    if (auto placed = place_positional(params, required, args, positional, slots); !placed) return placed;
    Py_ssize_t keywords = kwnames != nullptr ? PyTuple_GET_SIZE(kwnames) : 0;
    for (Py_ssize_t k = 0; k < keywords; ++k) {
        auto placed = place_keyword(params, PyTuple_GET_ITEM(kwnames, k), args[positional + size_t(k)], slots);
        if (!placed) return placed;
    }
    return check_required(params, required, slots);
}

PyResult<void> bind_tuple(const Params& params, size_t required, PyObject* args, PyObject* kwargs,
                          PyObject** slots) {
    auto placed = place_positional(params, required, &PyTuple_GET_ITEM(args, 0), size_t(PyTuple_GET_SIZE(args)), slots);
    if (!placed) return placed;
    PyObject *name = nullptr, *value = nullptr;
    for (Py_ssize_t pos = 0; kwargs != nullptr && PyDict_Next(kwargs, &pos, &name, &value);) {
        if (auto keyword = place_keyword(params, name, value, slots); !keyword) return keyword;
    }
    return check_required(params, required, slots);
}

}  // namespace binding
