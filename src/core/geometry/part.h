// VeltPart: the vertices of one path, ring or multipoint as parallel arrays. The dimensions are
// fixed at creation: z and m arrays exist only when the part has them, and every present array
// has one entry per vertex. Values are stored as given, NaN and infinities included.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/geometry/engine_sr.h"
#include "core/geometry/velt_coord.h"
#include "geometry/immutable_part.h"
#include "geometry/mutable_part.h"

namespace core::geometry {

struct SpatialReference;

class VeltPart {
public:
    VeltPart(bool has_z, bool has_m);

    std::size_t len() const { return xs_.size(); }
    bool is_empty() const { return xs_.empty(); }
    bool has_z() const { return zs_.has_value(); }
    bool has_m() const { return ms_.has_value(); }
    CoordDims dims() const { return dims_of(has_z(), has_m()); }

    // A missing z or m that the part has is stored as NaN; one the part lacks is dropped.
    void push_coord(double x, double y, std::optional<double> z = std::nullopt,
                    std::optional<double> m = std::nullopt);
    // x, y, then z and m only where the part has them; slots the values do not reach get NaN.
    void push_slice_coord(std::span<const double> values);
    // index must be at most len(): the callers resolve it first.
    void insert_coord(std::size_t index, const VeltCoord& coord);
    // A vertex is read, removed and popped by the names VeltCurvePart gives its own, so that one
    // view protocol serves both part models.
    std::optional<VeltCoord> get(std::size_t index) const;
    // Returns the previous vertex; none, and nothing changed, past the end.
    std::optional<VeltCoord> set_coord(std::size_t index, const VeltCoord& coord);
    std::optional<VeltCoord> remove(std::size_t index);
    std::optional<VeltCoord> pop();
    void clear();
    // Room for `count` vertices in every array, so that a part read from a list of known length
    // holds no spare capacity.
    void reserve(std::size_t count);

    // "[" the vertices' coordinate arrays joined by ", " "]".
    void write_veltjson(std::string& out) const;

    // Engine conversions; the part is lent the engine spatial reference `sr`.
    GeoResult<::geometry::mutable_part::MutablePart> as_mutable_part(const EngineSr& sr) const;
    static VeltPart from_immutable_part(::geometry::immutable_part::ImmutablePart part, bool has_z, bool has_m);
    // The vertices of a part's or a multipoint's point list, read with the geometry's dimensions.
    static VeltPart from_points(const ::geometry::immutable_point_collection::ImmutablePointCollection& points,
                                bool has_z, bool has_m);

private:
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::optional<std::vector<double>> zs_;
    std::optional<std::vector<double>> ms_;
};

}  // namespace core::geometry
