// Python exceptions as values: a PyErr holds one exception object, so Python errors travel up by
// return like every other error and are set in the interpreter only at an entry point.
#pragma once

#include <expected>
#include <string>
#include <string_view>

#include "python/binding/ref.h"

namespace binding {

class PyErr {
public:
    // Takes the interpreter's current exception (a SystemError when none is set, since every
    // caller has just seen a C API call fail).
    static PyErr fetch();
    // A new exception of `type` whose single argument is `message`.
    static PyErr new_err(PyObject* type, std::string_view message);

    PyObject* value() const noexcept { return value_.get(); }
    bool is_exactly(PyObject* type) const noexcept;
    // str() of the exception, lossily decoded.
    std::string text() const;
    // Sets the exception as the interpreter's current one.
    void restore() &&;

private:
    explicit PyErr(Ref value) : value_(std::move(value)) {}
    Ref value_;
};

template <typename T>
using PyResult = std::expected<T, PyErr>;

// The error of a C API call that failed, as an unexpected value: `return fail();`.
inline std::unexpected<PyErr> fail() { return std::unexpected(PyErr::fetch()); }
inline std::unexpected<PyErr> fail(PyErr error) { return std::unexpected(std::move(error)); }
inline std::unexpected<PyErr> fail(PyObject* type, std::string_view message) {
    return std::unexpected(PyErr::new_err(type, message));
}

// A new reference returned by the C API, or the exception it set.
PyResult<Ref> checked(PyObject* new_reference);

// "'<type qualname>' object cannot be cast as '<target>'"
std::string cast_text(PyObject* object, std::string_view target);
// The cast text as a TypeError.
PyErr cast_error(PyObject* object, std::string_view target);

// The qualified name of an object's type ("NoneType", "int", "Point").
std::string type_qualname(PyObject* object);

// str(object) as UTF-8, with lone surrogates replaced; an object whose str() fails gives the
// placeholder text "<unprintable object>".
std::string text_of(PyObject* object);

// A Python str from UTF-8 bytes; invalid sequences become U+FFFD, so engine text never raises.
PyResult<Ref> str_from_utf8(std::string_view text);

}  // namespace binding
