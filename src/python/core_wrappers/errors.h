// Where data-model errors meet Python: every VeltGeoErr becomes its Python exception here, and
// Python errors met while reading Python values travel inside the model as kinds 15
// (common::carry) and 16.
#pragma once

#include <string_view>

#include "core/geometry/errors.h"
#include "python/binding/binding.h"
#include "python/core_wrappers/common.h"

namespace vornix::python {

using core::geometry::GeoResult;
using core::geometry::VeltGeoErr;

// Kind 15 is raised again as the very exception it carries; every other kind is a plain Exception
// with the error's display text.
binding::PyErr to_py_err(VeltGeoErr error);

// The binding's cast failure as kind 16: "'{}' object cannot be cast as '{}'".
VeltGeoErr cast_geo_err(PyObject* object, std::string_view target);

// A model result at the Python boundary.
template <typename T>
binding::PyResult<T> raise_geo(GeoResult<T> result) {
    if (!result) return binding::fail(to_py_err(std::move(result.error())));
    if constexpr (std::is_void_v<T>)
        return {};
    else
        return std::move(*result);
}

// A Python result inside the model.
template <typename T>
GeoResult<T> carry_py(binding::PyResult<T> result) {
    if (!result) return std::unexpected(common::carry(std::move(result.error())));
    if constexpr (std::is_void_v<T>)
        return {};
    else
        return std::move(*result);
}

}  // namespace vornix::python
