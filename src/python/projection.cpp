#include "python/projection.h"

namespace vornix::projection {

binding::PyResult<void> populate(PyObject*) { return {}; }

}  // namespace vornix::projection
