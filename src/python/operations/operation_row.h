// One operation written once, as a row from which both its Geometry method and its module
// `*_collection` function are made.
//
// A row names two steps: `Prepare`, which turns the fixed arguments (as the binding converted them)
// into what the operation needs of them, such as engine objects made from them; and `Body`, the
// engine operation on one geometry and the prepared arguments. The two forms differ only in the
// order of their steps, which decides which of several bad inputs a caller hears of first:
//   - the method converts `self` first, then prepares; what was prepared is destroyed before
//     `self`'s engine geometry, and both before the result becomes a Python object;
//   - the collection function prepares once, then reads the iterable item by item (iter() of it
//     first), each item's engine geometry destroyed after its turn.
// Where the fixed argument is itself a geometry, `Operands` says on which side of the engine call
// the collection puts it (the method always puts `self` first). A method whose arguments must be
// made before `self` (a unit that outlives the result's conversion) says so with
// `Steps::ArgumentsFirst`. Prepared arguments that name the spatial reference of every result (a
// projection's target) let the collection read it once for all results.
#pragma once

#include <optional>
#include <type_traits>
#include <utility>

#include "core/geometry/result_sr.h"
#include "python/operations/iterable_adapter.h"
#include "python/operations/operation_frame.h"

namespace vornix::python::operations {

enum class Operands { ItemFirst, FixedFirst };
enum class Steps { SelfFirst, ArgumentsFirst };

template <auto Prepare, auto Body, Operands Order = Operands::ItemFirst, Steps MethodSteps = Steps::SelfFirst,
          typename = decltype(Prepare)>
struct Row;

template <auto Prepare, auto Body, Operands Order, Steps MethodSteps, typename P, typename... A>
struct Row<Prepare, Body, Order, MethodSteps, binding::PyResult<P> (*)(A...)> {
    using Answer = std::invoke_result_t<decltype(Body), const frame::GeometryOwned&, const P&>;

    static binding::PyResult<binding::Ref> method(PyObject* self, A... args) {
        if constexpr (MethodSteps == Steps::ArgumentsFirst) {
            auto prepared = Prepare(args...);
            if (!prepared) return binding::fail(std::move(prepared.error()));
            return frame::apply(self, [&](const frame::GeometryOwned& geometry) { return Body(geometry, *prepared); });
        }
        return frame::apply(self, [&](const frame::GeometryOwned& geometry) -> binding::PyResult<Answer> {
            auto prepared = Prepare(args...);
            if (!prepared) return binding::fail(std::move(prepared.error()));
            return Body(geometry, *prepared);
        });
    }

    // The iterable as the first parameter, or as the last (`set_m_collection(m, geometries)`,
    // `intersection_collection(primary, geometries)`).
    static binding::PyResult<binding::Ref> collection(PyObject* geometries, A... args) {
        auto prepared = Prepare(args...);
        if (!prepared) return binding::fail(std::move(prepared.error()));
        const auto reference = results_reference(*prepared);
        return collections::map_collection(geometries, each(*prepared),
                                           reference ? core::geometry::ResultSr(*reference) : core::geometry::ResultSr());
    }
    static binding::PyResult<binding::Ref> collection_last(A... args, PyObject* geometries) {
        return collection(geometries, args...);
    }

    // The reductions of a measure: the answers per item as a list (the iterable first or last),
    // or their sum from 0.0.
    static binding::PyResult<binding::Ref> values(PyObject* geometries, A... args) {
        auto prepared = Prepare(args...);
        if (!prepared) return binding::fail(std::move(prepared.error()));
        return collections::values_collection<Value>(geometries, each(*prepared));
    }
    static binding::PyResult<binding::Ref> values_last(A... args, PyObject* geometries) {
        return values(geometries, args...);
    }
    static binding::PyResult<double> sum(PyObject* geometries, A... args) {
        auto prepared = Prepare(args...);
        if (!prepared) return binding::fail(std::move(prepared.error()));
        auto iterator = collections::iterate(geometries);
        if (!iterator) return binding::fail(std::move(iterator.error()));
        return collections::sum_over(geometries, iterator->get(), each(*prepared));
    }

private:
    // The spatial reference that every result of the collection carries, where the prepared
    // arguments name it (`results_reference()`, a projection's target): read once for the call
    // instead of back from each result. None: each result's own.
    static std::optional<std::optional<core::geometry::SpatialReference>> results_reference(const P& prepared) {
        if constexpr (requires { prepared.results_reference(); })
            return prepared.results_reference();
        else
            return std::nullopt;
    }
    // The body on one item with the prepared arguments on their side.
    static auto each(const P& prepared) {
        return [&prepared](const frame::GeometryOwned& item) {
            if constexpr (Order == Operands::FixedFirst)
                return Body(prepared, item);
            else
                return Body(item, prepared);
        };
    }
    // What one item answers, its engine error aside.
    using Value = std::remove_cvref_t<decltype(*collections::engine_answer(std::declval<Answer>()))>;
};

// The steps of the simplest rows.
struct NoArguments {};
inline binding::PyResult<NoArguments> no_arguments() { return NoArguments{}; }

// An engine operation on the geometry alone.
template <auto Op>
auto alone(const frame::GeometryOwned& geometry, const NoArguments&) {
    return Op(geometry);
}

// The fixed geometry argument's fresh engine geometry.
inline binding::PyResult<frame::GeometryOwned> fixed_geometry(frame::GeometryParam geometry) {
    return frame::engine_geometry(geometry.object);
}

// An engine operation on two geometries, in the order given.
template <auto Op>
auto pairwise(const frame::GeometryOwned& first, const frame::GeometryOwned& second) {
    return Op(first, second);
}

}  // namespace vornix::python::operations
