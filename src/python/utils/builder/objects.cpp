#include "python/utils/builder/objects.h"

#include "base/fault.h"
#include "python/utils/builder/conversions.h"

namespace vornix::utils::builder {

namespace {

[[noreturn]] void creation_failed() {
    PyErr_Clear();
    core::stop("Python API call failed");
}

// The run's tuples into the slots of `list`, which has one per vertex. `Dimensions` and `Swapped`
// are fixed per instance so that the loop that makes nearly every object of a conversion
// carries no test but the one for failure.
template <std::size_t Dimensions, bool Swapped>
void fill(PyObject* list, const formats::VertexRun& run) {
    const std::uint8_t* p = run.data;
    for (std::size_t i = 0; i < run.count; ++i, p += 8 * Dimensions) {
        PyObject* items[Dimensions];
        bool made = true;
        for (std::size_t k = 0; k < Dimensions; ++k) {
            items[k] = PyFloat_FromDouble(formats::load_double(p + 8 * k, Swapped));
            made &= items[k] != nullptr;
        }
        PyObject* tuple = made ? PyTuple_New(Dimensions) : nullptr;
        if (tuple == nullptr) {
            for (PyObject* item : items) Py_XDECREF(item);
            creation_failed();
        }
        // Both SET_ITEM macros take over the reference.
        for (std::size_t k = 0; k < Dimensions; ++k) PyTuple_SET_ITEM(tuple, k, items[k]);
        PyList_SET_ITEM(list, static_cast<Py_ssize_t>(i), tuple);
    }
}

template <std::size_t Dimensions>
void fill(PyObject* list, const formats::VertexRun& run) {
    run.swapped ? fill<Dimensions, true>(list, run) : fill<Dimensions, false>(list, run);
}

}  // namespace

binding::Ref created(PyObject* object) {
    if (object == nullptr) creation_failed();
    return binding::Ref::steal(object);
}

PyObject* created(const binding::Interned& key) {
    PyObject* object = key.object();
    if (object == nullptr) creation_failed();
    return object;
}

binding::Ref vertex_tuple(double x, double y, std::optional<double> z, std::optional<double> m) {
    const Py_ssize_t size = 2 + (z ? 1 : 0) + (m ? 1 : 0);
    binding::Ref tuple = created(PyTuple_New(size));
    // PyTuple_SET_ITEM takes over each new float.
    PyTuple_SET_ITEM(tuple.get(), 0, created(PyFloat_FromDouble(x)).release());
    PyTuple_SET_ITEM(tuple.get(), 1, created(PyFloat_FromDouble(y)).release());
    Py_ssize_t next = 2;
    if (z) PyTuple_SET_ITEM(tuple.get(), next++, created(PyFloat_FromDouble(*z)).release());
    if (m) PyTuple_SET_ITEM(tuple.get(), next, created(PyFloat_FromDouble(*m)).release());
    return tuple;
}

formats::Status set_item(PyObject* dict, const binding::Interned& key, binding::Ref value) {
    if (PyDict_SetItem(dict, created(key), value.get()) < 0) return to_geozero_err(binding::PyErr::fetch());
    return {};
}

binding::PyResult<binding::Ref> vertex_list(const formats::VertexRun& run) {
    auto owner = binding::checked(PyList_New(static_cast<Py_ssize_t>(run.count)));
    if (!owner) return owner;
    PyObject* list = owner->get();
    // Its empty slots must stay out of the collector's sight (gc.get_objects() in a callback or
    // finaliser of a collection that runs inside the loop) until they are filled.
    PyObject_GC_UnTrack(list);
    switch (run.dimensions()) {
        case 2: fill<2>(list, run); break;
        case 3: fill<3>(list, run); break;
        default: fill<4>(list, run); break;
    }
    PyObject_GC_Track(list);
    return owner;
}

}  // namespace vornix::utils::builder
