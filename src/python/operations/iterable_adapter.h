// The collection side of the operation frame: Python iterables read item by item into engine
// inputs, and the rule that decides, after the engine call, which error reaches Python.
//
// Two ways of reading: the lazy IterableAdapter, a pull stream for the engine's batch calls that
// parks the first bad item's (or the iterator's) error in a slot of the caller and ends the
// stream there; and for_each_geometry, which stops at once on any error.
#pragma once

#include <cstdint>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/geometry/engine_sr.h"
#include "python/operations/operation_frame.h"

namespace vornix::python::collections {

using binding::PyErr;
using binding::PyResult;
using binding::Ref;
using frame::GeometryOwned;

// The caller's slot for the error that ended an adapter's stream; storing replaces (and so
// releases) what it held.
using PendingError = std::optional<PyErr>;

// Python's iter() of the argument; its error (TypeError for a non-iterable) unchanged.
PyResult<Ref> iterate(PyObject* iterable);

// The engine spatial references shared by the items of one call.
using core::geometry::EngineSrMemo;

// Hints for the items that an argument given as exactly a list or a tuple yields next: before each
// item is read, the object two places on and the model of the next one (whose object was asked for
// a step earlier) are asked into the cache, so that reading them does not wait on memory. Only a
// hint: nothing is read but the sequence's own slots, and a list changed meanwhile only makes the
// hint miss. The sequence is the call's argument, alive for the whole call; for any other iterable
// nothing happens.
class Lookahead {
public:
    explicit Lookahead(PyObject* iterable)
        : sequence_(Ref::borrow(PyList_CheckExact(iterable) || PyTuple_CheckExact(iterable) ? iterable : nullptr)) {}

    // Before each item is read.
    void next();

private:
    Ref sequence_;  // held: items are converted, and may run Python code, between two looks
    Py_ssize_t read_ = 0;
};

// What one call keeps from item to item while it reads a collection.
struct Reading {
    explicit Reading(PyObject* iterable) : ahead(iterable) {}
    EngineSrMemo memo;
    Lookahead ahead;
};

// One item as the stream's kind: an engine geometry (Geometry objects, VeltJSON dicts and text),
// its spatial reference lent by the call's memo, or a float (a float directly, anything else
// through Python's float conversion).
PyResult<GeometryOwned> convert_item(PyObject* item, EngineSrMemo& memo, std::type_identity<GeometryOwned>);
PyResult<double> convert_item(PyObject* item, EngineSrMemo& memo, std::type_identity<double>);

// The next item of `iterator`: none at its end, the item's conversion, or the iterator's error.
// The item's own reference is released right after its conversion.
template <typename Item>
PyResult<std::optional<Item>> next_item(PyObject* iterator, Reading& reading) {
    reading.ahead.next();
    Ref item = Ref::steal(PyIter_Next(iterator));
    if (!item) {
        if (PyErr_Occurred() != nullptr) return binding::fail();
        return std::optional<Item>();
    }
    auto converted = convert_item(item.get(), reading.memo, std::type_identity<Item>{});
    item = Ref();
    if (!converted) return binding::fail(std::move(converted.error()));
    return std::optional<Item>(std::move(*converted));
}

// A pull stream over an iterator (vector::Source): converted items until the end or the first
// error, which goes into the caller's slot and ends the stream. Only items before a bad one are
// ever read. Owns the iterator until the caller lets it go (release()).
template <typename Item>
class IterableAdapter {
public:
    IterableAdapter(PyObject* iterable, Ref iterator, PendingError& pending)
        : iterator_(std::move(iterator)), pending_(pending), reading_(iterable) {}

    std::optional<Item> operator()() {
        if (!iterator_ || ended_) return std::nullopt;
        auto next = next_item<Item>(iterator_.get(), reading_);
        if (next && *next) return std::move(*next);
        ended_ = true;
        if (!next) pending_ = std::move(next.error());
        return std::nullopt;
    }

    // Lets go of the Python iterator (a generator not run to its end is closed now).
    void release() { iterator_ = Ref(); }

private:
    Ref iterator_;
    PendingError& pending_;
    Reading reading_;
    bool ended_ = false;
};

// iter() of the argument as an adapter; iter()'s error is raised at once.
template <typename Item>
PyResult<IterableAdapter<Item>> adapt(PyObject* iterable, PendingError& pending) {
    auto iterator = iterate(iterable);
    if (!iterator) return binding::fail(std::move(iterator.error()));
    return IterableAdapter<Item>(iterable, std::move(*iterator), pending);
}

// The error rule, applied once the iterators are let go: an engine error wins (the parked errors
// are dropped unraised); else the parked errors in the order given (the iterable read second
// first), the engine result being destroyed; else the engine result.
template <typename R, typename... Slots>
PyResult<R> decide(::geometry::Result<R> answer, Slots&... pending) {
    if (!answer) return binding::fail(frame::library_error(answer.error()));
    std::optional<PyErr> raised;
    ((!raised && pending ? (void)(raised = std::move(*pending)) : (void)0), ...);
    if (raised) return binding::fail(std::move(*raised));
    return std::move(*answer);
}

// A batch call over one collection: `call` reads the adapter, the iterator is let go, then the
// error rule.
template <typename Call>
auto batch(PyObject* geometries, Call&& call)
    -> PyResult<typename std::invoke_result_t<Call, IterableAdapter<GeometryOwned>&>::value_type> {
    PendingError pending;
    auto adapter = adapt<GeometryOwned>(geometries, pending);
    if (!adapter) return binding::fail(std::move(adapter.error()));
    auto answer = call(*adapter);
    adapter->release();
    return decide(std::move(answer), pending);
}

// Reads two collections (the second of items `Second`) through adapters into `read`, then lets
// the iterators go; the errors of reading are parked in the caller's slots, the engine answer
// is returned undecided. The engine binding reads the first completely before the second.
template <typename Second, typename Read>
auto read_pair(PyObject* first, PendingError& first_pending, PyObject* second, PendingError& second_pending,
               Read&& read) -> PyResult<std::invoke_result_t<Read, IterableAdapter<GeometryOwned>&, IterableAdapter<Second>&>> {
    auto first_adapter = adapt<GeometryOwned>(first, first_pending);
    if (!first_adapter) return binding::fail(std::move(first_adapter.error()));
    auto second_adapter = adapt<Second>(second, second_pending);
    if (!second_adapter) return binding::fail(std::move(second_adapter.error()));
    auto answer = read(*first_adapter, *second_adapter);
    second_adapter->release();
    first_adapter->release();
    return answer;
}

// A batch call over two collections: the second's parked error is reported before the first's.
template <typename Second, typename Call>
auto batch_pair(PyObject* first, PyObject* second, Call&& call) -> PyResult<
    typename std::invoke_result_t<Call, IterableAdapter<GeometryOwned>&, IterableAdapter<Second>&>::value_type> {
    PendingError first_pending;
    PendingError second_pending;
    auto answer = read_pair<Second>(first, first_pending, second, second_pending, std::forward<Call>(call));
    if (!answer) return binding::fail(std::move(answer.error()));
    return decide(std::move(*answer), second_pending, first_pending);
}

// How many geometries a batch buffer without a union gives the engine per call.
inline constexpr size_t kBufferSlice = 1024;

// A batch buffer over the geometries and distances: both read whole (geometries first), the
// iterators let go, then `call(geometries, distances)` (the engine's batch buffer) a slice at a
// time, each slice's polygons made Python objects (in one list, in input order) and released in
// engine form before the next slice is asked. With a union, one call over everything. The error
// rule is the batch one: an engine error wins, else the parked errors (the distances' first);
// with a parked error the answers are destroyed unread.
template <typename Call>
PyResult<Ref> sliced_buffers(PyObject* geometries, PyObject* distances, bool union_result, Call&& call) {
    PendingError first_pending;
    PendingError second_pending;
    auto read = read_pair<double>(geometries, first_pending, distances, second_pending, [&](auto& items, auto& lengths) {
        return ::geometry::geometry_engine::SlicedBufferInputs::read(items, lengths,
                                                                     union_result ? SIZE_MAX : kBufferSlice);
    });
    if (!read) return binding::fail(std::move(read.error()));
    auto& inputs = *read;
    if (!inputs) return binding::fail(frame::library_error(inputs.error()));
    const bool parked = first_pending || second_pending;
    Ref list = Ref::steal(PyList_New(0));
    if (!list) return binding::fail();
    std::optional<PyErr> failed;
    auto ran = inputs->each_slice(call, [&](::geometry::geometry_engine::PolygonItems&& items) {
        if (parked) return true;
        auto appended = frame::append_items(list.get(), std::move(items));
        if (!appended) failed = std::move(appended.error());
        return !failed;
    });
    if (!ran) return binding::fail(frame::library_error(ran.error()));
    if (failed) return binding::fail(std::move(*failed));
    if (second_pending) return binding::fail(std::move(*second_pending));
    if (first_pending) return binding::fail(std::move(*first_pending));
    return list;
}

// A fixed geometry argument's engine geometry and the iterator of the collection, made in the
// order in which the engine call takes them, so that of two bad inputs the one it would meet first
// is reported: the geometry first, unless `iterator_first` (the items come first in the call).
struct FixedAndIterator {
    GeometryOwned geometry;
    Ref iterator;
};
PyResult<FixedAndIterator> fixed_and_iterator(frame::GeometryParam fixed, PyObject* collection, bool iterator_first);

// Reads `iterator` (iter() of `iterable`) to its end, each item as an engine geometry lent to `step`
// for one turn and destroyed after it. `step` returns whether to go on (or its error). The first
// error of any kind ends the reading; the items after it are never read.
template <typename Step>
PyResult<void> for_each_geometry(PyObject* iterable, PyObject* iterator, Step&& step) {
    Reading reading(iterable);
    while (true) {
        auto next = next_item<GeometryOwned>(iterator, reading);
        if (!next) return binding::fail(std::move(next.error()));
        if (!*next) return {};
        PyResult<bool> go_on = step(std::as_const(**next));
        if (!go_on) return binding::fail(std::move(go_on.error()));
        if (!*go_on) return {};
    }
}

// An engine answer taken into a Python-facing step: its engine error as the library error.
template <typename T>
PyResult<T> engine_answer(::geometry::Result<T> answer) {
    if (!answer) return binding::fail(frame::library_error(answer.error()));
    return std::move(*answer);
}
template <typename T>
PyResult<T> engine_answer(T answer) {
    return answer;
}

// What one item's operation adds to a list of results: its one geometry, every piece of a list,
// or nothing for an absent geometry.
void collect(std::vector<GeometryOwned>& results, GeometryOwned geometry);
void collect(std::vector<GeometryOwned>& results, std::vector<GeometryOwned> pieces);
void collect(std::vector<GeometryOwned>& results, std::optional<GeometryOwned> geometry);

// How many engine results a collection map holds before making them Python objects. Made all at
// the end, every result exists twice at the peak (engine form and model form), and the heap they
// leave behind is given back to the system and faulted in again by the next call: every other call
// over 100,000 points took twice as long. Made one at a time, the calls were a third slower than
// in batches of this size.
inline constexpr size_t kResultBatch = 1024;

// The collection map: iter() of the argument, then for each item, in order, `op` on its engine
// geometry and its answer collected, the results made Python objects a batch at a time (their
// spatial references as `sr` says); nothing partial on any failure.
template <typename Op>
PyResult<Ref> map_collection(PyObject* iterable, Op&& op, const core::geometry::ResultSr& sr = {}) {
    auto iterator = iterate(iterable);
    if (!iterator) return binding::fail(std::move(iterator.error()));
    Ref list = Ref::steal(PyList_New(0));
    if (!list) return binding::fail();
    std::vector<GeometryOwned> results;
    auto read = for_each_geometry(iterable, iterator->get(), [&](const GeometryOwned& item) -> PyResult<bool> {
        auto answer = engine_answer(op(item));
        if (!answer) return binding::fail(std::move(answer.error()));
        collect(results, std::move(*answer));
        if (results.size() < kResultBatch) return true;
        auto made = frame::append_geometries(list.get(), results, sr);
        if (!made) return binding::fail(std::move(made.error()));
        return true;
    });
    if (!read) return binding::fail(std::move(read.error()));
    *iterator = Ref();
    if (auto made = frame::append_geometries(list.get(), results, sr); !made)
        return binding::fail(std::move(made.error()));
    return list;
}

// Per-item values in input order; `op` answers for one item.
template <typename T, typename Op>
PyResult<std::vector<T>> per_item(PyObject* iterable, PyObject* iterator, Op&& op) {
    std::vector<T> values;
    auto read = for_each_geometry(iterable, iterator, [&](const GeometryOwned& item) -> PyResult<bool> {
        auto value = engine_answer(op(item));
        if (!value) return binding::fail(std::move(value.error()));
        values.push_back(std::move(*value));
        return true;
    });
    if (!read) return binding::fail(std::move(read.error()));
    return values;
}

// The per-item values of the iterable as a list, made once the iterator is let go.
template <typename T, typename Op>
PyResult<Ref> values_collection(PyObject* geometries, Op&& op) {
    auto iterator = iterate(geometries);
    if (!iterator) return binding::fail(std::move(iterator.error()));
    auto values = per_item<T>(geometries, iterator->get(), op);
    if (!values) return binding::fail(std::move(values.error()));
    *iterator = Ref();
    return frame::into_object(std::move(*values));
}

// The sum from 0.0 in input order (`iterator` is iter() of `iterable`); nothing partial on failure.
template <typename Op>
PyResult<double> sum_over(PyObject* iterable, PyObject* iterator, Op&& op) {
    double sum = 0.0;
    auto read = for_each_geometry(iterable, iterator, [&](const GeometryOwned& item) -> PyResult<bool> {
        auto value = engine_answer(op(item));
        if (!value) return binding::fail(std::move(value.error()));
        sum += *value;
        return true;
    });
    if (!read) return binding::fail(std::move(read.error()));
    return sum;
}

}  // namespace vornix::python::collections
