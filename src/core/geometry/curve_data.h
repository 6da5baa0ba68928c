// CurveData: the shape of the segment that ends at a vertex. Control points, interior points and
// centres are two-dimensional; the segment's ends are the part's vertices.
#pragma once

#include <cstdint>
#include <variant>

namespace core::geometry {

struct Line {
    bool operator==(const Line&) const = default;
};
struct CircularArc {
    double interior_x = 0, interior_y = 0;
    bool operator==(const CircularArc&) const = default;
};
struct EllipticArc {
    double center_x = 0, center_y = 0, rotation = 0, axis = 0, ratio = 0;
    bool minor = false, clockwise = false;
    bool operator==(const EllipticArc&) const = default;
};
struct BezierCurve {
    double ctrl1_x = 0, ctrl1_y = 0, ctrl2_x = 0, ctrl2_y = 0;
    bool operator==(const BezierCurve&) const = default;
};

// The alternative's index is its CurveKind.
using CurveData = std::variant<Line, CircularArc, EllipticArc, BezierCurve>;

enum class CurveKind : uint8_t { Line = 0, CircularArc = 1, EllipticArc = 2, BezierCurve = 3 };

inline CurveKind kind_of(const CurveData& curve) { return static_cast<CurveKind>(curve.index()); }
inline bool is_line(const CurveData& curve) { return std::holds_alternative<Line>(curve); }

}  // namespace core::geometry
