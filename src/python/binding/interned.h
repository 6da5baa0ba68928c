// Interned strings of constant text: the dictionary keys the module reads and writes and the names
// it looks up. Each is made on first use and kept until the process ends (like the type objects),
// so that lookups compare by identity and allocate nothing after the first.
#pragma once

#include <Python.h>

namespace binding {

class Interned {
public:
    constexpr explicit Interned(const char* text) : text_(text) {}
    const char* text() const { return text_; }
    // Borrowed; null with the Python error set when it cannot be made (the next call tries again).
    PyObject* object() const {
        if (object_ == nullptr) object_ = PyUnicode_InternFromString(text_);
        return object_;
    }

private:
    const char* text_;
    mutable PyObject* object_ = nullptr;
};

}  // namespace binding
