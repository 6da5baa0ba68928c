#include "python/utils/is_clockwise.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "python/utils/sequence.h"

namespace vornix::utils {
namespace {

using binding::PyResult;
using binding::Ref;

constexpr const char* too_few_vertices = "ring must have at least 3 vertices";

// Equal within the machine epsilon, absolutely or relative to the larger magnitude.
bool approximately_equal(double a, double b) {
    if (a == b) return true;
    if (std::isinf(a) || std::isinf(b)) return false;
    constexpr double epsilon = std::numeric_limits<double>::epsilon();
    const double difference = std::fabs(a - b);
    return difference <= epsilon || difference <= std::max(std::fabs(a), std::fabs(b)) * epsilon;
}

PyResult<Ref> item(PyObject* sequence, Py_ssize_t index) {
    if (PyList_CheckExact(sequence) && index >= 0 && index < PyList_GET_SIZE(sequence))
        return Ref::borrow(PyList_GET_ITEM(sequence, index));
    return binding::checked(PySequence_GetItem(sequence, index));
}

PyResult<Ref> vertex(PyObject* coords, Py_ssize_t index) {
    auto v = item(coords, index);
    if (v && !is_sequence(v->get())) return binding::fail(binding::cast_error(v->get(), "Sequence"));
    return v;
}

PyResult<double> ordinate(PyObject* vertex, Py_ssize_t index) {
    auto value = item(vertex, index);
    if (!value) return binding::fail(std::move(value.error()));
    const double number = PyFloat_AsDouble(value->get());
    if (number == -1.0 && PyErr_Occurred()) return binding::fail();
    return number;
}

struct Xy {
    double x, y;
};

PyResult<Xy> xy(PyObject* vertex) {
    // Tuples of floats (what the builders make) are read directly: that runs no Python code.
    if (PyTuple_CheckExact(vertex) && PyTuple_GET_SIZE(vertex) >= 2) {
        PyObject* x = PyTuple_GET_ITEM(vertex, 0);
        PyObject* y = PyTuple_GET_ITEM(vertex, 1);
        if (PyFloat_CheckExact(x) && PyFloat_CheckExact(y)) return Xy{PyFloat_AS_DOUBLE(x), PyFloat_AS_DOUBLE(y)};
    }
    auto x = ordinate(vertex, 0);
    if (!x) return binding::fail(std::move(x.error()));
    auto y = ordinate(vertex, 1);
    if (!y) return binding::fail(std::move(y.error()));
    return Xy{*x, *y};
}

// The shoelace total over vertices 0 .. n-1 with every ordinate multiplied by `scale`, a power of
// two, so that the scaled ordinates are exact; also the largest ordinate magnitude met and whether
// every ordinate was finite.
struct Shoelace {
    double total;
    double largest;
    bool finite;
};

PyResult<Shoelace> shoelace(PyObject* coords, Xy start, Py_ssize_t n, double scale) {
    Shoelace result{0.0, std::max(std::fabs(start.x), std::fabs(start.y)),
                    std::isfinite(start.x) && std::isfinite(start.y)};
    const Xy first{start.x * scale, start.y * scale};
    double sum = 0.0;
    Xy previous = first;
    for (Py_ssize_t i = 1; i < n; ++i) {
        auto v = vertex(coords, i);
        if (!v) return binding::fail(std::move(v.error()));
        auto current = xy(v->get());
        if (!current) return binding::fail(std::move(current.error()));
        result.largest = std::max({result.largest, std::fabs(current->x), std::fabs(current->y)});
        result.finite = result.finite && std::isfinite(current->x) && std::isfinite(current->y);
        current->x *= scale;
        current->y *= scale;
        sum += previous.x * current->y - previous.y * current->x;
        previous = *current;
    }
    result.total = (first.y * previous.x - first.x * previous.y) + sum;
    return result;
}

}  // namespace

PyResult<bool> is_clockwise(PyObject* coords) {
    Py_ssize_t n = PySequence_Size(coords);
    if (n < 0) return binding::fail();
    auto first = vertex(coords, 0);
    if (!first) return binding::fail(std::move(first.error()));
    auto last = vertex(coords, n - 1);
    if (!last) return binding::fail(std::move(last.error()));
    if (n < 2) return binding::fail(PyExc_RuntimeError, too_few_vertices);

    auto start = xy(first->get());
    if (!start) return binding::fail(std::move(start.error()));
    auto end = xy(last->get());
    if (!end) return binding::fail(std::move(end.error()));
    if (approximately_equal(start->x, end->x) && approximately_equal(start->y, end->y)) --n;
    if (n < 3) return binding::fail(PyExc_RuntimeError, too_few_vertices);

    // The first vertex is read again here, from the object taken above.
    start = xy(first->get());
    if (!start) return binding::fail(std::move(start.error()));
    auto plain = shoelace(coords, *start, n, 1.0);
    if (!plain) return binding::fail(std::move(plain.error()));
    if (std::isfinite(plain->total) || !plain->finite) return plain->total < 0;
    // Finite ordinates whose products overflowed (magnitudes from about 1e154 on): the sign again
    // with the largest ordinate brought near 1, exactly, by a power of two.
    auto scaled = shoelace(coords, *start, n, std::ldexp(1.0, -std::ilogb(plain->largest)));
    if (!scaled) return binding::fail(std::move(scaled.error()));
    return scaled->total < 0;
}

}  // namespace vornix::utils
