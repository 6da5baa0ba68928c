// Placeholder until the factory lands: refuses every value with the factory's own text.
#include "python/factory.h"

#include <string>

namespace vornix::python::factory {

binding::PyResult<binding::Ref> geometry(PyObject* object) {
    binding::Ref repr = binding::Ref::steal(PyObject_Repr(object));
    if (!repr) return binding::fail();
    return binding::fail(PyExc_TypeError, "Could not convert object " + binding::text_of(repr.get()) +
                                              " into Vornix geometry.  Geometry factory expects a dict or VeltJSON "
                                              "string");
}

}  // namespace vornix::python::factory
