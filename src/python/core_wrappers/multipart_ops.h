// What Multipart and CurveMultipart share: the live view of one geometry's shared collection of
// parts (straight or curved), its index rule, its text and its class, given the part model, the
// view class and the class's name. Values are read into parts before the
// collection is locked; part views are made after it is released.
#pragma once

#include <string>
#include <vector>

#include "core/geometry/multipart.h"
#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/list_methods.h"
#include "python/core_wrappers/locked.h"
#include "python/core_wrappers/part_view.h"
#include "python/core_wrappers/py_index.h"

namespace vornix::python {

template <typename Part, typename ViewClass, core::FixedString Name>
struct MultipartOps {
    using P = Part;
    using Collection = core::geometry::DimensionedCollection<P>;
    using Cell = core::geometry::Shared<Collection>;
    using PartCell = core::geometry::Shared<P>;
    using View = ViewClass;

    // A part for this collection: a view's own part, or a new one with the collection's dimensions.
    static binding::PyResult<PartCell> interpret_part(const Cell& cell, PyObject* value) {
        bool has_z, has_m;
        {
            auto collection = core::geometry::read_or_stop(*cell, "Lock poisoned");
            has_z = collection->has_z();
            has_m = collection->has_m();
        }
        return part_from_py<P>(value, has_z, has_m);
    }

    static binding::PyResult<binding::Ref> get_item(const View& self, PyObject* key_object) {
        auto key = binding::extract<int64_t>(key_object, "key");
        if (!key) return binding::fail(std::move(key.error()));
        auto len = locked_length(self.collection);
        if (!len) return binding::fail(std::move(len.error()));
        auto part = py_index(*key, *len, "Multipart", false, [&](uint64_t i) {
            return with_locked(self.collection, [&](Collection& c) -> std::optional<PartCell> {
                if (i >= c.len()) return std::nullopt;
                return c.lines()[i];
            });
        });
        if (!part) return binding::fail(std::move(part.error()));
        return wrap_part<P>(std::move(*part));
    }

    static binding::PyResult<void> set_item(const View& self, PyObject* key_object, PyObject* value) {
        auto index = binding::extract<int64_t>(key_object, "index");
        if (!index) return binding::fail(std::move(index.error()));
        auto part = interpret_part(self.collection, value);
        if (!part) return binding::fail(std::move(part.error()));
        return at_position(self.collection, *index, "Part", false, [&](Collection& c, uint64_t i) -> GeoResult<Done> {
            auto replaced = c.set_line(i, std::move(*part));
            if (!replaced) return std::unexpected(std::move(replaced.error()));
            if (!*replaced) return std::nullopt;
            return std::monostate{};
        });
    }

    static binding::PyResult<void> insert(const View& self, int64_t index, PyObject* value) {
        auto part = interpret_part(self.collection, value);
        if (!part) return binding::fail(std::move(part.error()));
        return at_position(self.collection, index, "Part", true, [&](Collection& c, uint64_t i) -> GeoResult<Done> {
            if (i > c.len()) return std::nullopt;
            if (auto inserted = c.insert_line(i, std::move(*part)); !inserted)
                return std::unexpected(std::move(inserted.error()));
            return std::monostate{};
        });
    }

    static binding::PyResult<void> append(const View& self, PyObject* value) {
        auto part = interpret_part(self.collection, value);
        if (!part) return binding::fail(std::move(part.error()));
        auto pushed = with_locked(self.collection, [&](Collection& c) { return c.push_line(std::move(*part)); });
        if (!pushed) return binding::fail(to_py_err(std::move(pushed.error())));
        return raise_geo(std::move(*pushed));
    }

    static binding::PyResult<void> remove(const View& self, int64_t index) {
        // The removed part is released after the collection's lock.
        PartCell removed;
        return at_position(self.collection, index, "Part", false, [&](Collection& c, uint64_t i) -> Done {
            if (i >= c.len()) return std::nullopt;
            removed = std::move(c.lines()[i]);
            c.lines().erase(c.lines().begin() + std::ptrdiff_t(i));
            return std::monostate{};
        });
    }

    static binding::PyResult<binding::Ref> pop(const View& self) {
        auto popped = raise_geo(with_locked(self.collection, [](Collection& c) -> std::optional<PartCell> {
            if (c.lines().empty()) return std::nullopt;
            PartCell last = std::move(c.lines().back());
            c.lines().pop_back();
            return last;
        }));
        if (!popped) return binding::fail(std::move(popped.error()));
        if (!*popped) return binding::Ref::borrow(Py_None);
        return wrap_part<P>(std::move(**popped));
    }

    static binding::PyResult<void> clear(const View& self) {
        std::vector<PartCell> released;
        return raise_geo(with_locked(self.collection, [&](Collection& c) { released.swap(c.lines()); }));
    }

    static binding::PyResult<std::string> text(const View& self) {
        return raise_geo(with_locked(self.collection, [](Collection& c) {
            std::string out;
            c.write_veltjson(out);
            return out;
        }));
    }

    // The class named Name: the list methods, item reading and assignment, and the text as
    // str() and repr(); `more` adds slots of its own.
    static binding::ClassSpec class_spec(std::vector<PyType_Slot> more = {}) {
        return {
            .name = kClassName<Name>.text,
            .methods = list_methods<Name, append, insert, remove, pop, clear>(),
            .slots = join({item_get_slots<get_item>(), item_set_slots<set_item>(), std::move(more),
                           {binding::str_slot<text>(), binding::repr_slot<text>()}}),
        };
    }

    // The parts of a list of part lists, in order; the first failure releases those made so far.
    static binding::PyResult<std::vector<PartCell>> input_vec_from_list(PyObject* list, bool has_z, bool has_m) {
        std::vector<PartCell> parts;
        const Py_ssize_t count = PyList_GET_SIZE(list);
        for (Py_ssize_t i = 0; i < count && i < PyList_GET_SIZE(list); ++i) {
            binding::Ref item = binding::Ref::borrow(PyList_GET_ITEM(list, i));
            if (!PyList_Check(item.get())) return binding::fail(binding::cast_error(item.get(), "list"));
            auto part = part_from_list<P>(item.get(), has_z, has_m);
            if (!part) return binding::fail(std::move(part.error()));
            parts.push_back(std::move(*part));
        }
        return parts;
    }

    // A view's own collection (shared; its dimensions are the caller's to check), or a new one
    // read from a list with the given dimensions.
    static binding::PyResult<Cell> from_py(PyObject* object, bool has_z, bool has_m) {
        if (View* view = binding::Type<View>::value_of(object)) return view->collection;
        if (!PyList_Check(object)) return binding::fail(PyExc_TypeError, "Multipart from_py requires a Multipart or a list");
        auto parts = input_vec_from_list(object, has_z, has_m);
        if (!parts) return binding::fail(std::move(parts.error()));
        auto collection = raise_geo(Collection::from_iter(has_z, has_m, std::move(*parts)));
        if (!collection) return binding::fail(std::move(collection.error()));
        return core::geometry::make_shared_cell(std::move(*collection));
    }
};

}  // namespace vornix::python
