// A periodic coordinate (longitude, or a Mercator projection's x) made to run on along a line
// without the jumps of a whole period where it was wrapped.
#pragma once

#include <cmath>

namespace ops {

// Each value is moved by the whole periods gathered so far, in one rounding: a value that needs no
// move keeps every digit, and no error gathers along a line however long it is (adding each step
// to the value before would round twice per vertex and drift).
class Unrolling {
public:
    Unrolling(double period, double start) : period_(period), previous_(start) {}

    // x run on from the value before it by `step`, which differs from x less that value by whole
    // periods only (the step the caller reads the line as taking there).
    double next(double x, double step) {
        // A step from or to a value without a place (NaN, infinite) takes no turn.
        const double turns = std::round((step - (x - previous_)) / period_);
        if (std::isfinite(turns)) turns_ += turns;
        previous_ = x;
        return std::fma(turns_, period_, x);
    }

    // The last value as given.
    double previous() const { return previous_; }

    // x run on from the value before it the shorter way round.
    double next(double x) { return next(x, std::remainder(x - previous_, period_)); }

private:
    double period_;
    double previous_;
    double turns_ = 0;
};

}  // namespace ops
