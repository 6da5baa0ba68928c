// The list protocol of the part views, written once for both part models, which read, remove and
// pop a vertex by the same names: length, items read by position, remove, pop, clear, iteration,
// text and the classes. What differs is PartItems<Model>, specialised beside each
// class (part.cpp, curvepart.cpp) with part_from_list<Model>; that file includes this header and
// instantiates PartView<Model> and PartViewIterator<Model> there:
//   wrap(item, parent)        an item's Python object, linked to the part at a position or alone
//   set(view, index, value), insert(view, index, value), append(view, value)
//                             a Python value stored (its conversion runs with no lock held)
// Values are converted before the part is locked; Python objects are made after it is released.
#pragma once

#include <string>
#include <utility>

#include "python/core_wrappers/errors.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/list_methods.h"
#include "python/core_wrappers/locked.h"
#include "python/core_wrappers/part_view.h"
#include "python/core_wrappers/py_index.h"

namespace vornix::python {

template <typename Model>
struct PartItems;

// A model's answer as a GeoResult, whether or not the model can fail there.
template <typename T>
GeoResult<T> as_result(T value) {
    return value;
}
template <typename T>
GeoResult<T> as_result(GeoResult<T> value) {
    return value;
}

template <typename Model>
struct PartProtocol {
    using Items = PartItems<Model>;
    using View = PartView<Model>;
    using Iterator = PartViewIterator<Model>;

    static binding::PyResult<uint64_t> length(const View& self) { return locked_length(self.part); }

    static binding::PyResult<binding::Ref> get_item(const View& self, PyObject* key_object) {
        auto key = binding::extract<int64_t>(key_object, "key");
        if (!key) return binding::fail(std::move(key.error()));
        auto len = length(self);
        if (!len) return binding::fail(std::move(len.error()));
        using Found = std::pair<typename decltype(std::declval<const Model&>().get(0))::value_type, uint64_t>;
        auto found = py_index(*key, *len, PartViewName<Model>::value.view(), false, [&](uint64_t i) {
            return with_locked(self.part, [&](Model& part) -> std::optional<Found> {
                auto item = part.get(i);
                if (!item) return std::nullopt;
                return Found{std::move(*item), i};
            });
        });
        if (!found) return binding::fail(std::move(found.error()));
        return Items::wrap(found->first, std::pair(self.part, found->second));
    }

    static binding::PyResult<void> set_item(const View& self, PyObject* key_object, PyObject* value) {
        auto index = binding::extract<int64_t>(key_object, "index");
        if (!index) return binding::fail(std::move(index.error()));
        return Items::set(self, *index, value);
    }

    static binding::PyResult<void> remove(const View& self, int64_t index) {
        return at_position(self.part, index, "Part", false, [](Model& part, uint64_t i) -> GeoResult<Done> {
            auto removed = as_result(part.remove(i));
            if (!removed) return std::unexpected(std::move(removed.error()));
            if (!*removed) return std::nullopt;
            return std::monostate{};
        });
    }

    static binding::PyResult<binding::Ref> pop(const View& self) {
        auto popped = raise_geo(with_locked(self.part, [](Model& part) { return part.pop(); }));
        if (!popped) return binding::fail(std::move(popped.error()));
        if (!*popped) return binding::Ref::borrow(Py_None);
        return Items::wrap(**popped, std::nullopt);
    }

    static binding::PyResult<void> clear(const View& self) {
        return raise_geo(with_locked(self.part, [](Model& part) { part.clear(); }));
    }

    static binding::PyResult<std::string> text(const View& self) {
        return raise_geo(with_locked(self.part, [](Model& part) {
            std::string out;
            part.write_veltjson(out);
            return out;
        }));
    }

    static binding::PyResult<binding::Ref> iter(const View& self) {
        return binding::Type<Iterator>::wrap(Iterator{self.part, 0});
    }

    static binding::PyResult<std::optional<binding::Ref>> next(Iterator& self) {
        auto item = core::geometry::read_or_stop(*self.part, "Lock poisoned")->get(self.position);
        if (!item) return std::nullopt;
        auto made = Items::wrap(*item, std::pair(self.part, self.position));
        if (!made) return binding::fail(std::move(made.error()));
        ++self.position;
        return std::optional(std::move(*made));
    }
};

template <typename Model>
binding::ClassSpec PartView<Model>::class_spec() {
    using P = PartProtocol<Model>;
    using Items = PartItems<Model>;
    constexpr auto name = PartViewName<Model>::value;
    return {
        .name = kClassName<name>.text,
        .methods = list_methods<name, Items::append, Items::insert, P::remove, P::pop, P::clear>(),
        .slots = join({item_get_slots<P::get_item>(), item_set_slots<P::set_item>(),
                       {binding::length_slot<P::length>(), binding::iter_slot<P::iter>(), binding::str_slot<P::text>()}}),
    };
}

template <typename Model>
binding::ClassSpec PartViewIterator<Model>::class_spec() {
    return {.name = kClassName<PartViewName<Model>::value + core::FixedString("Iterator")>.text,
            .slots = {binding::iter_self_slot(), binding::next_slot<PartProtocol<Model>::next>()}};
}

}  // namespace vornix::python
