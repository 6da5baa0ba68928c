// The transformation catalog: the datum transformations between two spatial references, and the
// directory of grid files.
#include <cstring>

#include "api/handles.h"
#include "model/array.h"
#include "model/envelope.h"
#include "model/text.h"
#include "ops/transformation_catalog.h"

extern "C" {

KX_StringHandle KX_TransformationCatalog_getTarnelDirectory(const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_StringHandle>(rec, __func__, []() -> KX_StringHandle {
        const auto directory = ops::grid_directory();
        if (!directory) return nullptr;
        return api::handle_of<KX_StringHandle>(new model::String(*directory));
    });
}

void KX_TransformationCatalog_setTarnelDirectory(const char* directory, const KX_ErrorCallbackRecord* rec) {
    api::execute<void>(rec, __func__, [&] {
        ops::set_grid_directory(directory == nullptr ? std::nullopt : std::optional<std::string>(directory));
    });
}

KX_ArrayHandle KX_TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical(
    KX_SpatialReferenceHandle input_spatial_reference, KX_SpatialReferenceHandle output_spatial_reference,
    KX_GeometryHandle area_of_interest, int32_t ignore_vertical, const KX_ErrorCallbackRecord* rec) {
    return api::execute<KX_ArrayHandle>(
        rec, __func__, [&] {
            const auto input = api::spatial_reference_of(input_spatial_reference);
            const auto output = api::spatial_reference_of(output_spatial_reference);
            if (!input || !output) throw model::EngineError(model::kInvalidArgument, "Null handle.", "Both spatial references are needed.");
            const model::Envelope* area = area_of_interest == nullptr
                                              ? nullptr
                                              : &api::geometry_of<model::Envelope>(area_of_interest, model::GeometryKind::Envelope, "envelope");
            std::vector<model::Value> items;
            for (auto& t : ops::transformations(input, output, area, ignore_vertical != 0)) items.emplace_back(std::move(t));
            return api::handle_of<KX_ArrayHandle>(new model::Array(std::move(items)));
        });
}

}  // extern "C"
