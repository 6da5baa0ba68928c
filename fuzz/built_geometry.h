// Polylines and polygons built from bytes through the part and segment builders, the way the module
// builds them. Rings are regular polygons about a few shared centres with a few shared radii, so
// that they nest (holes, islands in holes) and are wound either way; each edge is a line, a circular
// arc (through a point or about the centre), an elliptic arc or a cubic Bezier curve; any coordinate
// or curve parameter may be an interesting number instead. When the bytes run out every further
// choice is the plain one (a line, the value as given), so short inputs give ordinary shapes.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "corvane/corvane.h"
#include "interesting_numbers.h"

namespace fuzz {

// A polyline or polygon of `count` parts in the reference `sr`, part i filled by fill(part, i),
// through the builders the module uses.
template <typename Fill>
KX_GeometryHandle multipart(bool polyline, KX_SpatialReferenceHandle sr, int count, Fill fill,
                            const KX_ErrorCallbackRecord* rec) {
    KX_GeometryBuilderHandle builder = polyline ? KX_PolylineBuilder_createFromSpatialReference(sr, rec)
                                                : KX_PolygonBuilder_createFromSpatialReference(sr, rec);
    KX_MutablePartCollectionHandle parts = KX_MutablePartCollection_createWithSpatialReference(sr, rec);
    for (int i = 0; i < count; ++i) {
        KX_MutablePartHandle part = KX_MutablePart_createWithSpatialReference(sr, rec);
        fill(part, i);
        KX_MutablePartCollection_addPart(parts, part, rec);
        KX_MutablePart_destroy(part, nullptr);
    }
    KX_MultipartBuilder_setParts(builder, parts, rec);
    KX_GeometryHandle result = KX_GeometryBuilder_toGeometry(builder, rec);
    KX_MutablePartCollection_destroy(parts, nullptr);
    KX_GeometryBuilder_destroy(builder, nullptr);
    return result;
}

class BuiltGeometry {
public:
    BuiltGeometry(FuzzedDataProvider& data, const KX_ErrorCallbackRecord* rec) : data_(data), rec_(rec) {}

    // A polygon or polyline of up to six parts in the reference `wkid`, or null when the engine
    // refuses the reference.
    KX_GeometryHandle build(int32_t wkid) {
        KX_SpatialReferenceHandle sr = wkid == 0 ? nullptr : KX_SpatialReference_create(wkid, rec_);
        if (wkid != 0 && sr == nullptr) return nullptr;
        const bool polyline = data_.ConsumeBool();
        KX_GeometryHandle result = multipart(polyline, sr, data_.ConsumeIntegralInRange(1, 6),
                                             [&](KX_MutablePartHandle part, int) { add_ring(part, sr); }, rec_);
        KX_SpatialReference_destroy(sr, nullptr);
        return result;
    }

private:
    struct XY {
        double x, y;
    };

    // The value as given, or now and then an interesting number in its place.
    double maybe(double v) { return data_.ConsumeIntegralInRange(0, 15) == 15 ? interesting_number(data_) : v; }
    XY maybe(XY p) { return {maybe(p.x), maybe(p.y)}; }

    template <typename T, size_t N>
    T pick(const std::array<T, N>& items) { return items[data_.ConsumeIntegralInRange<size_t>(0, N - 1)]; }

    // A closed regular polygon (a polyline takes it as a closed path), its edges of any kind.
    void add_ring(KX_MutablePartHandle part, KX_SpatialReferenceHandle sr) {
        static constexpr std::array<XY, 5> kCentres{{{0, 0}, {1, 1}, {-3, 2}, {170, 60}, {-179.5, -89}}};
        static constexpr std::array<double, 6> kRadii{1, 2, 4, 8, 16, 0.25};
        const XY centre = maybe(pick(kCentres));
        const double radius = maybe(pick(kRadii));
        const int n = data_.ConsumeIntegralInRange(3, 8);
        const bool clockwise = data_.ConsumeBool();
        const double turn = (clockwise ? -2 : 2) * std::numbers::pi / n;
        XY from = maybe(XY{centre.x + radius, centre.y});
        const XY first = from;
        KX_MutablePart_addPointXY(part, from.x, from.y, rec_);
        for (int i = 1; i <= n; ++i) {
            const XY to = i == n ? first
                                 : maybe(XY{centre.x + radius * std::cos(turn * i), centre.y + radius * std::sin(turn * i)});
            add_edge(part, from, to, centre, clockwise, sr);
            from = to;
        }
    }

    // One edge from the part's last point to `to`; a curve the engine refuses becomes a line.
    void add_edge(KX_MutablePartHandle part, XY from, XY to, XY centre, bool clockwise, KX_SpatialReferenceHandle sr) {
        const XY mid{(from.x + to.x) / 2, (from.y + to.y) / 2};
        const XY normal{(to.y - from.y) / 2, (from.x - to.x) / 2};  // to the right of the edge
        const double bulge = maybe(clockwise ? -0.4 : 0.4);
        KX_GeometryHandle start = KX_Point_createWithXY(from.x, from.y, rec_);
        KX_GeometryHandle end = KX_Point_createWithXY(to.x, to.y, rec_);
        KX_SegmentHandle segment = nullptr;
        switch (data_.ConsumeIntegralInRange(0, 4)) {
            case 0: break;
            case 1: {
                const XY through = maybe(XY{mid.x + bulge * normal.x, mid.y + bulge * normal.y});
                KX_GeometryHandle p = KX_Point_createWithXY(through.x, through.y, rec_);
                segment = KX_EllipticArcSegment_createCircularEllipticArcWithStartEndAndInterior(start, end, p, sr, rec_);
                KX_Geometry_destroy(p, nullptr);
                break;
            }
            case 2: {
                const XY c = maybe(centre);
                const bool minor = data_.ConsumeBool();
                KX_GeometryHandle p = KX_Point_createWithXY(c.x, c.y, rec_);
                segment = KX_EllipticArcSegment_createCircularEllipticArcWithCenter(start, end, p, minor,
                                                                                    clockwise ? 0 : 1, sr, rec_);
                KX_Geometry_destroy(p, nullptr);
                break;
            }
            case 3: {
                // Taken one by one: the order in which the bytes are read must not be the compiler's.
                const bool minor = data_.ConsumeBool(), counter_clockwise = data_.ConsumeBool();
                const double rotation = maybe(0.3), axis = maybe(std::hypot(to.x - from.x, to.y - from.y)),
                             ratio = maybe(0.5);
                segment = KX_EllipticArcSegment_createWithStartAndEndpoints(start, end, minor, counter_clockwise, sr,
                                                                            rotation, axis, ratio, rec_);
                break;
            }
            default: {
                const XY c1 = maybe(XY{from.x + (to.x - from.x) / 3 + bulge * normal.x, from.y + (to.y - from.y) / 3 + bulge * normal.y});
                const XY c2 = maybe(XY{to.x - (to.x - from.x) / 3 - bulge * normal.x, to.y - (to.y - from.y) / 3 - bulge * normal.y});
                KX_GeometryHandle p1 = KX_Point_createWithXY(c1.x, c1.y, rec_);
                KX_GeometryHandle p2 = KX_Point_createWithXY(c2.x, c2.y, rec_);
                segment = KX_CubicBezierSegment_create(start, p1, p2, end, sr, rec_);
                KX_Geometry_destroy(p2, nullptr);
                KX_Geometry_destroy(p1, nullptr);
                break;
            }
        }
        if (segment != nullptr) KX_MutablePart_addSegment(part, segment, rec_);
        else KX_MutablePart_addPointXY(part, to.x, to.y, rec_);
        KX_Segment_destroy(segment, nullptr);
        KX_Geometry_destroy(end, nullptr);
        KX_Geometry_destroy(start, nullptr);
    }

    FuzzedDataProvider& data_;
    const KX_ErrorCallbackRecord* rec_;
};

}  // namespace fuzz
