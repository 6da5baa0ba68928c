#include "python/core_wrappers/curve_multipart.h"

#include "python/core_wrappers/curvepart.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/list_methods.h"
#include "python/core_wrappers/multipart_ops.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::CurvePartCollection;
using core::geometry::Shared;
using core::geometry::VeltCurvePart;

namespace {

struct Traits {
    using Part = VeltCurvePart;
    using View = PyCurveMultipart;
    static PyResult<Shared<VeltCurvePart>> part_from_py(PyObject* o, bool z, bool m) {
        return curve_part_from_py(o, z, m);
    }
    static PyResult<Shared<VeltCurvePart>> part_from_list(PyObject* o, bool z, bool m) {
        return curve_part_from_list(o, z, m);
    }
    static PyResult<Ref> wrap_part(Shared<VeltCurvePart> part) { return wrap_curve_part(std::move(part)); }
};
using Ops = MultipartOps<Traits>;

struct Names {
    static constexpr binding::Params append{"CurveMultipart.append", {"value"}};
    static constexpr binding::Params insert{"CurveMultipart.insert", {"index", "value"}};
    static constexpr binding::Params remove{"CurveMultipart.remove", {"index"}};
    static constexpr binding::Params pop{"CurveMultipart.pop", {}};
    static constexpr binding::Params clear{"CurveMultipart.clear", {}};
};

}  // namespace

binding::ClassSpec PyCurveMultipart::class_spec() {
    return {
        .name = "vornix_geometry.CurveMultipart",
        .methods = list_methods<Names, Ops::append, Ops::insert, Ops::remove, Ops::pop, Ops::clear>(),
        .slots = join({item_get_slots<Ops::get_item>(), item_set_slots<Ops::set_item>(),
                       {binding::str_slot<Ops::text>(), binding::repr_slot<Ops::text>()}}),
    };
}

PyResult<Shared<CurvePartCollection>> curve_multipart_from_py(PyObject* object, bool has_z, bool has_m) {
    return Ops::from_py(object, has_z, has_m);
}

PyResult<std::vector<Shared<VeltCurvePart>>> curve_multipart_input_vec_from_list(PyObject* list, bool has_z,
                                                                                 bool has_m) {
    return Ops::input_vec_from_list(list, has_z, has_m);
}

PyResult<Ref> wrap_curve_multipart(Shared<CurvePartCollection> collection) {
    return binding::Type<PyCurveMultipart>::wrap(PyCurveMultipart{std::move(collection)});
}

}  // namespace vornix::python
