// CurvePart's own rules. Its first vertex never carries a curve: the view stores only plain vertex
// lists at position 0 and leaves the removal rule to the model. A new value is converted with no
// lock held (its conversion runs Python code and, for an arc about a centre, the engine), then the
// position is checked again under the lock before the store.
#include "python/core_wrappers/common.h"
#include "python/core_wrappers/coord_and_curve.h"
#include "python/core_wrappers/part_protocol.h"
#include "python/core_wrappers/segment.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;

namespace {

using Vertex = VeltCurvePart::Vertex;

constexpr const char* kCurveAtStart =
    "Tried to place curve at the beginning of a curve part- must have a regular coordinate as start vertex";

// What the conversion of a new value needs to know of the part, read in one short lock.
struct Placement {
    uint64_t position;
    bool has_z, has_m;
    std::optional<VeltCoord> previous;  // the vertex the new segment starts at; none at position 0
};

enum class Store { Set, Insert };

// The part's length, dimensions and the vertex before `position`, copied in one short lock.
struct Snapshot {
    uint64_t len;
    bool has_z, has_m;
    std::optional<VeltCoord> before;
};

GeoResult<Snapshot> snapshot(const Shared<VeltCurvePart>& cell, std::optional<uint64_t> position) {
    return with_locked(cell, [&](VeltCurvePart& part) {
        Snapshot taken{part.len(), part.has_z(), part.has_m(), std::nullopt};
        if (position && *position > 0)
            if (auto vertex = part.get(*position - 1)) taken.before = vertex->first;
        return taken;
    });
}

// Python objects (the errors included) are made only after the lock is released.
PyResult<Placement> placement(const PyCurvePart& self, int64_t index, bool allow_end) {
    auto first = raise_geo(snapshot(self.part, std::nullopt));
    if (!first) return fail(std::move(first.error()));
    std::optional<uint64_t> i = resolve_index(index, first->len, allow_end);
    if (!i) return fail(gen_py_idx_err(index, first->len, "CurvePart"));
    if (*i == 0) return Placement{0, first->has_z, first->has_m, std::nullopt};
    auto taken = raise_geo(snapshot(self.part, *i));
    if (!taken) return fail(std::move(taken.error()));
    if (!taken->before)
        return fail(PyExc_ValueError, "Tried to insert curve beyond end of curve part at " + std::to_string(*i) +
                                          ", len is " + std::to_string(taken->len));
    return Placement{*i, taken->has_z, taken->has_m, taken->before};
}

PyResult<Vertex> convert_value(const Placement& at, PyObject* value) {
    if (!at.previous) {
        if (!PyList_Check(value)) return fail(PyExc_ValueError, kCurveAtStart);
        auto coord = raise_geo(common::coord_from_list(value, at.has_z, at.has_m));
        if (!coord) return fail(std::move(coord.error()));
        return Vertex{*coord, core::geometry::Line{}};
    }
    return coord_and_curve_from_py(value, at.has_z, at.has_m, *at.previous);
}

// Item assignment, insert and append: resolve the position and read the previous vertex under a
// short lock, convert the value with no lock held (the conversion may run Python code that uses
// this very part), then lock again and store if the position still fits the part. Append stores at
// the position it resolved, which is the end unless the conversion itself added vertices: the new
// segment then still follows the vertex it was built from.
PyResult<void> place(const PyCurvePart& self, int64_t index, PyObject* value, Store store) {
    const bool allow_end = store == Store::Insert;
    auto at = placement(self, index, allow_end);
    if (!at) return fail(std::move(at.error()));
    auto vertex = convert_value(*at, value);
    if (!vertex) return fail(std::move(vertex.error()));
    uint64_t len = 0;
    auto stored = with_locked(self.part, [&](VeltCurvePart& part) -> GeoResult<bool> {
        len = part.len();
        if (at->position >= len + (allow_end ? 1 : 0)) return false;
        if (store == Store::Insert) {
            if (auto inserted = part.insert(at->position, vertex->first, vertex->second); !inserted)
                return std::unexpected(std::move(inserted.error()));
            return true;
        }
        auto replaced = part.set(at->position, vertex->first, vertex->second);
        if (!replaced) return std::unexpected(std::move(replaced.error()));
        return replaced->has_value();
    });
    if (!stored) return fail(to_py_err(std::move(stored.error())));
    if (!*stored) return fail(to_py_err(std::move(stored->error())));
    if (!**stored) return fail(gen_py_idx_err(index, len, "CurvePart"));
    return {};
}

}  // namespace

template <>
PyResult<Shared<VeltCurvePart>> part_from_list<VeltCurvePart>(PyObject* list, bool has_z, bool has_m) {
    VeltCurvePart part(has_z, has_m);
    std::optional<VeltCoord> previous;
    const Py_ssize_t count = PyList_GET_SIZE(list);
    // A conversion may change the list: walk no further than it reaches at each step.
    for (Py_ssize_t i = 0; i < count && i < PyList_GET_SIZE(list); ++i) {
        Ref item = Ref::borrow(PyList_GET_ITEM(list, i));
        PyResult<Vertex> vertex = [&]() -> PyResult<Vertex> {
            if (previous) return coord_and_curve_from_py(item.get(), has_z, has_m, *previous);
            if (!PyList_Check(item.get()))
                return fail(PyExc_ValueError,
                            "Tried to create curve part with a curve as the first segment- must have a regular "
                            "coordinate as start vertex");
            auto coord = raise_geo(common::coord_from_list(item.get(), has_z, has_m));
            if (!coord) return fail(std::move(coord.error()));
            return Vertex{*coord, core::geometry::Line{}};
        }();
        if (!vertex) return fail(std::move(vertex.error()));
        if (auto pushed = raise_geo(part.push(vertex->first, vertex->second)); !pushed) return fail(std::move(pushed.error()));
        previous = vertex->first;
    }
    return core::geometry::make_shared_cell(std::move(part));
}

template <>
struct PartItems<VeltCurvePart> {
    static PyResult<Ref> wrap(const Vertex& vertex, ParentLink<VeltCurvePart> parent) {
        return from_coord_curve(vertex.first, vertex.second, std::move(parent));
    }

    static PyResult<void> set(const PyCurvePart& self, int64_t index, PyObject* value) {
        return place(self, index, value, Store::Set);
    }
    static PyResult<void> insert(const PyCurvePart& self, int64_t index, PyObject* value) {
        return place(self, index, value, Store::Insert);
    }
    static PyResult<void> append(const PyCurvePart& self, PyObject* value) {
        auto len = locked_length(self.part);
        if (!len) return fail(std::move(len.error()));
        return place(self, int64_t(*len), value, Store::Insert);
    }
};

template struct PartView<VeltCurvePart>;
template struct PartViewIterator<VeltCurvePart>;

}  // namespace vornix::python
