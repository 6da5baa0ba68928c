#include "python/utils/builder/py_builder.h"

#include "python/utils/builder/objects.h"

namespace vornix::utils::builder {

formats::Status PyBuilder::open_list() {
    stack_.push(created(PyList_New(0)));
    return {};
}

}  // namespace vornix::utils::builder
