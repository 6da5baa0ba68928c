// What model polylines and polygons share: a spatial reference, a collection of straight parts and
// one of curved parts, both in shared cells that the Python views hold too. The geometry's
// dimensions are those of the straight collection. Polygons add the ring rules on every push.
// Lock order: the geometry's own cell (held by the caller), the curved collection, the straight
// collection, then one part at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/geometry/errors.h"
#include "core/geometry/multipart.h"
#include "core/geometry/spatial_reference.h"
#include "geometry/geometry.h"

namespace core::geometry {

class VeltMultipartGeometry {
public:
    bool has_z() const;
    bool has_m() const;
    CoordDims dims() const;
    // True when neither collection holds a part.
    bool is_empty() const;
    const std::optional<SpatialReference>& sr() const { return sr_; }
    void set_sr(std::optional<SpatialReference> sr) { sr_ = std::move(sr); }

protected:
    enum class Shape : bool { Paths, Rings };
    VeltMultipartGeometry(Shape shape, bool has_z, bool has_m, std::optional<SpatialReference> sr);

    // Construction: straight parts pushed first, then curved; the first error is the result.
    template <typename G>
    static GeoResult<G> build(G geometry, std::vector<Shared<VeltPart>> straight,
                              std::vector<Shared<VeltCurvePart>> curved) {
        for (auto& part : straight)
            if (auto pushed = geometry.push_straight(std::move(part)); !pushed)
                return std::unexpected(std::move(pushed.error()));
        for (auto& part : curved)
            if (auto pushed = geometry.push_curved(std::move(part)); !pushed)
                return std::unexpected(std::move(pushed.error()));
        return geometry;
    }

    GeoResult<void> push_straight(Shared<VeltPart> part);
    GeoResult<void> push_curved(Shared<VeltCurvePart> part);
    // Replacement must keep the geometry's dimensions, whichever collection it replaces.
    GeoResult<void> set_straight(Shared<PartCollection> collection);
    GeoResult<void> set_curved(Shared<CurvePartCollection> collection);
    const Shared<PartCollection>& straight() const { return straight_; }
    const Shared<CurvePartCollection>& curved() const { return curved_; }

    void write_veltjson(std::string& out) const;

    // An engine builder holding every part, curved parts first (defined where the two geometries
    // use it).
    template <typename Builder>
    GeoResult<Builder> as_builder(EngineSrMemo* memo) const;

private:
    GeoResult<void> check_ring(const Shared<VeltPart>& part) const;
    GeoResult<void> check_ring(const Shared<VeltCurvePart>& part) const;
    template <typename C>
    GeoResult<void> replace(Shared<C>& field, Shared<C> collection);

    Shape shape_;
    std::optional<SpatialReference> sr_;
    Shared<PartCollection> straight_;
    Shared<CurvePartCollection> curved_;
};

}  // namespace core::geometry
