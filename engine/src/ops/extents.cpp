#include "ops/extents.h"

#include <algorithm>
#include <cmath>

#include "model/extent.h"
#include "ops/spatial_references.h"

namespace ops {
namespace {

void widen(model::Range& r, const model::Range& other) {
    for (double v : {other.min, other.max}) {
        if (std::isnan(v)) continue;
        r.min = std::isnan(r.min) ? v : std::min(r.min, v);
        r.max = std::isnan(r.max) ? v : std::max(r.max, v);
    }
}

}  // namespace

std::unique_ptr<model::Envelope> combined_extent(const std::vector<const model::Geometry*>& geometries) {
    auto out = std::make_unique<model::Envelope>(model::Range{}, model::Range{}, model::Range{}, model::Range{},
                                                 model::Dims{});
    out->set_spatial_reference(common_spatial_reference(geometries));
    for (const auto* g : geometries) {
        const auto e = model::extent_of(*g);
        out->dims |= g->dims;
        if (std::isnan(e->x.min)) continue;
        widen(out->x, e->x);
        widen(out->y, e->y);
        widen(out->z, e->z);
        widen(out->m, e->m);
    }
    return out;
}

}  // namespace ops
