// A check of how the engine reads polygon rings, against GEOS. The straight rings of a polygon are
// made into the GEOS multipolygon they mean when wound the engine's way (clockwise exteriors, each
// counter-clockwise ring a hole of the smallest exterior GEOS finds covering it), as given or each
// reversed. Where GEOS calls one of those valid, the engine's area of the rings in both windings
// (one read by winding, the other by nesting) must be GEOS's area. Where every ring runs clockwise
// (exteriors all, crossing or nested as they may), the engine's union of the polygon with itself
// must cover GEOS's union of the rings' polygons.
#pragma once

#include <geos_c.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "built_geometry.h"
#include "corvane/corvane.h"
#include "polygon_rings.h"

namespace fuzz {

class RingReadingCheck {
public:
    explicit RingReadingCheck(const KX_ErrorCallbackRecord* rec) : rec_(rec), ctx_(GEOS_init_r()) {}
    ~RingReadingCheck() { GEOS_finish_r(ctx_); }
    RingReadingCheck(const RingReadingCheck&) = delete;
    RingReadingCheck& operator=(const RingReadingCheck&) = delete;

    void check(KX_GeometryHandle polygon) {
        if (KX_Geometry_getObjectType(polygon, rec_) != KX_GEOMETRY_TYPE_POLYGON || KX_Geometry_getHasCurves(polygon, rec_) != 0)
            return;
        check_union(polygon);
        const auto rings = polygon_rings(polygon, rec_);
        if (rings.empty() || rings.size() > 8) return;
        // The rings as written or each reversed: whichever is the engine's winding of a valid
        // multipolygon gives GEOS's area.
        double scale = 0;
        double expected = valid_area(rings, scale);
        if (std::isnan(expected)) expected = valid_area(reversed(rings), scale = 0);
        if (std::isnan(expected)) return;
        compare("as written", KX_GeometryEngine_area(polygon, rec_), expected, 1e-9 * scale);
        KX_GeometryHandle reversed = built(rings, true);
        if (reversed == nullptr) return;
        compare("reversed", KX_GeometryEngine_area(reversed, rec_), expected, 1e-9 * scale);
        KX_Geometry_destroy(reversed, nullptr);
    }

private:
    // The exteriors of a polygon whose rings all run clockwise, united: the engine's union of the
    // polygon with itself against GEOS's union of each ring's polygon.
    void check_union(KX_GeometryHandle polygon) {
        if (KX_Geometry_getObjectType(polygon, rec_) != KX_GEOMETRY_TYPE_POLYGON || KX_Geometry_getHasCurves(polygon, rec_) != 0)
            return;
        const auto rings = polygon_rings(polygon, rec_);
        if (rings.size() < 2 || rings.size() > 8) return;
        std::vector<Geos> parts;
        double scale = 0, boundary = 0, magnitude = 0;
        for (const Ring& r : rings) {
            Geos line = geos_ring(r);
            char ccw = 1;
            if (!line || GEOSCoordSeq_isCCW_r(ctx_, GEOSGeom_getCoordSeq_r(ctx_, line.get()), &ccw) == 0 || ccw != 0) return;
            parts.push_back(geos_polygon(r, {}));
            double a = 0, l = 0;
            if (!parts.back() || GEOSisValid_r(ctx_, parts.back().get()) != 1 || GEOSArea_r(ctx_, parts.back().get(), &a) == 0 ||
                GEOSLength_r(ctx_, parts.back().get(), &l) == 0)
                return;
            scale += a, boundary += l;
            for (const XY& v : r) magnitude = std::max({magnitude, std::abs(v.x), std::abs(v.y)});
        }
        std::vector<GEOSGeometry*> raw;
        for (Geos& p : parts) raw.push_back(p.release());
        Geos all(GEOSGeom_createCollection_r(ctx_, GEOS_GEOMETRYCOLLECTION, raw.data(), static_cast<unsigned>(raw.size())),
                 Deleter{ctx_});
        if (!all) {
            for (GEOSGeometry* g : raw) GEOSGeom_destroy_r(ctx_, g);
            return;
        }
        Geos united(GEOSUnaryUnion_r(ctx_, all.get()), Deleter{ctx_});
        double expected = NAN;
        if (!united || GEOSArea_r(ctx_, united.get(), &expected) == 0) return;
        KX_GeometryHandle ours = KX_GeometryEngine_union(polygon, polygon, rec_);
        if (ours == nullptr) return;
        const double area = KX_GeometryEngine_area(ours, rec_);
        KX_Geometry_destroy(ours, nullptr);
        // Within what moving every boundary by a few units in the last place of the largest
        // coordinate sweeps (both unions round their crossings to doubles).
        compare("united", area, expected, 1e-9 * scale + 64 * DBL_EPSILON * magnitude * boundary);
    }

    struct Deleter {
        GEOSContextHandle_t ctx;
        void operator()(GEOSGeometry* g) const { GEOSGeom_destroy_r(ctx, g); }
    };
    using Geos = std::unique_ptr<GEOSGeometry, Deleter>;

    // Within `tolerance`: for areas of the rings as written, rounding of the rings' own areas (a
    // part of their sum), which a hole nearly as large as its shell leaves far above the difference.
    static void compare(const char* how, double area, double expected, double tolerance) {
        if (std::abs(area - expected) <= tolerance) return;
        std::fprintf(stderr, "ring reading (%s): the engine's area %.17g, GEOS's %.17g\n", how, area, expected);
        std::abort();
    }

    static std::vector<Ring> reversed(std::vector<Ring> rings) {
        for (Ring& r : rings) std::reverse(r.begin(), r.end());
        return rings;
    }

    Geos geos_ring(const Ring& ring) const {
        GEOSCoordSequence* seq = GEOSCoordSeq_create_r(ctx_, static_cast<unsigned>(ring.size() + 1), 2);
        for (size_t i = 0; i <= ring.size(); ++i) {
            const XY& v = ring[i % ring.size()];
            GEOSCoordSeq_setXY_r(ctx_, seq, static_cast<unsigned>(i), v.x, v.y);
        }
        return Geos(GEOSGeom_createLinearRing_r(ctx_, seq), Deleter{ctx_});
    }

    Geos geos_polygon(const Ring& shell, const std::vector<const Ring*>& holes) const {
        Geos s = geos_ring(shell);
        std::vector<GEOSGeometry*> h;
        for (const Ring* r : holes) h.push_back(geos_ring(*r).release());
        if (!s || std::find(h.begin(), h.end(), nullptr) != h.end()) {
            for (GEOSGeometry* g : h) GEOSGeom_destroy_r(ctx_, g);
            return Geos(nullptr, Deleter{ctx_});
        }
        return Geos(GEOSGeom_createPolygon_r(ctx_, s.release(), h.data(), static_cast<unsigned>(h.size())), Deleter{ctx_});
    }

    // GEOS's area of the multipolygon the rings mean in the engine's winding, or NaN where GEOS
    // does not call it valid; `scale` becomes the sum of the rings' areas.
    double valid_area(const std::vector<Ring>& rings, double& scale) const {
        std::vector<Geos> alone;
        std::vector<bool> clockwise;
        std::vector<double> size;
        for (const Ring& r : rings) {
            alone.push_back(geos_polygon(r, {}));
            char ccw = 0;
            Geos line = geos_ring(r);
            if (!alone.back() || !line || GEOSCoordSeq_isCCW_r(ctx_, GEOSGeom_getCoordSeq_r(ctx_, line.get()), &ccw) == 0)
                return NAN;
            clockwise.push_back(ccw == 0);
            double a = 0;
            GEOSArea_r(ctx_, alone.back().get(), &a);
            size.push_back(a);
            scale += a;
        }
        std::vector<std::vector<const Ring*>> holes(rings.size());
        for (size_t i = 0; i < rings.size(); ++i) {
            if (clockwise[i]) continue;
            int owner = -1;
            for (size_t j = 0; j < rings.size(); ++j)
                if (clockwise[j] && (owner < 0 || size[j] < size[owner]) &&
                    GEOSCovers_r(ctx_, alone[j].get(), alone[i].get()) == 1)
                    owner = static_cast<int>(j);
            if (owner < 0) return NAN;
            holes[owner].push_back(&rings[i]);
        }
        std::vector<GEOSGeometry*> polygons;
        for (size_t i = 0; i < rings.size(); ++i)
            if (clockwise[i]) polygons.push_back(geos_polygon(rings[i], holes[i]).release());
        if (polygons.empty() || std::find(polygons.begin(), polygons.end(), nullptr) != polygons.end()) {
            for (GEOSGeometry* g : polygons) GEOSGeom_destroy_r(ctx_, g);
            return NAN;
        }
        Geos all(GEOSGeom_createCollection_r(ctx_, GEOS_MULTIPOLYGON, polygons.data(), static_cast<unsigned>(polygons.size())),
                 Deleter{ctx_});
        double area = NAN;
        if (!all || GEOSisValid_r(ctx_, all.get()) != 1 || GEOSArea_r(ctx_, all.get(), &area) == 0) return NAN;
        return area;
    }

    // An engine polygon of the rings, each reversed when asked.
    KX_GeometryHandle built(const std::vector<Ring>& rings, bool reverse) const {
        return multipart(false, nullptr, static_cast<int>(rings.size()), [&](KX_MutablePartHandle part, int i) {
            const Ring& r = rings[i];
            for (size_t k = 0; k < r.size(); ++k) {
                const XY& v = r[reverse ? r.size() - 1 - k : k];
                KX_MutablePart_addPointXY(part, v.x, v.y, rec_);
            }
        }, rec_);
    }

    const KX_ErrorCallbackRecord* rec_;
    GEOSContextHandle_t ctx_;
};

}  // namespace fuzz
