#include "python/core_wrappers/multipart.h"

#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/list_methods.h"
#include "python/core_wrappers/multipart_ops.h"
#include "python/core_wrappers/part.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::PartCollection;
using core::geometry::Shared;
using core::geometry::VeltPart;

namespace {

struct Traits {
    using Part = VeltPart;
    using View = PyMultipart;
    static PyResult<Shared<VeltPart>> part_from_py(PyObject* o, bool z, bool m) { return python::part_from_py(o, z, m); }
    static PyResult<Shared<VeltPart>> part_from_list(PyObject* o, bool z, bool m) {
        return python::part_from_list(o, z, m);
    }
    static PyResult<Ref> wrap_part(Shared<VeltPart> part) { return python::wrap_part(std::move(part)); }
};
using Ops = MultipartOps<Traits>;

PyResult<Ref> iter(const PyMultipart& self) {
    return binding::Type<PyMultipartIterator>::wrap(PyMultipartIterator{self.collection, 0});
}

PyResult<std::optional<Ref>> next(PyMultipartIterator& self) {
    std::optional<Shared<VeltPart>> part;
    {
        auto collection = core::geometry::read_or_stop(*self.collection, "Lock poisoned");
        if (self.position < collection->len()) part = collection->lines()[self.position];
    }
    if (!part) return std::nullopt;
    auto made = wrap_part(std::move(*part));
    if (!made) return binding::fail(std::move(made.error()));
    ++self.position;
    return std::optional(std::move(*made));
}

struct Names {
    static constexpr binding::Params append{"Multipart.append", {"value"}};
    static constexpr binding::Params insert{"Multipart.insert", {"index", "value"}};
    static constexpr binding::Params remove{"Multipart.remove", {"index"}};
    static constexpr binding::Params pop{"Multipart.pop", {}};
    static constexpr binding::Params clear{"Multipart.clear", {}};
};

}  // namespace

binding::ClassSpec PyMultipart::class_spec() {
    return {
        .name = "vornix_geometry.Multipart",
        .methods = list_methods<Names, Ops::append, Ops::insert, Ops::remove, Ops::pop, Ops::clear>(),
        .slots = join({item_get_slots<Ops::get_item>(), item_set_slots<Ops::set_item>(),
                       {binding::iter_slot<iter>(), binding::str_slot<Ops::text>(), binding::repr_slot<Ops::text>()}}),
    };
}

binding::ClassSpec PyMultipartIterator::class_spec() {
    return {.name = "vornix_geometry.MultipartIterator",
            .slots = {binding::iter_self_slot(), binding::next_slot<next>()}};
}

PyResult<Shared<PartCollection>> multipart_from_py(PyObject* object, bool has_z, bool has_m) {
    return Ops::from_py(object, has_z, has_m);
}

PyResult<std::vector<Shared<VeltPart>>> multipart_input_vec_from_list(PyObject* list, bool has_z, bool has_m) {
    return Ops::input_vec_from_list(list, has_z, has_m);
}

PyResult<Ref> wrap_multipart(Shared<PartCollection> collection) {
    return binding::Type<PyMultipart>::wrap(PyMultipart{std::move(collection)});
}

}  // namespace vornix::python
