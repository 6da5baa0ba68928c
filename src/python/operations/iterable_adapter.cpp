#include "python/operations/iterable_adapter.h"

#include "python/core_wrappers/geometry.h"

namespace vornix::python::collections {

PyResult<Ref> iterate(PyObject* iterable) { return binding::checked(PyObject_GetIter(iterable)); }

// The distances measured best on lists of small polygons: far enough for memory to answer, near
// enough that what was fetched is still in the cache.
constexpr Py_ssize_t kModelAhead = 2;
constexpr Py_ssize_t kObjectAhead = kModelAhead + 1;

void Lookahead::next() {
    if (!sequence_) return;
    const Py_ssize_t length = PySequence_Fast_GET_SIZE(sequence_.get());
    PyObject** items = PySequence_Fast_ITEMS(sequence_.get());
    if (read_ + kObjectAhead < length) __builtin_prefetch(items[read_ + kObjectAhead]);
    if (read_ + kModelAhead < length) prefetch_model(items[read_ + kModelAhead]);
    ++read_;
}

PyResult<GeometryOwned> convert_item(PyObject* item, EngineSrMemo& memo, std::type_identity<GeometryOwned>) {
    return geom_from_pyobj(item, &memo);
}

PyResult<double> convert_item(PyObject* item, EngineSrMemo&, std::type_identity<double>) {
    return binding::FromPy<double>::convert(item);
}

PyResult<FixedAndIterator> fixed_and_iterator(frame::GeometryParam fixed, PyObject* collection, bool iterator_first) {
    std::optional<Ref> iterator;
    if (iterator_first) {
        auto made = iterate(collection);
        if (!made) return binding::fail(std::move(made.error()));
        iterator = std::move(*made);
    }
    auto geometry = frame::engine_geometry(fixed.object);
    if (!geometry) return binding::fail(std::move(geometry.error()));
    if (!iterator) {
        auto made = iterate(collection);
        if (!made) return binding::fail(std::move(made.error()));
        iterator = std::move(*made);
    }
    return FixedAndIterator{std::move(*geometry), std::move(*iterator)};
}

void collect(std::vector<GeometryOwned>& results, GeometryOwned geometry) { results.push_back(std::move(geometry)); }

void collect(std::vector<GeometryOwned>& results, std::vector<GeometryOwned> pieces) {
    for (GeometryOwned& piece : pieces) results.push_back(std::move(piece));
}

void collect(std::vector<GeometryOwned>& results, std::optional<GeometryOwned> geometry) {
    if (geometry) results.push_back(std::move(*geometry));
}

}  // namespace vornix::python::collections
