#include "ops/exact_side.h"

#include <cmath>

#include "ops/geos_context.h"

namespace ops {

int orientation(const model::Vertex& a, const model::Vertex& b, const model::Vertex& p) {
    // The determinant's rounding error, differences included, is below (3 + 16 eps) eps times the
    // sum of its two products' magnitudes (eps = 2^-53).
    constexpr double kError = 3.3306690738754722e-16;
    const double left = (a.x - p.x) * (b.y - p.y), right = (a.y - p.y) * (b.x - p.x);
    const double det = left - right;
    const double bound = kError * (std::abs(left) + std::abs(right));
    if (det > bound) return 1;
    if (-det > bound) return -1;
    const int o = GEOSOrientationIndex_r(geos(), a.x, a.y, b.x, b.y, p.x, p.y);
    return o == 1 || o == -1 ? o : 0;
}

}  // namespace ops
