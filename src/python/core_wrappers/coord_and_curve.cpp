#include "python/core_wrappers/coord_and_curve.h"

#include <array>

#include "core/geometry/curvepart.h"
#include "geometry/elliptic_arc_segment.h"
#include "python/core_wrappers/common.h"
#include "python/core_wrappers/errors.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using core::geometry::CurveData;
using core::geometry::VeltCoord;

namespace {

using Item = std::pair<VeltCoord, CurveData>;

// The items at positions 0..N-1, each checked to be a list before any of them is read. Each is
// held: reading one runs Python code that may empty or refill `list` and so free the others.
template <std::size_t N>
PyResult<std::array<Ref, N>> list_items(PyObject* list) {
    std::array<Ref, N> items{};
    for (std::size_t i = 0; i < N; ++i) {
        items[i] = Ref::borrow(PyList_GetItem(list, Py_ssize_t(i)));
        if (!items[i]) return fail();
        if (!PyList_Check(items[i].get())) return fail(binding::cast_error(items[i].get(), "list"));
    }
    return items;
}

// The value of the form's key, which must be a list.
PyResult<PyObject*> form_list(PyObject* value) {
    if (!PyList_Check(value)) return fail(binding::cast_error(value, "list"));
    return value;
}

PyResult<VeltCoord> end_point(PyObject* list, bool has_z, bool has_m) {
    return raise_geo(common::coord_from_list(list, has_z, has_m));
}
// Interior points, centres and control points never carry z or m.
PyResult<VeltCoord> plain_point(PyObject* list) { return end_point(list, false, false); }

PyResult<Item> read_c(PyObject* value, bool has_z, bool has_m) {
    auto items = list_items<2>(value);
    if (!items) return fail(std::move(items.error()));
    auto end = end_point((*items)[0].get(), has_z, has_m);
    if (!end) return fail(std::move(end.error()));
    auto interior = plain_point((*items)[1].get());
    if (!interior) return fail(std::move(interior.error()));
    return Item{*end, core::geometry::CircularArc{interior->x(), interior->y()}};
}

PyResult<Item> read_b(PyObject* value, bool has_z, bool has_m) {
    auto items = list_items<3>(value);
    if (!items) return fail(std::move(items.error()));
    auto end = end_point((*items)[0].get(), has_z, has_m);
    if (!end) return fail(std::move(end.error()));
    auto ctrl1 = plain_point((*items)[1].get());
    if (!ctrl1) return fail(std::move(ctrl1.error()));
    auto ctrl2 = plain_point((*items)[2].get());
    if (!ctrl2) return fail(std::move(ctrl2.error()));
    return Item{*end, core::geometry::BezierCurve{ctrl1->x(), ctrl1->y(), ctrl2->x(), ctrl2->y()}};
}

template <typename T>
PyResult<T> extract_at(PyObject* list, std::size_t index) {
    return raise_geo(common::list_extract<T>(list, index));
}

// The circular arc from start to end about the centre, as the engine builds it and reads it back.
PyResult<CurveData> arc_about_center(const VeltCoord& start, const VeltCoord& end, const VeltCoord& center,
                                     bool minor, bool clockwise) {
    using ::geometry::elliptic_arc_segment::EllipticArcSegment;
    auto start_point = start.as_point();
    auto end_point = end.as_point();
    auto center_point = center.as_point();
    auto arc = EllipticArcSegment::with_circular_elliptic_arc_with_center(start_point, end_point, center_point, minor,
                                                                          !clockwise, nullptr);
    if (!arc) return fail(to_py_err(VeltGeoErr::from_engine(arc.error())));
    auto segment = ::geometry::segment::SegmentOwned::from(std::move(*arc));
    return raise_geo(core::geometry::from_segment(segment));
}

PyResult<Item> read_a(PyObject* value, bool has_z, bool has_m, const VeltCoord& start) {
    auto items = list_items<2>(value);
    if (!items) return fail(std::move(items.error()));
    auto end = end_point((*items)[0].get(), has_z, has_m);
    if (!end) return fail(std::move(end.error()));
    auto center = plain_point((*items)[1].get());
    if (!center) return fail(std::move(center.error()));
    auto minor = extract_at<uint8_t>(value, 2);
    if (!minor) return fail(std::move(minor.error()));
    auto clockwise = extract_at<uint8_t>(value, 3);
    if (!clockwise) return fail(std::move(clockwise.error()));
    if (PyList_GET_SIZE(value) == 4) {
        auto curve = arc_about_center(start, *end, *center, *minor != 0, *clockwise != 0);
        if (!curve) return fail(std::move(curve.error()));
        return Item{*end, *curve};
    }
    std::array<double, 3> shape{};  // rotation, axis, ratio
    for (std::size_t i = 0; i < shape.size(); ++i) {
        auto number = extract_at<double>(value, 4 + i);
        if (!number) return fail(std::move(number.error()));
        shape[i] = *number;
    }
    return Item{*end, core::geometry::EllipticArc{center->x(), center->y(), shape[0], shape[1], shape[2], *minor != 0,
                                                  *clockwise != 0}};
}

enum class Form { C, A, B };

// Looked up in this order: the first key present decides the form.
const common::Key kCircularKey{"c"}, kArcKey{"a"}, kBezierKey{"b"};

}  // namespace

PyResult<Item> coord_and_curve_from_py(PyObject* item, bool has_z, bool has_m, const VeltCoord& start) {
    if (PyList_Check(item)) {
        auto coord = end_point(item, has_z, has_m);
        if (!coord) return fail(std::move(coord.error()));
        return Item{*coord, core::geometry::Line{}};
    }
    if (PyDict_Check(item)) {
        static const std::pair<const common::Key*, Form> kForms[] = {
            {&kCircularKey, Form::C}, {&kArcKey, Form::A}, {&kBezierKey, Form::B}};
        for (auto [key, form] : kForms) {
            auto found = raise_geo(common::dict_lookup(item, *key));
            if (!found) return fail(std::move(found.error()));
            if (!*found) continue;
            auto value = form_list(found->get());
            if (!value) return fail(std::move(value.error()));
            switch (form) {
                case Form::C: return read_c(*value, has_z, has_m);
                case Form::A: return read_a(*value, has_z, has_m, start);
                case Form::B: return read_b(*value, has_z, has_m);
            }
        }
    }
    return fail(PyExc_TypeError, "point_and_curve_from_py: Did not get a valid dict or list for curve/point segment");
}

}  // namespace vornix::python
