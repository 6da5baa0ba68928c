// The live views of one part, straight (Part: a path, a ring, a multipoint's points) or curved
// (CurvePart): each holds the part's shared cell itself, so every change through it is a change of
// every geometry holding that part. One template over the model type; part_protocol.h holds their
// list protocol, part.cpp and curvepart.cpp what differs.
#pragma once

#include <cstdint>
#include <utility>

#include <string>

#include "core/geometry/curvepart.h"
#include "core/geometry/part.h"
#include "core/geometry/shared.h"
#include "python/binding/binding.h"

namespace vornix::python {

// The class name of each model's view; its index errors and its from_py refusal name it too.
template <typename Model>
struct PartViewName;
template <>
struct PartViewName<core::geometry::VeltPart> {
    static constexpr core::FixedString value = "Part";
};
template <>
struct PartViewName<core::geometry::VeltCurvePart> {
    static constexpr core::FixedString value = "CurvePart";
};

template <typename Model>
struct PartView {
    core::geometry::Shared<Model> part;
    static binding::ClassSpec class_spec();
};

template <typename Model>
struct PartViewIterator {
    core::geometry::Shared<Model> part;
    uint64_t position = 0;
    static binding::ClassSpec class_spec();
};

using PyPart = PartView<core::geometry::VeltPart>;
using PyPartIterator = PartViewIterator<core::geometry::VeltPart>;
using PyCurvePart = PartView<core::geometry::VeltCurvePart>;
using PyCurvePartIterator = PartViewIterator<core::geometry::VeltCurvePart>;

// A new part read from a list with the given dimensions: for a Part one vertex per coordinate
// list, for a CurvePart the first item a plain vertex list and every later one a list or curve
// dictionary.
template <typename Model>
binding::PyResult<core::geometry::Shared<Model>> part_from_list(PyObject* list, bool has_z, bool has_m);
template <>
binding::PyResult<core::geometry::Shared<core::geometry::VeltPart>> part_from_list(PyObject*, bool, bool);
template <>
binding::PyResult<core::geometry::Shared<core::geometry::VeltCurvePart>> part_from_list(PyObject*, bool, bool);

// A new view over the cell.
template <typename Model>
binding::PyResult<binding::Ref> wrap_part(core::geometry::Shared<Model> part) {
    return binding::Type<PartView<Model>>::wrap(PartView<Model>{std::move(part)});
}

// A view's own cell (shared, dimensions not compared), or a new part read from a list with the
// given dimensions; anything else is TypeError "<Class> from_py requires a Part or a list".
template <typename Model>
binding::PyResult<core::geometry::Shared<Model>> part_from_py(PyObject* object, bool has_z, bool has_m) {
    if (PartView<Model>* view = binding::Type<PartView<Model>>::value_of(object)) return view->part;
    if (PyList_Check(object)) return part_from_list<Model>(object, has_z, has_m);
    return binding::fail(PyExc_TypeError,
                         std::string(PartViewName<Model>::value.view()) + " from_py requires a Part or a list");
}

}  // namespace vornix::python
