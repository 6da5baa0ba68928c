// Whether a ring runs clockwise (x to the right, y up): its shoelace sum is negative. The ring is
// a Python sequence of vertex sequences whose items 0 and 1 are x and y; each vertex is read from
// the ring when it is needed and nothing is copied. A closing vertex equal to the first is not
// counted.
#pragma once

#include "python/binding/binding.h"

namespace vornix::utils {

// Python errors of the sequence protocol and of the float conversion pass through unchanged.
binding::PyResult<bool> is_clockwise(PyObject* coords);

}  // namespace vornix::utils
