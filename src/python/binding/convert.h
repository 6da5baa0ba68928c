// Conversions between Python objects and C++ values, with the interpreter's own messages where the
// interpreter converts and the cast message where the type itself is wrong.
//
// Python -> C++ (`FromPy<T>::convert(object)`, borrowed object):
//   double        float(), integers included ("must be real number, not str")
//   uint8_t, uint32_t, int32_t, int64_t
//                 through a C long, then OverflowError "out of range integral type conversion
//                 attempted" outside the type's range
//   uint64_t      through __index__ ("can't convert negative int to unsigned")
//   bool          True/False and numpy booleans only
//   std::string_view, std::string
//                 a str (or subclass) as UTF-8; the view lives as long as the str
//   Bytes         a bytes (or subclass), not bytearray or memoryview
//   PyObject*     any object, borrowed
//   std::optional<T>  None (or an omitted argument) gives nullopt
// C++ -> Python (`into_py(value)`): Ref, double, bool, integers, text (UTF-8 with replacement),
// None for std::monostate.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "python/binding/py_err.h"

namespace binding {

struct Bytes {
    std::span<const uint8_t> data;
};

template <typename T>
struct FromPy;

template <>
struct FromPy<double> {
    static PyResult<double> convert(PyObject* object);
};

namespace detail {
PyResult<long> as_c_long(PyObject* object);
std::unexpected<PyErr> out_of_range();
}  // namespace detail

template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, uint64_t> &&
             sizeof(T) <= sizeof(long))
struct FromPy<T> {
    static PyResult<T> convert(PyObject* object) {
        auto value = detail::as_c_long(object);
        if (!value) return fail(std::move(value.error()));
        if (!std::in_range<T>(*value)) return detail::out_of_range();
        return T(*value);
    }
};

template <>
struct FromPy<uint64_t> {
    static PyResult<uint64_t> convert(PyObject* object);
};

template <>
struct FromPy<bool> {
    static PyResult<bool> convert(PyObject* object);
};

template <>
struct FromPy<std::string_view> {
    static PyResult<std::string_view> convert(PyObject* object);
};

template <>
struct FromPy<std::string> {
    static PyResult<std::string> convert(PyObject* object) {
        auto view = FromPy<std::string_view>::convert(object);
        if (!view) return fail(std::move(view.error()));
        return std::string(*view);
    }
};

template <>
struct FromPy<Bytes> {
    static PyResult<Bytes> convert(PyObject* object);
};

template <>
struct FromPy<PyObject*> {
    static PyResult<PyObject*> convert(PyObject* object) { return object; }
};

template <typename T>
struct FromPy<std::optional<T>> {
    static PyResult<std::optional<T>> convert(PyObject* object) {
        if (object == nullptr || object == Py_None) return std::optional<T>();
        auto value = FromPy<T>::convert(object);
        if (!value) return fail(std::move(value.error()));
        return std::optional<T>(std::move(*value));
    }
};

// Wraps an exact TypeError met while converting the argument `name` into
// TypeError("argument 'name': <message>"); other errors pass unchanged.
PyErr argument_error(std::string_view name, PyErr error);

// Converts the argument `name` as a parameter of type T (errors wrapped as above).
template <typename T>
PyResult<T> extract(PyObject* object, std::string_view name) {
    auto value = FromPy<T>::convert(object);
    if (!value) return fail(argument_error(name, std::move(value.error())));
    return value;
}

inline PyResult<Ref> into_py(Ref value) { return value; }
PyResult<Ref> into_py(double value);
PyResult<Ref> into_py(bool value);
PyResult<Ref> into_py(long long value);
PyResult<Ref> into_py(unsigned long long value);
PyResult<Ref> into_py(std::string_view text);
inline PyResult<Ref> into_py(const std::string& text) { return into_py(std::string_view(text)); }
inline PyResult<Ref> into_py(const char* text) { return into_py(std::string_view(text)); }
PyResult<Ref> into_py(std::monostate);
template <typename T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool>)
PyResult<Ref> into_py(T value) {
    if constexpr (std::is_signed_v<T>)
        return into_py(static_cast<long long>(value));
    else
        return into_py(static_cast<unsigned long long>(value));
}

}  // namespace binding
