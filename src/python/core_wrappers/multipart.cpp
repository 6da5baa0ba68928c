#include "python/core_wrappers/multipart.h"

#include "python/core_wrappers/multipart_ops.h"
#include "python/core_wrappers/part_view.h"

namespace vornix::python {

using binding::PyResult;
using binding::Ref;
using core::geometry::PartCollection;
using core::geometry::Shared;
using core::geometry::VeltPart;

namespace {

using Ops = MultipartOps<VeltPart, PyMultipart, "Multipart">;

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
    auto made = wrap_part<VeltPart>(std::move(*part));
    if (!made) return binding::fail(std::move(made.error()));
    ++self.position;
    return std::optional(std::move(*made));
}

}  // namespace

binding::ClassSpec PyMultipart::class_spec() { return Ops::class_spec({binding::iter_slot<iter>()}); }

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
