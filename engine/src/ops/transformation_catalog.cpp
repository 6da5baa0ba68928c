#include "ops/transformation_catalog.h"

#include <proj.h>

#include <cmath>
#include <filesystem>
#include <mutex>

#include "model/engine_error.h"
#include "model/spatial_reference_data.h"
#include "ops/projection.h"

namespace ops {
namespace {

using model::proj::ObjectPtr;
using model::proj::Session;

[[noreturn]] void refuse(const Session& session, const std::string& message, const std::string& fallback) {
    const std::string logged = session.log();
    throw model::EngineError(model::kTransformationError, message, logged.empty() ? fallback : logged);
}

bool compound(PJ* crs) { return proj_get_type(crs) == PJ_TYPE_COMPOUND_CRS; }

ObjectPtr sub_crs(const Session& session, PJ* crs, int index) {
    if (!compound(crs)) return index == 0 ? ObjectPtr(proj_clone(session.context(), crs)) : nullptr;
    return ObjectPtr(proj_crs_get_sub_crs(session.context(), crs, index));
}

bool equivalent(const Session& session, PJ* a, PJ* b) {
    return a != nullptr && b != nullptr &&
           proj_is_equivalent_to_with_ctx(session.context(), a, b, PJ_COMP_EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS) != 0;
}

// No datum changes between the two: the same geographic base and, where the vertical systems
// count, the same vertical system.
bool same_datums(const Session& session, PJ* input, PJ* output, bool vertical) {
    ObjectPtr base_in(proj_crs_get_geodetic_crs(session.context(), input));
    ObjectPtr base_out(proj_crs_get_geodetic_crs(session.context(), output));
    ObjectPtr datum_in(base_in ? proj_crs_get_datum_forced(session.context(), base_in.get()) : nullptr);
    ObjectPtr datum_out(base_out ? proj_crs_get_datum_forced(session.context(), base_out.get()) : nullptr);
    if (!equivalent(session, datum_in.get(), datum_out.get())) return false;
    if (!vertical) return true;
    ObjectPtr vertical_in = sub_crs(session, input, 1), vertical_out = sub_crs(session, output, 1);
    if (!vertical_in && !vertical_out) return true;
    return equivalent(session, vertical_in.get(), vertical_out.get());
}

// The area of interest in degrees of longitude and latitude.
struct Area {
    double west, south, east, north;
};

std::optional<Area> area_in_degrees(const model::Envelope* envelope, const model::SpatialReferencePtr& input) {
    if (envelope == nullptr || std::isnan(envelope->x.min)) return std::nullopt;
    Area area{std::min(envelope->x.min, envelope->x.max), std::min(envelope->y.min, envelope->y.max),
              std::max(envelope->x.min, envelope->x.max), std::max(envelope->y.min, envelope->y.max)};
    const auto& sr = envelope->spatial_reference() ? envelope->spatial_reference() : input;
    if (auto operation = geographic_operation(*sr, Direction::ToGeographic))
        operation->run_bounds(area.west, area.south, area.east, area.north);
    return area;
}

bool missing_grids(const Session& session, PJ* operation) {
    return proj_coordoperation_is_instantiable(session.context(), operation) == 0;
}

model::DatumTransformationPtr describe(const Session& session, ObjectPtr operation, model::SpatialReferencePtr input,
                                       model::SpatialReferencePtr output, model::DatumTransformationKind kind) {
    auto data = std::make_shared<model::DatumTransformationData>();
    const char* name = proj_get_name(operation.get());
    data->name = name == nullptr ? std::string() : name;
    data->missing_grids = missing_grids(session, operation.get());
    data->operation = std::move(operation);
    data->input = std::move(input);
    data->output = std::move(output);
    data->kind = kind;
    return data;
}

struct GridDirectory {
    std::mutex mutex;
    std::optional<std::string> directory;
};

GridDirectory& directory_setting() {
    static auto* instance = new GridDirectory;
    return *instance;
}

}  // namespace

std::vector<model::DatumTransformationPtr> transformations(const model::SpatialReferencePtr& input,
                                                           const model::SpatialReferencePtr& output,
                                                           const model::Envelope* area_of_interest, bool ignore_vertical) {
    const auto area = area_in_degrees(area_of_interest, input);
    Session session;
    const bool vertical = !ignore_vertical && (compound(input->crs()) || compound(output->crs()));
    if (same_datums(session, input->crs(), output->crs(), vertical)) return {};
    ObjectPtr source = vertical ? ObjectPtr(proj_clone(session.context(), input->crs())) : sub_crs(session, input->crs(), 0);
    ObjectPtr target = vertical ? ObjectPtr(proj_clone(session.context(), output->crs())) : sub_crs(session, output->crs(), 0);
    using FactoryPtr = std::unique_ptr<PJ_OPERATION_FACTORY_CONTEXT, void (*)(PJ_OPERATION_FACTORY_CONTEXT*)>;
    FactoryPtr factory(proj_create_operation_factory_context(session.context(), nullptr),
                       proj_operation_factory_context_destroy);
    if (!factory) refuse(session, "Cannot list transformations.", "PROJ's database cannot be read.");
    if (area)
        proj_operation_factory_context_set_area_of_interest(session.context(), factory.get(), area->west, area->south,
                                                            area->east, area->north);
    proj_operation_factory_context_set_spatial_criterion(session.context(), factory.get(),
                                                         PROJ_SPATIAL_CRITERION_PARTIAL_INTERSECTION);
    // Ballpark operations only guess at a datum change: they are no transformation to offer.
    proj_operation_factory_context_set_allow_ballpark_transformations(session.context(), factory.get(), 0);
    PJ_OBJ_LIST* list = proj_create_operations(session.context(), source.get(), target.get(), factory.get());
    std::vector<model::DatumTransformationPtr> result;
    const int count = list == nullptr ? 0 : proj_list_get_count(list);
    const auto kind = vertical ? model::DatumTransformationKind::HorizontalVertical : model::DatumTransformationKind::Geographic;
    for (int i = 0; i < count; ++i) {
        ObjectPtr operation(proj_list_get(session.context(), list, i));
        if (operation) result.push_back(describe(session, std::move(operation), input, output, kind));
    }
    proj_list_destroy(list);
    return result;
}

model::DatumTransformationPtr inverse(const model::DatumTransformationData& transformation) {
    Session session;
    ObjectPtr operation(proj_coordoperation_create_inverse(session.context(), transformation.operation.get()));
    if (!operation) refuse(session, "Cannot invert the datum transformation.", transformation.name);
    return describe(session, std::move(operation), transformation.output, transformation.input, transformation.kind);
}

std::optional<std::string> grid_directory() {
    auto& setting = directory_setting();
    std::lock_guard lock(setting.mutex);
    return setting.directory;
}

void set_grid_directory(const std::optional<std::string>& directory) {
    const bool reset = !directory || directory->empty();
    std::error_code error;
    if (!reset && !std::filesystem::is_directory(*directory, error))
        throw model::EngineError(model::kInvalidArgument, "Not a directory.", *directory);
    auto& setting = directory_setting();
    std::lock_guard lock(setting.mutex);
    model::proj::set_grid_directory(reset ? std::string() : *directory);
    setting.directory = reset ? std::nullopt : directory;
    forget_operations();
}

}  // namespace ops
