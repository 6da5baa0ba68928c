#include "python/core_wrappers/curvepart.h"

#include "python/core_wrappers/common.h"
#include "python/core_wrappers/coord_and_curve.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/list_methods.h"
#include "python/core_wrappers/locked.h"
#include "python/core_wrappers/py_index.h"
#include "python/core_wrappers/segment.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using core::geometry::lock_model;
using core::geometry::Shared;

namespace {

using Vertex = VeltCurvePart::Vertex;

PyResult<uint64_t> length(const PyCurvePart& self) {
    return raise_geo(with_locked(self.part, [](VeltCurvePart& part) -> uint64_t { return part.len(); }));
}

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

PyResult<Ref> get_item(const PyCurvePart& self, PyObject* key_object) {
    auto key = binding::extract<int64_t>(key_object, "key");
    if (!key) return fail(std::move(key.error()));
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    using Found = std::pair<Vertex, uint64_t>;
    auto found = py_index(*key, *len, "CurvePart", false, [&](uint64_t i) {
        return with_locked(self.part, [&](VeltCurvePart& part) -> std::optional<Found> {
            auto vertex = part.get(i);
            if (!vertex) return std::nullopt;
            return Found{*vertex, i};
        });
    });
    if (!found) return fail(std::move(found.error()));
    return from_coord_curve(found->first.first, found->first.second, std::pair(self.part, found->second));
}

PyResult<void> set_item(const PyCurvePart& self, PyObject* key_object, PyObject* value) {
    auto index = binding::extract<int64_t>(key_object, "index");
    if (!index) return fail(std::move(index.error()));
    return place(self, *index, value, Store::Set);
}

PyResult<void> insert(const PyCurvePart& self, int64_t index, PyObject* value) {
    return place(self, index, value, Store::Insert);
}

PyResult<void> append(const PyCurvePart& self, PyObject* value) {
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    return place(self, int64_t(*len), value, Store::Insert);
}

PyResult<void> remove(const PyCurvePart& self, int64_t index) {
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    auto removed = py_index(index, *len, "Part", false, [&](uint64_t i) -> GeoResult<std::optional<std::monostate>> {
        auto part = lock_model(*self.part);
        if (!part) return std::unexpected(std::move(part.error()));
        auto taken = (*part)->remove(i);
        if (!taken) return std::unexpected(std::move(taken.error()));
        if (!*taken) return std::nullopt;
        return std::monostate{};
    });
    if (!removed) return fail(std::move(removed.error()));
    return {};
}

PyResult<Ref> pop(const PyCurvePart& self) {
    auto popped = raise_geo(with_locked(self.part, [](VeltCurvePart& part) { return part.pop(); }));
    if (!popped) return fail(std::move(popped.error()));
    if (!*popped) return Ref::borrow(Py_None);
    return from_coord_curve((*popped)->first, (*popped)->second, std::nullopt);
}

PyResult<void> clear(const PyCurvePart& self) {
    return raise_geo(with_locked(self.part, [](VeltCurvePart& part) { part.clear(); }));
}

PyResult<std::string> text(const PyCurvePart& self) {
    return raise_geo(with_locked(self.part, [](VeltCurvePart& part) {
        std::string out;
        part.write_veltjson(out);
        return out;
    }));
}

PyResult<Ref> iter(const PyCurvePart& self) {
    return binding::Type<PyCurvePartIterator>::wrap(PyCurvePartIterator{self.part, 0});
}

PyResult<std::optional<Ref>> next(PyCurvePartIterator& self) {
    std::optional<Vertex> vertex = core::geometry::read_or_stop(*self.part, "Lock poisoned")->get(self.position);
    if (!vertex) return std::nullopt;
    auto made = from_coord_curve(vertex->first, vertex->second, std::pair(self.part, self.position));
    if (!made) return fail(std::move(made.error()));
    ++self.position;
    return std::optional(std::move(*made));
}

struct Names {
    static constexpr binding::Params append{"CurvePart.append", {"value"}};
    static constexpr binding::Params insert{"CurvePart.insert", {"index", "value"}};
    static constexpr binding::Params remove{"CurvePart.remove", {"index"}};
    static constexpr binding::Params pop{"CurvePart.pop", {}};
    static constexpr binding::Params clear{"CurvePart.clear", {}};
};

}  // namespace

binding::ClassSpec PyCurvePart::class_spec() {
    return {
        .name = "vornix_geometry.CurvePart",
        .methods = list_methods<Names, append, insert, remove, pop, clear>(),
        .slots = join({item_get_slots<get_item>(), item_set_slots<set_item>(),
                       {binding::length_slot<length>(), binding::iter_slot<iter>(), binding::str_slot<text>()}}),
    };
}

binding::ClassSpec PyCurvePartIterator::class_spec() {
    return {.name = "vornix_geometry.CurvePartIterator",
            .slots = {binding::iter_self_slot(), binding::next_slot<next>()}};
}

PyResult<Shared<VeltCurvePart>> curve_part_from_list(PyObject* list, bool has_z, bool has_m) {
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

PyResult<Shared<VeltCurvePart>> curve_part_from_py(PyObject* object, bool has_z, bool has_m) {
    if (PyCurvePart* view = binding::Type<PyCurvePart>::value_of(object)) return view->part;
    if (PyList_Check(object)) return curve_part_from_list(object, has_z, has_m);
    return fail(PyExc_TypeError, "CurvePart from_py requires a Part or a list");
}

PyResult<Ref> wrap_curve_part(Shared<VeltCurvePart> part) {
    return binding::Type<PyCurvePart>::wrap(PyCurvePart{std::move(part)});
}

}  // namespace vornix::python
