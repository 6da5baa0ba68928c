#include "ops/transformation_catalog.h"

#include <proj.h>
#include <proj_experimental.h>

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

std::string name_of(PJ* object) {
    const char* name = proj_get_name(object);
    return name == nullptr ? std::string() : name;
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

// The base geographic system of a reference, with its vertical system when vertical systems
// count: a projection changes no datum, so the catalog lists the operations between these. A
// geographic reference (with its vertical system when that counts) is its own base.
model::SpatialReferencePtr base_of(const Session& session, const model::SpatialReferencePtr& sr, bool vertical) {
    // A reference known by its EPSG code takes the base of the code's own definition, which keeps
    // the base's code (one read from another dialect's text may not be identified on its own).
    const auto identified = sr->wkid() != 0 ? model::spatial_reference_from_wkid(static_cast<int32_t>(sr->wkid())) : sr;
    ObjectPtr horizontal = sub_crs(session, identified->crs(), 0);
    const PJ_TYPE type = horizontal ? proj_get_type(horizontal.get()) : PJ_TYPE_UNKNOWN;
    const bool geographic = type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS;
    if (geographic && (vertical || !compound(sr->crs()))) return sr;
    ObjectPtr base(horizontal ? proj_crs_get_geodetic_crs(session.context(), horizontal.get()) : nullptr);
    if (!base) refuse(session, "Cannot list transformations.", "The spatial reference has no geographic base.");
    ObjectPtr vertical_crs = vertical ? sub_crs(session, sr->crs(), 1) : nullptr;
    if (vertical_crs) {
        const std::string name = name_of(base.get()) + " + " + name_of(vertical_crs.get());
        base.reset(proj_create_compound_crs(session.context(), name.c_str(), base.get(), vertical_crs.get()));
        if (!base) refuse(session, "Cannot list transformations.", name);
    }
    const char* const options[] = {"MULTILINE=NO", nullptr};
    const char* text = proj_as_wkt(session.context(), base.get(), PJ_WKT2_2019, options);
    if (text == nullptr) refuse(session, "Cannot list transformations.", "The geographic base cannot be written.");
    return model::spatial_reference_from_wktext(text);
}

// The area of interest in degrees of longitude and latitude of the input's base.
struct Area {
    double west, south, east, north;
};

// PROJ reads an area of interest in degrees east of Greenwich; a base in other units (grads) or
// about another prime meridian (Paris) gives its longitudes and latitudes in those.
void in_degrees_east_of_greenwich(const model::SpatialReferenceData& base, Area& area) {
    Session session;
    ObjectPtr axes(proj_crs_get_coordinate_system(session.context(), base.crs()));
    ObjectPtr meridian(proj_get_prime_meridian(session.context(), base.crs()));
    double to_radians = 0.0, meridian_longitude = 0.0, meridian_to_radians = 0.0;
    if (!axes || !proj_cs_get_axis_info(session.context(), axes.get(), 0, nullptr, nullptr, nullptr, &to_radians,
                                        nullptr, nullptr, nullptr) ||
        !(to_radians > 0.0))
        return;
    if (meridian) proj_prime_meridian_get_parameters(session.context(), meridian.get(), &meridian_longitude,
                                                     &meridian_to_radians, nullptr);
    const double degrees = 180.0 / M_PI, unit = to_radians * degrees;
    const double shift = meridian_longitude * meridian_to_radians * degrees;
    area = {area.west * unit + shift, area.south * unit, area.east * unit + shift, area.north * unit};
}

std::optional<Area> area_in_degrees(const model::Envelope* envelope, const model::SpatialReferencePtr& input,
                                    const model::SpatialReferencePtr& input_base) {
    if (envelope == nullptr || std::isnan(envelope->x.min)) return std::nullopt;
    Area area{std::min(envelope->x.min, envelope->x.max), std::min(envelope->y.min, envelope->y.max),
              std::max(envelope->x.min, envelope->x.max), std::max(envelope->y.min, envelope->y.max)};
    const auto& sr = envelope->spatial_reference() ? envelope->spatial_reference() : input;
    if (!model::equal(*sr, *input_base))
        best_operation(sr, input_base)->run_bounds(area.west, area.south, area.east, area.north);
    in_degrees_east_of_greenwich(*input_base, area);
    return area;
}

bool missing_grids(const Session& session, PJ* operation) {
    return proj_coordoperation_is_instantiable(session.context(), operation) == 0;
}

model::DatumTransformationPtr describe(const Session& session, ObjectPtr operation, model::SpatialReferencePtr input,
                                       model::SpatialReferencePtr output, model::DatumTransformationKind kind) {
    auto data = std::make_shared<model::DatumTransformationData>();
    data->name = name_of(operation.get());
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
    Session session;
    const bool vertical = !ignore_vertical && (compound(input->crs()) || compound(output->crs()));
    if (same_datums(session, input->crs(), output->crs(), vertical)) return {};
    const auto source = base_of(session, input, vertical), target = base_of(session, output, vertical);
    const auto area = area_in_degrees(area_of_interest, input, base_of(session, input, false));
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
    PJ_OBJ_LIST* list = proj_create_operations(session.context(), source->crs(), target->crs(), factory.get());
    std::vector<model::DatumTransformationPtr> result;
    const int count = list == nullptr ? 0 : proj_list_get_count(list);
    const auto kind = vertical ? model::DatumTransformationKind::HorizontalVertical : model::DatumTransformationKind::Geographic;
    for (int i = 0; i < count; ++i) {
        ObjectPtr operation(proj_list_get(session.context(), list, i));
        if (operation) result.push_back(describe(session, std::move(operation), source, target, kind));
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
