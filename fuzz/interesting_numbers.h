// Numbers where floating-point arithmetic breaks: NaN, the infinities, the ends of the double
// range, magnitudes whose square or sum overflows, subnormals and negative zero, next to the
// ordinary values they are mixed with (degrees at the poles and the antimeridian, distances near
// half and whole turns of the earth). One byte of input picks one, so the fuzzer meets them at once
// rather than by bit flips.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <limits>
#include <numbers>

namespace fuzz {

using Limits = std::numeric_limits<double>;

inline constexpr std::array kInterestingNumbers{
    Limits::quiet_NaN(), Limits::infinity(), -Limits::infinity(),
    Limits::max(), -Limits::max(), 1e308, -1e308, 3e307, 1e200, 1e154, -1e154, 1e150,
    Limits::min(), -Limits::min(), Limits::denorm_min(), -Limits::denorm_min(), 1e-300, 1e-15,
    0.0, -0.0, 1.0, -1.0, 0.5, -0.5, 2.0, -2.0, 10.0, -10.0, 1.0 + Limits::epsilon(),
    90.0, -90.0, 89.99, 180.0, -180.0, 360.0, 1e7,
    std::numbers::pi, -std::numbers::pi, 2 * std::numbers::pi,
    1e3, 6.4e6, 1.0e7, 1.0501e7, 1.1e7, 1.4e7, 2.0004e7, 4.0075e7,
};

inline double interesting_number(FuzzedDataProvider& data) {
    return kInterestingNumbers[data.ConsumeIntegral<uint8_t>() % kInterestingNumbers.size()];
}

}  // namespace fuzz
