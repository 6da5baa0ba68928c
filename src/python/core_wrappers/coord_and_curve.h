// One item of a curve part's vertex list: a coordinate list (a straight segment ends there) or a
// curve dictionary {"c": ...}, {"a": ...}, {"b": ...} describing the segment that ends at the
// item's vertex.
#pragma once

#include <utility>

#include "core/geometry/curve_data.h"
#include "core/geometry/velt_coord.h"
#include "python/binding/binding.h"

namespace vornix::python {

// `start` is the vertex before the new one, where its segment begins; only the four-item "a" form
// (a circular arc about a centre, built by the engine) uses it.
binding::PyResult<std::pair<core::geometry::VeltCoord, core::geometry::CurveData>> coord_and_curve_from_py(
    PyObject* item, bool has_z, bool has_m, const core::geometry::VeltCoord& start);

}  // namespace vornix::python
