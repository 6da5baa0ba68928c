#include "python/core_wrappers/part.h"

#include "python/core_wrappers/common.h"
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

PyResult<uint64_t> length(const PyPart& self) {
    return raise_geo(with_locked(self.part, [](VeltPart& part) -> uint64_t { return part.len(); }));
}

// A vertex for this part: its dimensions read under the lock, the list converted after it.
PyResult<VeltCoord> interpret_coord(const Shared<VeltPart>& cell, PyObject* value) {
    bool has_z, has_m;
    {
        auto part = core::geometry::read_or_stop(*cell, "Lock poisoned");
        has_z = part->has_z();
        has_m = part->has_m();
    }
    return raise_geo(common::coord_from_list(value, has_z, has_m));
}

void push(VeltPart& part, const VeltCoord& coord) { part.push_coord(coord.x(), coord.y(), coord.z(), coord.m()); }

PyResult<Ref> get_item(const PyPart& self, PyObject* key_object) {
    auto key = binding::extract<int64_t>(key_object, "key");
    if (!key) return fail(std::move(key.error()));
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    using Found = std::pair<VeltCoord, uint64_t>;
    auto found = py_index(*key, *len, "Part", false, [&](uint64_t i) {
        return with_locked(self.part, [&](VeltPart& part) -> std::optional<Found> {
            auto coord = part.get_coord(i);
            if (!coord) return std::nullopt;
            return Found{*coord, i};
        });
    });
    if (!found) return fail(std::move(found.error()));
    return make_coord(found->first, std::pair(self.part, found->second));
}

PyResult<void> set_item(const PyPart& self, PyObject* key_object, PyObject* value) {
    auto index = binding::extract<int64_t>(key_object, "index");
    if (!index) return fail(std::move(index.error()));
    auto coord = interpret_coord(self.part, value);
    if (!coord) return fail(std::move(coord.error()));
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    auto stored = py_index(*index, *len, "Part", false, [&](uint64_t i) {
        return with_locked(self.part, [&](VeltPart& part) -> std::optional<std::monostate> {
            if (!part.set_coord(i, *coord)) return std::nullopt;
            return std::monostate{};
        });
    });
    if (!stored) return fail(std::move(stored.error()));
    return {};
}

PyResult<void> insert(const PyPart& self, int64_t index, PyObject* value) {
    auto coord = interpret_coord(self.part, value);
    if (!coord) return fail(std::move(coord.error()));
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    auto stored = py_index(index, *len, "Part", true, [&](uint64_t i) {
        return with_locked(self.part, [&](VeltPart& part) -> std::optional<std::monostate> {
            if (i > part.len()) return std::nullopt;
            part.insert_coord(i, *coord);
            return std::monostate{};
        });
    });
    if (!stored) return fail(std::move(stored.error()));
    return {};
}

PyResult<void> append(const PyPart& self, PyObject* value) {
    auto coord = interpret_coord(self.part, value);
    if (!coord) return fail(std::move(coord.error()));
    return raise_geo(with_locked(self.part, [&](VeltPart& part) { push(part, *coord); }));
}

PyResult<void> remove(const PyPart& self, int64_t index) {
    auto len = length(self);
    if (!len) return fail(std::move(len.error()));
    auto removed = py_index(index, *len, "Part", false, [&](uint64_t i) {
        return with_locked(self.part, [&](VeltPart& part) -> std::optional<std::monostate> {
            if (!part.remove_coord(i)) return std::nullopt;
            return std::monostate{};
        });
    });
    if (!removed) return fail(std::move(removed.error()));
    return {};
}

PyResult<Ref> pop(const PyPart& self) {
    auto popped = raise_geo(with_locked(self.part, [](VeltPart& part) { return part.pop_coord(); }));
    if (!popped) return fail(std::move(popped.error()));
    if (!*popped) return Ref::borrow(Py_None);
    return make_coord(**popped, std::nullopt);
}

PyResult<void> clear(const PyPart& self) {
    return raise_geo(with_locked(self.part, [](VeltPart& part) { part.clear(); }));
}

PyResult<std::string> text(const PyPart& self) {
    return raise_geo(with_locked(self.part, [](VeltPart& part) {
        std::string out;
        part.write_veltjson(out);
        return out;
    }));
}

PyResult<Ref> iter(const PyPart& self) { return binding::Type<PyPartIterator>::wrap(PyPartIterator{self.part, 0}); }

PyResult<std::optional<Ref>> next(PyPartIterator& self) {
    std::optional<VeltCoord> coord = core::geometry::read_or_stop(*self.part, "Lock poisoned")->get_coord(self.position);
    if (!coord) return std::nullopt;
    auto made = make_coord(*coord, std::pair(self.part, self.position));
    if (!made) return fail(std::move(made.error()));
    ++self.position;
    return std::optional(std::move(*made));
}

struct Names {
    static constexpr binding::Params append{"Part.append", {"value"}};
    static constexpr binding::Params insert{"Part.insert", {"index", "value"}};
    static constexpr binding::Params remove{"Part.remove", {"index"}};
    static constexpr binding::Params pop{"Part.pop", {}};
    static constexpr binding::Params clear{"Part.clear", {}};
};

}  // namespace

binding::ClassSpec PyPart::class_spec() {
    return {
        .name = "vornix_geometry.Part",
        .methods = list_methods<Names, append, insert, remove, pop, clear>(),
        .slots = join({item_get_slots<get_item>(), item_set_slots<set_item>(),
                       {binding::length_slot<length>(), binding::iter_slot<iter>(), binding::str_slot<text>()}}),
    };
}

binding::ClassSpec PyPartIterator::class_spec() {
    return {.name = "vornix_geometry.PartIterator", .slots = {binding::iter_self_slot(), binding::next_slot<next>()}};
}

PyResult<Shared<VeltPart>> part_from_list(PyObject* list, bool has_z, bool has_m) {
    VeltPart part(has_z, has_m);
    const Py_ssize_t count = PyList_GET_SIZE(list);
    part.reserve(std::size_t(count));
    // A conversion may change the list: walk no further than it reaches at each step.
    for (Py_ssize_t i = 0; i < count && i < PyList_GET_SIZE(list); ++i) {
        if (auto plain = common::plain_coord(PyList_GET_ITEM(list, i), has_z, has_m)) {
            push(part, *plain);
            continue;
        }
        Ref item = Ref::borrow(PyList_GET_ITEM(list, i));
        auto coord = raise_geo(common::coord_from_list(item.get(), has_z, has_m));
        if (!coord) return fail(std::move(coord.error()));
        push(part, *coord);
    }
    return core::geometry::make_shared_cell(std::move(part));
}

PyResult<Shared<VeltPart>> part_from_py(PyObject* object, bool has_z, bool has_m) {
    if (PyPart* view = binding::Type<PyPart>::value_of(object)) return view->part;
    if (PyList_Check(object)) return part_from_list(object, has_z, has_m);
    return fail(PyExc_TypeError, "Part from_py requires a Part or a list");
}

PyResult<Ref> wrap_part(Shared<VeltPart> part) { return binding::Type<PyPart>::wrap(PyPart{std::move(part)}); }

}  // namespace vornix::python
