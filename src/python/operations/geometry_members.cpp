#include "python/operations/operations.h"

namespace vornix::python::operations {

namespace {

template <typename T>
void append(std::vector<T>& table, const std::vector<T>& group) {
    table.insert(table.end(), group.begin(), group.end());
}

}  // namespace

std::vector<PyMethodDef> geometry_methods() {
    std::vector<PyMethodDef> methods;
    for (const auto& group : {relation_methods(), overlay_methods(), transform_methods(), measure_methods(),
                              extent_methods(), collection_methods()})
        append(methods, group);
    return methods;
}

std::vector<PyGetSetDef> geometry_properties() {
    std::vector<PyGetSetDef> getsets = measure_properties();
    append(getsets, extent_properties());
    return getsets;
}

}  // namespace vornix::python::operations
