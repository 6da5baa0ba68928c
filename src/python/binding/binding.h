// Our thin layer over the CPython C API. Include this header only.
//
// A module function is a plain C++ function; its C entry point, argument parsing (positional or
// keyword), conversions with their exact messages, and the translation of every error are
// generated:
//
//     binding::PyResult<binding::Ref> wkt_to_geojson_dict(std::string_view wkt);
//
//     constexpr binding::Params kWktParams{"wkt_to_geojson_dict", {"wkt"}};
//     PyMethodDef kFunctions[] = {
//         binding::function<kWktParams, wkt_to_geojson_dict>("wkt_to_geojson_dict(wkt)\n--\n\n"),
//     };
//     ... binding::add_function(module, kFunctions[0]);      // also appends to __all__
//
// - Parameter types: see convert.h (double, integers, bool, std::string_view, Bytes, PyObject*,
//   T* of a bound class, std::optional<T> for a parameter that may be omitted or None). A
//   conversion TypeError reads "argument 'wkt': <message>".
// - Results: R or PyResult<R> with R one of Ref, double, bool, integers, std::string(_view)
//   (UTF-8 decoded with replacement), std::monostate or void (None).
// - Errors: return `binding::fail(PyExc_ValueError, "text")`, `binding::fail(binding::cast_error(
//   obj, "list"))`, or `binding::fail()` right after a C API call failed. A core::Fault (and any
//   other C++ exception) thrown anywhere below becomes pyo3_runtime.PanicException, and so does a
//   fault deferred by a destructor (base/pending_fault.h).
// - Methods: binding::method<Params, impl> with impl(PyObject* self, ...) or impl(T& self, ...);
//   Params names "Class.method" for the messages. Static methods: binding::static_method.
// - Hand-written entry points (slots, special cases) wrap their body in binding::guard(...) or
//   binding::guard_status(...), so that no C++ exception reaches the interpreter.
// - Classes: see class.h (ClassSpec, Type<T>, constructor), function.h (getter, property, setter,
//   set_item_slot) and slots.h (str/repr, len, obj[key], iteration).
#pragma once

#include "python/binding/arguments.h"
#include "python/binding/class.h"
#include "python/binding/convert.h"
#include "python/binding/entry.h"
#include "python/binding/function.h"
#include "python/binding/interned.h"
#include "python/binding/module.h"
#include "python/binding/panic.h"
#include "python/binding/py_err.h"
#include "python/binding/ref.h"
#include "python/binding/refuse_nul.h"
#include "python/binding/slots.h"
