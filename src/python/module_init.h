// The last step of the module start-up: the early engine load from sys.prefix and __version__.
#pragma once

#include "python/binding/binding.h"

namespace vornix {

// Tries to load the engine from "<sys.prefix>/libcorvane.so"; when that cannot be done it writes
// a warning to standard output and the import goes on (the engine is then found on first use).
// Only a library that is there but cannot be opened or bound stops (a fault). Then adds
// __version__; only that addition can fail.
binding::PyResult<void> module_init(PyObject* module);

}  // namespace vornix
