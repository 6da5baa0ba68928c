// Operations that move, turn, resize a geometry or change its z and m: exact, curves kept.
#include <cmath>

#include "api/handles.h"
#include "model/elliptic_arc.h"
#include "model/extent.h"
#include "ops/affine.h"
#include "ops/dimensions.h"
#include "ops/projection.h"

namespace {

using ops::OrdinateChange;

void require_finite(std::initializer_list<double> values, const char* what) {
    for (double v : values)
        if (!std::isfinite(v)) throw model::EngineError(model::kInvalidArgument, std::string("The ") + what + " must be finite.");
}

// The fixed point of a rotation or scaling: the origin point, brought into the geometry's spatial
// reference; with no origin, or an empty one, the centre of the geometry's extent.
model::XY origin_for(const model::Geometry& geometry, KX_GeometryHandle origin) {
    if (origin != nullptr) {
        const model::Point& point = api::point(origin);
        if (!std::isnan(point.vertex.x)) {
            if (!geometry.spatial_reference() || !point.spatial_reference()) return {point.vertex.x, point.vertex.y};
            auto moved = ops::projected(point, geometry.spatial_reference());
            const auto& v = static_cast<const model::Point&>(*moved).vertex;
            return {v.x, v.y};
        }
    }
    const auto extent = model::extent_of(geometry);
    if (std::isnan(extent->x.min)) return {0.0, 0.0};
    return {(extent->x.min + extent->x.max) / 2.0, (extent->y.min + extent->y.max) / 2.0};
}

KX_GeometryHandle with_dimensions(KX_GeometryHandle geometry, OrdinateChange z, OrdinateChange m) {
    return api::new_geometry(ops::with_dimensions(api::geometry(geometry), z, m));
}

}  // namespace

extern "C" {

KX_GeometryHandle KX_GeometryEngine_move(KX_GeometryHandle geometry, double delta_x, double delta_y,
                                         const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        require_finite({delta_x, delta_y}, "distances to move");
        return api::new_geometry(ops::transformed(g, ops::Affine::translation(delta_x, delta_y)));
    });
}

KX_GeometryHandle KX_GeometryEngine_rotate(KX_GeometryHandle geometry, KX_GeometryHandle origin, double angle,
                                           const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        require_finite({angle}, "angle");
        const model::XY o = origin_for(g, origin);
        return api::new_geometry(ops::transformed(g, ops::Affine::rotation(angle, o.x, o.y)));
    });
}

KX_GeometryHandle KX_GeometryEngine_scale(KX_GeometryHandle geometry, KX_GeometryHandle origin, double scale_x,
                                          double scale_y, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& g = api::geometry(geometry);
        require_finite({scale_x, scale_y}, "scale factors");
        const model::XY o = origin_for(g, origin);
        return api::new_geometry(ops::transformed(g, ops::Affine::scaling(scale_x, scale_y, o.x, o.y)));
    });
}

KX_GeometryHandle KX_GeometryEngine_setM(KX_GeometryHandle geometry, double m, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return with_dimensions(geometry, OrdinateChange::keep(), OrdinateChange::set(m));
    });
}

KX_GeometryHandle KX_GeometryEngine_setZ(KX_GeometryHandle geometry, double z, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return with_dimensions(geometry, OrdinateChange::set(z), OrdinateChange::keep());
    });
}

KX_GeometryHandle KX_GeometryEngine_setZAndM(KX_GeometryHandle geometry, double z, double m,
                                             const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return with_dimensions(geometry, OrdinateChange::set(z), OrdinateChange::set(m));
    });
}

KX_GeometryHandle KX_GeometryEngine_removeM(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return with_dimensions(geometry, OrdinateChange::keep(), OrdinateChange::remove());
    });
}

KX_GeometryHandle KX_GeometryEngine_removeZ(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return with_dimensions(geometry, OrdinateChange::remove(), OrdinateChange::keep());
    });
}

KX_GeometryHandle KX_GeometryEngine_removeZAndM(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        return with_dimensions(geometry, OrdinateChange::remove(), OrdinateChange::remove());
    });
}

}  // extern "C"
