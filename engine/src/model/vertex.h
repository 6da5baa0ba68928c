// One vertex of an engine geometry. Every vertex stores all four ordinates; whether z and m mean
// anything is the owner's `Dims`, and an ordinate a vertex never got is NaN.
#pragma once

#include <cmath>
#include <limits>

namespace model {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Vertex {
    double x = kNaN;
    double y = kNaN;
    double z = kNaN;
    double m = kNaN;
};

struct Dims {
    bool has_z = false;
    bool has_m = false;

    Dims& operator|=(Dims other) {
        has_z = has_z || other.has_z;
        has_m = has_m || other.has_m;
        return *this;
    }
};

// One ordinate equal to another, a NaN matching a NaN: a vertex read back from a part must match
// itself, or a segment chained after a NaN vertex could never start where the part ends.
inline bool same_ordinate(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// The point-equality rule of the engine (closing a ring, chaining segments): exact equality of x
// and y. z and m take no part, so a ring closes however its end points' heights differ.
inline bool same_xy(const Vertex& a, const Vertex& b) { return same_ordinate(a.x, b.x) && same_ordinate(a.y, b.y); }

// Whether the vertex has a place: x and y both given (a NaN in either leaves it out of every
// measure and every geometry made for GEOS).
inline bool located(const Vertex& v) { return !std::isnan(v.x) && !std::isnan(v.y); }

}  // namespace model
