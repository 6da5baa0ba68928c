// The rings of an engine polygon as the fuzz checks read them, through the C interface.
#pragma once

#include <cmath>
#include <vector>

#include "corvane/corvane.h"

namespace fuzz {

struct XY {
    double x, y;
};
using Ring = std::vector<XY>;

// The polygon's rings, open, every vertex located and finite; none when any is not, or a ring
// holds fewer than three points.
inline std::vector<Ring> polygon_rings(KX_GeometryHandle polygon, const KX_ErrorCallbackRecord* rec) {
    std::vector<Ring> out;
    KX_ImmutablePartCollectionHandle parts = KX_Multipart_getParts(polygon, rec);
    const uint64_t n = parts == nullptr ? 0 : KX_ImmutablePartCollection_getSize(parts, rec);
    bool usable = parts != nullptr;
    for (uint64_t i = 0; i < n && usable; ++i) {
        KX_ImmutablePartHandle part = KX_ImmutablePartCollection_getPart(parts, i, rec);
        Ring ring;
        for (uint64_t k = 0, m = KX_ImmutablePart_getPointCount(part, rec); k < m; ++k) {
            KX_GeometryHandle p = KX_ImmutablePart_getPoint(part, k, rec);
            const XY v{KX_Point_getX(p, rec), KX_Point_getY(p, rec)};
            KX_Geometry_destroy(p, nullptr);
            if (!std::isfinite(v.x) || !std::isfinite(v.y) || std::abs(v.x) > 1e100 || std::abs(v.y) > 1e100) usable = false;
            ring.push_back(v);
        }
        KX_ImmutablePart_destroy(part, nullptr);
        if (ring.size() < 3) usable = false;
        out.push_back(std::move(ring));
    }
    KX_ImmutablePartCollection_destroy(parts, nullptr);
    if (!usable) out.clear();
    return out;
}

}  // namespace fuzz
