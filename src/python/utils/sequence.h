// The sequence test of the ring functions: a list, a tuple (or subclasses), or an instance of
// collections.abc.Sequence. A failing instance test is reported as unraisable and counts as no.
#pragma once

#include "python/binding/binding.h"

namespace vornix::utils {

bool is_sequence(PyObject* object);

}  // namespace vornix::utils
