// Part and point collections: the ones a caller fills for a builder, and the read-only snapshots
// of a geometry's parts and points (sharing its data, so they outlive the geometry).
#include "api/handles.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/mutable_part.h"
#include "model/part_collections.h"
#include "model/point_collections.h"

namespace {

using model::ClassTag;

[[noreturn]] void out_of_range(const char* what) {
    throw model::EngineError(model::kIndexOutOfRange, std::string("Index of ") + what + " out of range.");
}

model::MutablePartCollection& mutable_parts(KX_MutablePartCollectionHandle h) {
    return api::object<model::MutablePartCollection>(h, ClassTag::MutablePartCollection);
}

model::ImmutablePartCollection& immutable_parts(KX_ImmutablePartCollectionHandle h) {
    return api::object<model::ImmutablePartCollection>(h, ClassTag::ImmutablePartCollection);
}

model::ImmutablePointCollection& immutable_points(KX_ImmutablePointCollectionHandle h) {
    return api::object<model::ImmutablePointCollection>(h, ClassTag::ImmutablePointCollection);
}

model::Multipart& multipart(KX_GeometryHandle h) {
    auto& g = api::geometry(h);
    if (g.kind() != model::GeometryKind::Polyline && g.kind() != model::GeometryKind::Polygon)
        throw model::EngineError(model::kInvalidHandle, "Invalid handle.", "Expected a handle to a polyline or polygon.");
    return static_cast<model::Multipart&>(g);
}

}  // namespace

extern "C" {

void KX_MutablePartCollection_destroy(KX_MutablePartCollectionHandle parts, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::destroy(parts, ClassTag::MutablePartCollection); });
}

KX_MutablePartCollectionHandle KX_MutablePartCollection_createWithSpatialReference(
    KX_SpatialReferenceHandle spatial_reference, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_MutablePartCollectionHandle>(rec, __func__, [&] {
        return api::handle_of<KX_MutablePartCollectionHandle>(
            new model::MutablePartCollection(api::spatial_reference_of(spatial_reference)));
    });
}

uint64_t KX_MutablePartCollection_getSize(KX_MutablePartCollectionHandle parts, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint64_t>(rec, __func__,
                                  [&]() -> uint64_t { return mutable_parts(parts).parts.size(); });
}

void KX_MutablePartCollection_addPart(KX_MutablePartCollectionHandle parts, KX_MutablePartHandle part,
                                      const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        const auto& p = api::object<model::MutablePart>(part, ClassTag::MutablePart);
        mutable_parts(parts).parts.push_back(p.share());
    });
}

KX_MutablePartHandle KX_MutablePartCollection_getPart(KX_MutablePartCollectionHandle parts, uint64_t index,
                                                      const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_MutablePartHandle>(rec, __func__, [&] {
        const auto& c = mutable_parts(parts);
        if (index >= c.parts.size()) out_of_range("part");
        return api::handle_of<KX_MutablePartHandle>(new model::MutablePart(c.spatial_reference, c.parts[index]));
    });
}

void KX_MutablePointCollection_destroy(KX_MutablePointCollectionHandle points, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::destroy(points, ClassTag::MutablePointCollection); });
}

KX_MutablePointCollectionHandle KX_MutablePointCollection_createWithSpatialReference(
    KX_SpatialReferenceHandle spatial_reference, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_MutablePointCollectionHandle>(rec, __func__, [&] {
        return api::handle_of<KX_MutablePointCollectionHandle>(
            new model::MutablePointCollection(api::spatial_reference_of(spatial_reference)));
    });
}

void KX_MutablePointCollection_addPoint(KX_MutablePointCollectionHandle points, KX_GeometryHandle point,
                                        const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        const auto& p = api::point(point);
        auto& c = api::object<model::MutablePointCollection>(points, ClassTag::MutablePointCollection);
        c.points.push_back(p.vertex);
        c.dims |= p.dims;
    });
}

void KX_ImmutablePartCollection_destroy(KX_ImmutablePartCollectionHandle parts, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::destroy(parts, ClassTag::ImmutablePartCollection); });
}

uint64_t KX_ImmutablePartCollection_getSize(KX_ImmutablePartCollectionHandle parts, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint64_t>(rec, __func__,
                                  [&]() -> uint64_t { return immutable_parts(parts).parts.size(); });
}

KX_ImmutablePartHandle KX_ImmutablePartCollection_getPart(KX_ImmutablePartCollectionHandle parts, uint64_t index,
                                                          const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ImmutablePartHandle>(rec, __func__, [&] {
        const auto& c = immutable_parts(parts);
        if (index >= c.parts.size()) out_of_range("part");
        return api::handle_of<KX_ImmutablePartHandle>(new model::ImmutablePart(c.shared_part(index), c.context));
    });
}

void KX_ImmutablePointCollection_destroy(KX_ImmutablePointCollectionHandle points, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__,
                       [&] { api::destroy(points, ClassTag::ImmutablePointCollection); });
}

uint64_t KX_ImmutablePointCollection_getSize(KX_ImmutablePointCollectionHandle points,
                                             const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint64_t>(rec, __func__,
                                  [&]() -> uint64_t { return immutable_points(points).points.size(); });
}

KX_GeometryHandle KX_ImmutablePointCollection_getPoint(KX_ImmutablePointCollectionHandle points, uint64_t index,
                                                       const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& c = immutable_points(points);
        if (index >= c.points.size()) out_of_range("point");
        return api::new_point(c.points[index], c.dims, c.spatial_reference);
    });
}

KX_ImmutablePartCollectionHandle KX_Multipart_getParts(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ImmutablePartCollectionHandle>(rec, __func__, [&] {
        const auto& g = multipart(geometry);
        return api::handle_of<KX_ImmutablePartCollectionHandle>(new model::ImmutablePartCollection(
            g.shared_parts(), model::PartContext{g.dims, g.spatial_reference()}));
    });
}

KX_ImmutablePointCollectionHandle KX_Multipoint_getPoints(KX_GeometryHandle geometry,
                                                          const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ImmutablePointCollectionHandle>(rec, __func__, [&] {
        const auto& g = api::geometry_of<model::Multipoint>(geometry, model::GeometryKind::Multipoint, "multipoint");
        return api::handle_of<KX_ImmutablePointCollectionHandle>(
            new model::ImmutablePointCollection(g.shared_points(), g.dims,
                                                g.spatial_reference()));
    });
}

}  // extern "C"
