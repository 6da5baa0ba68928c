#include "python/core_wrappers/common.h"
#include "python/core_wrappers/part_protocol.h"
#include "python/core_wrappers/segment.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;

namespace {

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

}  // namespace

template <>
PyResult<Shared<VeltPart>> part_from_list<VeltPart>(PyObject* list, bool has_z, bool has_m) {
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

template <>
struct PartItems<VeltPart> {
    static PyResult<Ref> wrap(const VeltCoord& coord, ParentLink<VeltPart> parent) {
        return make_coord(coord, std::move(parent));
    }

    static PyResult<void> set(const PyPart& self, int64_t index, PyObject* value) {
        auto coord = interpret_coord(self.part, value);
        if (!coord) return fail(std::move(coord.error()));
        return at_position(self.part, index, "Part", false, [&](VeltPart& part, uint64_t i) -> Done {
            if (!part.set_coord(i, *coord)) return std::nullopt;
            return std::monostate{};
        });
    }

    static PyResult<void> insert(const PyPart& self, int64_t index, PyObject* value) {
        auto coord = interpret_coord(self.part, value);
        if (!coord) return fail(std::move(coord.error()));
        return at_position(self.part, index, "Part", true, [&](VeltPart& part, uint64_t i) -> Done {
            if (i > part.len()) return std::nullopt;
            part.insert_coord(i, *coord);
            return std::monostate{};
        });
    }

    static PyResult<void> append(const PyPart& self, PyObject* value) {
        auto coord = interpret_coord(self.part, value);
        if (!coord) return fail(std::move(coord.error()));
        return raise_geo(with_locked(self.part, [&](VeltPart& part) { push(part, *coord); }));
    }
};

template struct PartView<VeltPart>;
template struct PartViewIterator<VeltPart>;

}  // namespace vornix::python
