// VeltCurvePart: a part plus one curve record per vertex. The record of vertex i shapes the
// segment that comes from vertex i - 1; vertex 0 has no segment, so its record is always straight,
// and every operation that could break that refuses with CurvedPartStart.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/geometry/curve_data.h"
#include "core/geometry/part.h"
#include "core/geometry/slab.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/segment.h"

namespace core::geometry {

// The records of one part: an entry (kind, key) per vertex; curved records sit in one store per
// kind, straight entries have key 0 and no record.
class CurveCollection {
public:
    std::size_t len() const { return index_.size(); }
    void push_curve(const CurveData& curve);
    std::optional<CurveData> get(std::size_t index) const;
    // The old record's slot is freed before the new record is stored.
    std::optional<CurveData> set(std::size_t index, const CurveData& curve);
    bool insert(std::size_t index, const CurveData& curve);
    std::optional<CurveData> remove(std::size_t index);
    void clear();

private:
    struct Entry {
        CurveKind kind;
        std::size_t key;
    };
    Entry store(const CurveData& curve);
    CurveData read(Entry entry) const;
    CurveData take(Entry entry);

    std::vector<Entry> index_;
    Slab<CircularArc> circular_arcs_;
    Slab<EllipticArc> elliptic_arcs_;
    Slab<BezierCurve> bezier_curves_;
};

class VeltCurvePart {
public:
    using Vertex = std::pair<VeltCoord, CurveData>;

    VeltCurvePart(bool has_z, bool has_m) : part_(has_z, has_m) {}

    std::size_t len() const { return part_.len(); }
    bool is_empty() const { return part_.is_empty(); }
    bool has_z() const { return part_.has_z(); }
    bool has_m() const { return part_.has_m(); }
    CoordDims dims() const { return part_.dims(); }
    const VeltPart& part() const { return part_; }

    GeoResult<void> push(const VeltCoord& coord, const CurveData& curve);
    // index must be at most len(): the callers resolve it first.
    GeoResult<void> insert(std::size_t index, const VeltCoord& coord, const CurveData& curve);
    std::optional<Vertex> get(std::size_t index) const;
    GeoResult<std::optional<Vertex>> set(std::size_t index, const VeltCoord& coord, const CurveData& curve);
    std::optional<VeltCoord> set_coord(std::size_t index, const VeltCoord& coord);
    GeoResult<std::optional<CurveData>> set_curve(std::size_t index, const CurveData& curve);
    GeoResult<std::optional<Vertex>> remove(std::size_t index);
    std::optional<Vertex> pop();
    void clear();

    // "[" one element per vertex "]": the coordinate array, or {"c": ...}, {"a": ...}, {"b": ...}.
    void write_veltjson(std::string& out) const;

    // Engine conversions (the part and its segments lent the engine spatial reference `sr`).
    GeoResult<::geometry::mutable_part::MutablePart> as_mutable_part(const EngineSr& sr) const;
    static GeoResult<VeltCurvePart> from_immutable_part(::geometry::immutable_part::ImmutablePart part, bool has_z,
                                                        bool has_m);
    static GeoResult<VeltCurvePart> from_immutable_ring(::geometry::immutable_part::ImmutablePart part, bool has_z,
                                                        bool has_m);

private:
    // Vertex i read from the engine, with the curve of the segment that ends there.
    static GeoResult<Vertex> convert_segment_helper(const ::geometry::immutable_part::ImmutablePart& part,
                                                    uint64_t index);

    VeltPart part_;
    CurveCollection curves_;
};

// Appends the segment from start to end shaped by the curve; curved segments are built with the
// engine spatial reference `sr`.
GeoResult<void> add_to_mutable_part(const CurveData& curve, const ::geometry::mutable_part::MutablePart& part,
                                    const VeltCoord& start, const VeltCoord& end, const EngineSr& sr);

// The curve record of an engine segment; a segment of no known kind is a CorvaneLibrary error.
GeoResult<CurveData> from_segment(const ::geometry::segment::SegmentOwned& segment);

}  // namespace core::geometry
