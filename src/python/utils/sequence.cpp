#include "python/utils/sequence.h"

namespace vornix::utils {
namespace {

// collections.abc.Sequence, imported on first use and kept for the life of the process; a failed
// import is tried again on the next call. Null with an exception set on failure.
PyObject* sequence_abc() {
    static PyObject* abc = nullptr;
    if (abc == nullptr) {
        binding::Ref module = binding::Ref::steal(PyImport_ImportModule("collections.abc"));
        if (module) abc = PyObject_GetAttrString(module.get(), "Sequence");
    }
    return abc;
}

}  // namespace

bool is_sequence(PyObject* object) {
    if (PyList_Check(object) || PyTuple_Check(object)) return true;
    PyObject* abc = sequence_abc();
    const int found = abc ? PyObject_IsInstance(object, abc) : -1;
    if (found < 0) {
        PyErr_WriteUnraisable(object);
        return false;
    }
    return found == 1;
}

}  // namespace vornix::utils
