// The typed heart of every generated entry point: converts the bound argument slots to the C++
// parameter types of an implementation function, calls it, and turns its result into a Python
// object. Conversion stops at the first failing argument, whose error names the parameter.
#pragma once

#include <cstddef>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "python/binding/arguments.h"
#include "python/binding/convert.h"

namespace binding {

// A bound class's instance: the object header followed by the C++ value.
template <typename T>
struct Instance {
    PyObject_HEAD
    T value;
};

namespace detail {

template <typename T>
inline constexpr bool is_optional_v = false;
template <typename T>
inline constexpr bool is_optional_v<std::optional<T>> = true;

template <typename T>
inline constexpr bool is_expected_v = false;
template <typename T, typename E>
inline constexpr bool is_expected_v<std::expected<T, E>> = true;

// Parameters of type std::optional may be omitted; they must all come after the required ones.
template <typename... A>
constexpr size_t required_count() {
    constexpr bool optional[] = {is_optional_v<std::decay_t<A>>..., true};
    size_t required = 0;
    while (required < sizeof...(A) && !optional[required]) ++required;
    for (size_t i = required; i < sizeof...(A); ++i)
        if (!optional[i]) throw "a required parameter follows an optional one";
    return required;
}

template <typename F>
struct Signature;
template <typename R, typename... A>
struct Signature<R (*)(A...)> {
    using Result = R;
    using Args = std::tuple<A...>;
};

// The receiver of a method: the raw object, or the C++ value of a bound class (the interpreter
// has already checked the receiver's type for methods and descriptors).
template <typename S>
struct SelfArg;
template <>
struct SelfArg<PyObject*> {
    static PyObject* get(PyObject* self) { return self; }
};
template <typename T>
struct SelfArg<T&> {
    static T& get(PyObject* self) { return reinterpret_cast<Instance<std::remove_const_t<T>>*>(self)->value; }
};

// An implementation's result (a plain value or a PyResult of one) as a Python object.
template <typename R>
PyResult<Ref> to_python(R&& result) {
    using D = std::decay_t<R>;
    if constexpr (is_expected_v<D>) {
        if (!result) return fail(std::move(result.error()));
        if constexpr (std::is_void_v<typename D::value_type>)
            return Ref::borrow(Py_None);
        else
            return into_py(std::move(*result));
    } else {
        return into_py(std::forward<R>(result));
    }
}

// Calls f and gives success or its error, for setters (f returns void or PyResult<void>).
template <typename F, typename... X>
PyResult<void> call_status(F&& f, X&&... x) {
    if constexpr (std::is_void_v<std::invoke_result_t<F, X...>>) {
        f(std::forward<X>(x)...);
        return {};
    } else {
        return f(std::forward<X>(x)...);
    }
}

// Converts slots[0..] to the parameter types A... and calls f(leading..., converted...).
template <typename... A>
struct Converted {
    template <typename F, typename... Leading>
    static auto call(const Params& params, PyObject* const* slots, F&& f, Leading&&... leading)
        -> std::expected<std::invoke_result_t<F, Leading..., A...>, PyErr> {
        using R = std::invoke_result_t<F, Leading..., A...>;
        std::tuple<std::optional<std::decay_t<A>>...> values;
        std::optional<PyErr> error;
        auto convert_one = [&]<size_t I>() {
            using T = std::decay_t<std::tuple_element_t<I, std::tuple<A...>>>;
            auto value = extract<T>(slots[I], params.names[I]);
            if (!value) {
                error.emplace(std::move(value.error()));
                return false;
            }
            std::get<I>(values).emplace(std::move(*value));
            return true;
        };
        auto run = [&]<size_t... I>(std::index_sequence<I...>) -> std::expected<R, PyErr> {
            if (!(convert_one.template operator()<I>() && ...)) return fail(std::move(*error));
            if constexpr (std::is_void_v<R>) {
                f(std::forward<Leading>(leading)..., std::move(*std::get<I>(values))...);
                return {};
            } else {
                return f(std::forward<Leading>(leading)..., std::move(*std::get<I>(values))...);
            }
        };
        return run(std::index_sequence_for<A...>{});
    }
};

template <typename Tuple>
struct ConvertedOf;
template <typename... A>
struct ConvertedOf<std::tuple<A...>> {
    using type = Converted<A...>;
    static constexpr size_t required = required_count<A...>();
    static constexpr size_t count = sizeof...(A);
};

// The parameters that come from Python: all of them, or all but the receiver of a method.
template <bool HasSelf, typename Tuple>
struct PythonArgs {
    using type = Tuple;
};
template <typename S, typename... A>
struct PythonArgs<true, std::tuple<S, A...>> {
    using Self = S;
    using type = std::tuple<A...>;
};

// Flattens PyResult<PyResult<R>> from Converted::call into one PyResult<Ref>.
template <typename E>
PyResult<Ref> finish(E&& outcome) {
    if (!outcome) return fail(std::move(outcome.error()));
    if constexpr (std::is_void_v<typename std::decay_t<E>::value_type>)
        return Ref::borrow(Py_None);
    else
        return to_python(std::move(*outcome));
}

}  // namespace detail

}  // namespace binding
