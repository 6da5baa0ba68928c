// Parts: the mutable part a caller fills vertex by vertex and segment by segment, and the
// read-only part of a polyline or polygon.
#include "api/handles.h"
#include "model/mutable_part.h"
#include "model/part_collections.h"
#include "model/point_collections.h"
#include "model/segment.h"

namespace {

using model::ClassTag;
using model::Dims;

model::MutablePart& mutable_part(KX_MutablePartHandle h) { return api::object<model::MutablePart>(h, ClassTag::MutablePart); }

model::ImmutablePart& immutable_part(KX_ImmutablePartHandle h) {
    return api::object<model::ImmutablePart>(h, ClassTag::ImmutablePart);
}

void add_vertex(const KX_ErrorCallbackRecord* rec, const char* name, KX_MutablePartHandle part, model::Vertex v,
                Dims dims) {
    api::execute<void>(rec, name, [&] { model::add_point(mutable_part(part).edit(), v, dims); });
}

}  // namespace

extern "C" {

void KX_MutablePart_destroy(KX_MutablePartHandle part, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(part, ClassTag::MutablePart); });
}

KX_MutablePartHandle KX_MutablePart_createWithSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                               const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_MutablePartHandle>(rec, __func__, [&] {
        return api::handle_of<KX_MutablePartHandle>(new model::MutablePart(api::spatial_reference_of(spatial_reference)));
    });
}

void KX_MutablePart_addPoint(KX_MutablePartHandle part, KX_GeometryHandle point, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        const auto& p = api::point(point);
        model::add_point(mutable_part(part).edit(), p.vertex, p.dims);
    });
}

void KX_MutablePart_addPointXY(KX_MutablePartHandle part, double x, double y, const KX_ErrorCallbackRecord* rec) {
    add_vertex(rec, __func__, part, {x, y}, {});
}

void KX_MutablePart_addPointXYZ(KX_MutablePartHandle part, double x, double y, double z,
                                const KX_ErrorCallbackRecord* rec) {
    add_vertex(rec, __func__, part, {x, y, z}, {true, false});
}

void KX_MutablePart_addSegment(KX_MutablePartHandle part, KX_SegmentHandle segment, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        const auto& s = api::object<model::Segment>(segment, ClassTag::Segment);
        model::add_segment(mutable_part(part).edit(), s.value, s.dims);
    });
}

void KX_ImmutablePart_destroy(KX_ImmutablePartHandle part, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(part, ClassTag::ImmutablePart); });
}

uint8_t KX_ImmutablePart_getHasCurves(KX_ImmutablePartHandle part, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return model::has_curves(immutable_part(part).part); });
}

uint8_t KX_ImmutablePart_getIsEmpty(KX_ImmutablePartHandle part, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint8_t>(rec, __func__,
                                 [&]() -> uint8_t { return immutable_part(part).part.points.empty(); });
}

uint64_t KX_ImmutablePart_getPointCount(KX_ImmutablePartHandle part, const KX_ErrorCallbackRecord* rec) {
    return api::execute<uint64_t>(rec, __func__,
                                  [&]() -> uint64_t { return immutable_part(part).part.points.size(); });
}

KX_GeometryHandle KX_ImmutablePart_getPoint(KX_ImmutablePartHandle part, uint64_t point_index,
                                            const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__, [&] {
        const auto& p = immutable_part(part);
        if (point_index >= p.part.points.size())
            throw model::EngineError(model::kIndexOutOfRange, "Index of point out of range.");
        return api::new_point(p.part.points[point_index], p.context.dims, p.context.spatial_reference);
    });
}

KX_ImmutablePointCollectionHandle KX_ImmutablePart_getPoints(KX_ImmutablePartHandle part,
                                                             const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ImmutablePointCollectionHandle>(rec, __func__, [&] {
        const auto& p = immutable_part(part);
        return api::handle_of<KX_ImmutablePointCollectionHandle>(
            new model::ImmutablePointCollection(
                std::shared_ptr<const std::vector<model::Vertex>>(p.storage(), &p.part.points), p.context.dims,
                p.context.spatial_reference));
    });
}

KX_SegmentHandle KX_ImmutablePart_getSegment(KX_ImmutablePartHandle part, uint64_t segment_index,
                                             const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_SegmentHandle>(rec, __func__, [&] {
        const auto& p = immutable_part(part);
        return api::handle_of<KX_SegmentHandle>(
            new model::Segment(model::segment_at(p.part, segment_index), p.context.dims, p.context.spatial_reference));
    });
}

int64_t KX_ImmutablePart_getSegmentIndexFromEndPointIndex(KX_ImmutablePartHandle part, uint64_t point_index,
                                                          const KX_ErrorCallbackRecord* rec) {
    return api::execute<int64_t>(rec, __func__, [&] {
        const auto& p = immutable_part(part);
        return model::segment_ending_at(p.part, point_index);
    });
}

}  // extern "C"
