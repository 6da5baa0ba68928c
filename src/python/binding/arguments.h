// Binding of call arguments to named parameters, with the argument parser's messages:
//   "f() missing 1 required positional argument: 'wkt'"
//   "f() takes 1 positional arguments but 2 were given"
//   "f() got an unexpected keyword argument 'x'"
//   "f() got multiple values for argument 'wkt'"
// Every parameter may be given by position or by keyword; the first `required` ones must be given.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "python/binding/py_err.h"

namespace binding {

struct Params {
    static constexpr size_t kMax = 16;

    // The name messages show before "()": "f", or "Class.method" for a method.
    std::string_view function;
    std::array<std::string_view, kMax> names{};
    size_t count = 0;

    constexpr Params(std::string_view function_name, std::initializer_list<std::string_view> parameter_names)
        : function(function_name), count(parameter_names.size()) {
        size_t i = 0;
        for (std::string_view name : parameter_names) names[i++] = name;
    }
};

// Puts each argument into the slot of its parameter (`slots` has `params.count` entries, left
// null where nothing was given). Vectorcall form: keyword values follow the positional ones.
PyResult<void> bind_fastcall(const Params& params, size_t required, PyObject* const* args, Py_ssize_t nargs,
                             PyObject* kwnames, PyObject** slots);
// The same for a tuple and an optional dict (tp_new, tp_call).
PyResult<void> bind_tuple(const Params& params, size_t required, PyObject* args, PyObject* kwargs,
                          PyObject** slots);

}  // namespace binding
