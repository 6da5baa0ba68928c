#include "python/utils/submodule.h"

namespace vornix::utils {

binding::PyResult<void> populate(PyObject*) { return {}; }

}  // namespace vornix::utils
