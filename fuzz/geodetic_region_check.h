// A check of the geodetic region rule. A simple ring (as its own polygon, in a WGS84 reference with
// a turn of longitude) that lies within a box of longitudes and latitudes holding under a quarter
// of the ellipsoid must measure at most half of it, in either winding and by every curve type,
// however far its edges bow past its vertices. The box is taken on the longitudes as the edges run
// (the shorter way round across the antimeridian; as written for ShapePreserving edges) and read
// equal-area (longitude against the sine of latitude, kept clear of a quarter by a margin that
// covers the ellipsoid's authalic latitude).
#pragma once

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/Math.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "built_geometry.h"
#include "corvane/corvane.h"
#include "polygon_rings.h"

namespace fuzz {

class GeodeticRegionCheck {
public:
    explicit GeodeticRegionCheck(const KX_ErrorCallbackRecord* rec) : rec_(rec) {}

    void check(KX_GeometryHandle polygon) {
        if (KX_Geometry_getObjectType(polygon, rec_) != KX_GEOMETRY_TYPE_POLYGON || KX_Geometry_getHasCurves(polygon, rec_) != 0)
            return;
        KX_SpatialReferenceHandle sr = KX_Geometry_getSpatialReference(polygon, rec_);
        const uint32_t wkid = sr == nullptr ? 0 : KX_SpatialReference_getWKID(sr, rec_);
        if (wkid == 4326 || wkid == 3857 || wkid == 102100) {
            const bool mercator = wkid != 4326;
            for (const Ring& ring : polygon_rings(polygon, rec_))
                if (ring.size() <= 64) check_ring(sr, ring, mercator);
        }
        KX_SpatialReference_destroy(sr, nullptr);
    }

private:
    static constexpr double kShareBound = 0.24;

    void check_ring(KX_SpatialReferenceHandle sr, const Ring& own, bool mercator) const {
        Ring lonlat;
        for (const XY& v : own) {
            const XY p = mercator ? XY{v.x / kRadius / GeographicLib::Math::degree(), std::atan(std::sinh(v.y / kRadius)) / GeographicLib::Math::degree()} : v;
            if (!(std::abs(p.y) < 90)) return;  // along or beyond a pole longitude runs as written
            lonlat.push_back(p);
        }
        const auto unrolled_share = box_share(lonlat, true), written_share = box_share(lonlat, false);
        if (!unrolled_share && !written_share) return;
        for (bool reverse : {false, true}) {
            KX_GeometryHandle single = multipart(false, sr, 1, [&](KX_MutablePartHandle part, int) {
                for (size_t k = 0; k < own.size(); ++k) {
                    const XY& v = own[reverse ? own.size() - 1 - k : k];
                    KX_MutablePart_addPointXY(part, v.x, v.y, rec_);
                }
            }, rec_);
            if (single != nullptr && KX_GeometryEngine_isSimple(single, rec_) == 1) {
                for (int32_t curve = 0; curve <= 4; ++curve) {
                    const auto& share = curve == KX_CURVE_TYPE_ShapePreserving ? written_share : unrolled_share;
                    if (share) compare(single, curve, *share);
                }
            }
            KX_Geometry_destroy(single, nullptr);
        }
    }

    void compare(KX_GeometryHandle ring, int32_t curve, double share) const {
        const double whole = GeographicLib::Geodesic::WGS84().EllipsoidArea();
        const double area = KX_GeometryEngine_areaGeodetic(ring, nullptr, curve, rec_);
        if (!(area > whole / 2)) return;
        std::fprintf(stderr, "geodetic region: a ring in a box of %.6g of the ellipsoid measures %.17g of %.17g (curve %d)\n",
                     share, area, whole, curve);
        std::abort();
    }

    // The equal-area share of the ring's box, when under the bound and the ring closes.
    static std::optional<double> box_share(const Ring& lonlat, bool unroll) {
        double lon = lonlat[0].x, low = lon, high = lon;
        double south = lonlat[0].y, north = south;
        for (size_t i = 1; i <= lonlat.size(); ++i) {
            const XY& p = lonlat[i % lonlat.size()];
            lon = unroll ? lon + std::remainder(p.x - lonlat[i - 1].x, 360.0) : p.x;
            low = std::min(low, lon), high = std::max(high, lon);
            south = std::min(south, p.y), north = std::max(north, p.y);
        }
        if (std::abs(lon - lonlat[0].x) > 1e-6) return std::nullopt;  // round a pole
        const double share = (high - low) / 360 * (GeographicLib::Math::sind(north) - GeographicLib::Math::sind(south)) / 2;
        if (!(share < kShareBound)) return std::nullopt;
        return share;
    }

    static constexpr double kRadius = 6378137;  // Web Mercator's sphere
    const KX_ErrorCallbackRecord* rec_;
};

}  // namespace fuzz
