#include "python/operations/collection_functions.h"

#include <algorithm>
#include <cstring>

#include "python/operations/operations.h"

namespace vornix::collections {

std::vector<PyMethodDef>& module_functions() {
    static std::vector<PyMethodDef> functions = [] {
        std::vector<PyMethodDef> all = reduction_functions();
        for (auto family : {python::operations::relation_functions(), python::operations::overlay_functions(), python::operations::transform_functions(),
                            python::operations::extent_functions(), python::operations::measure_functions(), buffer_functions()}) all.insert(all.end(), family.begin(), family.end());
        std::ranges::sort(all, [](const PyMethodDef& a, const PyMethodDef& b) { return std::strcmp(a.ml_name, b.ml_name) < 0; });
        return all;
    }();
    return functions;
}

}  // namespace vornix::collections
