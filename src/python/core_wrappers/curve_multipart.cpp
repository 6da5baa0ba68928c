#include "python/core_wrappers/curve_multipart.h"

#include "python/core_wrappers/multipart_ops.h"
#include "python/core_wrappers/part_view.h"

namespace vornix::python {

using Ops = MultipartOps<core::geometry::VeltCurvePart, PyCurveMultipart, "CurveMultipart">;

binding::ClassSpec PyCurveMultipart::class_spec() { return Ops::class_spec(); }

binding::PyResult<Ops::Cell> curve_multipart_from_py(PyObject* object, bool has_z, bool has_m) {
    return Ops::from_py(object, has_z, has_m);
}

binding::PyResult<std::vector<Ops::PartCell>> curve_multipart_input_vec_from_list(PyObject* list, bool has_z,
                                                                                  bool has_m) {
    return Ops::input_vec_from_list(list, has_z, has_m);
}

binding::PyResult<binding::Ref> wrap_curve_multipart(Ops::Cell collection) {
    return binding::Type<PyCurveMultipart>::wrap(PyCurveMultipart{std::move(collection)});
}

}  // namespace vornix::python
