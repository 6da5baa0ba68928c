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
    auto x = ordinate(vertex, 0);
    if (!x) return binding::fail(std::move(x.error()));
    auto y = ordinate(vertex, 1);
    if (!y) return binding::fail(std::move(y.error()));
    return Xy{*x, *y};
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
    double sum = 0.0;
    Xy previous = *start;
    for (Py_ssize_t i = 1; i < n; ++i) {
        auto v = vertex(coords, i);
        if (!v) return binding::fail(std::move(v.error()));
        auto current = xy(v->get());
        if (!current) return binding::fail(std::move(current.error()));
        sum += previous.x * current->y - previous.y * current->x;
        previous = *current;
    }
    const double total = (start->y * previous.x - start->x * previous.y) + sum;
    return total < 0;
}

}  // namespace vornix::utils
