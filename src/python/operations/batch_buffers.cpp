#include "python/operations/batch_buffers.h"

namespace vornix::python::collections {

namespace engine = ::geometry::geometry_engine;
using ::geometry::vector::Vector;

PyResult<Ref> planar_buffers(PyObject* geometries, PyObject* distances, bool union_result) {
    return sliced_buffers(geometries, distances, union_result, [&](const Vector& items, const Vector& lengths) {
        return engine::buffer_slice(items, lengths, union_result);
    });
}

PyResult<Ref> geodetic_buffers(PyObject* geometries, PyObject* distances, bool union_result,
                               const ::geometry::linear_unit::LinearUnit& unit, int32_t curve_type,
                               double max_deviation) {
    return sliced_buffers(geometries, distances, union_result, [&](const Vector& items, const Vector& lengths) {
        return engine::buffer_geodetic_slice(items, lengths, &unit, curve_type, max_deviation, union_result);
    });
}

}  // namespace vornix::python::collections
