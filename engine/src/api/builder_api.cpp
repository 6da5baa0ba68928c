// The polyline, polygon and multipoint builders.
#include "api/handles.h"
#include "model/geometry_builder.h"
#include "model/part_collections.h"
#include "model/point_collections.h"

namespace {

using model::ClassTag;
using model::GeometryBuilder;
using model::GeometryKind;

GeometryBuilder& builder(KX_GeometryBuilderHandle h) { return api::object<GeometryBuilder>(h, ClassTag::GeometryBuilder); }

KX_GeometryBuilderHandle create(const KX_ErrorCallbackRecord* rec, const char* name, GeometryKind kind,
                                KX_SpatialReferenceHandle sr) {
    return api::execute<KX_GeometryBuilderHandle>(rec, name, [&] {
        return api::handle_of<KX_GeometryBuilderHandle>(new GeometryBuilder(kind, api::spatial_reference_of(sr)));
    });
}

void require_kind(bool ok, const char* expected) {
    if (!ok) throw model::EngineError(model::kInvalidHandle, "Invalid handle.", std::string("Expected a handle to ") + expected + ".");
}

}  // namespace

extern "C" {

void KX_GeometryBuilder_destroy(KX_GeometryBuilderHandle b, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] { api::destroy(b, ClassTag::GeometryBuilder); });
}

KX_GeometryHandle KX_GeometryBuilder_toGeometry(KX_GeometryBuilderHandle b, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_GeometryHandle>(rec, __func__,
                                           [&] { return api::new_geometry(builder(b).build()); });
}

KX_GeometryBuilderHandle KX_PolygonBuilder_createFromSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                                      const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, GeometryKind::Polygon, spatial_reference);
}

KX_GeometryBuilderHandle KX_PolylineBuilder_createFromSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                                       const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, GeometryKind::Polyline, spatial_reference);
}

KX_GeometryBuilderHandle KX_MultipointBuilder_createFromSpatialReference(KX_SpatialReferenceHandle spatial_reference,
                                                                         const KX_ErrorCallbackRecord* rec) {
    return create(rec, __func__, GeometryKind::Multipoint, spatial_reference);
}

void KX_MultipartBuilder_setParts(KX_GeometryBuilderHandle b, KX_MutablePartCollectionHandle parts,
                                  const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        auto& target = builder(b);
        require_kind(target.kind != GeometryKind::Multipoint, "a polyline or polygon builder");
        const auto& source = api::object<model::MutablePartCollection>(parts, ClassTag::MutablePartCollection);
        target.parts = source.parts;
        target.dims = {};
        for (const auto& p : source.parts) target.dims |= p->dims;
    });
}

void KX_MultipointBuilder_setPoints(KX_GeometryBuilderHandle b, KX_MutablePointCollectionHandle points,
                                    const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        auto& target = builder(b);
        require_kind(target.kind == GeometryKind::Multipoint, "a multipoint builder");
        const auto& source = api::object<model::MutablePointCollection>(points, ClassTag::MutablePointCollection);
        target.points = source.points;
        target.dims = source.dims;
    });
}

}  // extern "C"
