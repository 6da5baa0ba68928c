#include "python/core_wrappers/py_index.h"

#include <string>

namespace vornix::python {

binding::PyErr gen_py_idx_err(int64_t index, uint64_t len, std::string_view name) {
    return binding::PyErr::new_err(PyExc_IndexError, "Index " + std::to_string(index) + " out of bounds, " +
                                                         std::string(name) + " has " + std::to_string(len) +
                                                         " elements");
}

std::optional<uint64_t> resolve_index(int64_t index, uint64_t len, bool allow_end) {
    // Wrapping arithmetic on purpose: an index below -len turns into a huge unsigned position.
    uint64_t i = index < 0 ? uint64_t(index) + len : uint64_t(index);
    if (i < len + (allow_end ? 1 : 0)) return i;
    return std::nullopt;
}

}  // namespace vornix::python
