#include "ops/projection.h"

#include <proj.h>

#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

#include "model/engine_error.h"
#include "model/elliptic_arc.h"
#include "model/envelope.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"
#include "model/spatial_reference_data.h"
#include "ops/curve_points.h"
#include "ops/image_bounds.h"

namespace ops {
namespace {

using model::proj::Session;

[[noreturn]] void cannot_project(const Session& session, const std::string& fallback) {
    const std::string logged = session.log();
    throw model::EngineError(model::kTransformationError, "Cannot project the geometry.", logged.empty() ? fallback : logged);
}

std::shared_ptr<PJ> shared(PJ* object) { return std::shared_ptr<PJ>(object, model::proj::ObjectDeleter{}); }

// The coordinate system itself, or its horizontal part when z is not to be carried.
std::shared_ptr<PJ> horizontal_or_whole(const Session& session, PJ* crs, bool with_z) {
    if (!with_z && proj_get_type(crs) == PJ_TYPE_COMPOUND_CRS) return shared(proj_crs_get_sub_crs(session.context(), crs, 0));
    return shared(proj_clone(session.context(), crs));
}

// An operation with x east (longitude) first on both sides, whatever axis order the systems define.
std::shared_ptr<PJ> east_first(const Session& session, PJ* operation) {
    auto normalized = shared(proj_normalize_for_visualization(session.context(), operation));
    if (!normalized) cannot_project(session, "PROJ cannot order the axes of the operation.");
    return normalized;
}

std::shared_ptr<PJ> best_between(const Session& session, PJ* from, PJ* to, bool with_z) {
    auto source = horizontal_or_whole(session, from, with_z);
    auto target = horizontal_or_whole(session, to, with_z);
    if (!source || !target) cannot_project(session, "PROJ cannot read the coordinate systems.");
    auto operation = shared(proj_create_crs_to_crs_from_pj(session.context(), source.get(), target.get(), nullptr, nullptr));
    if (!operation) cannot_project(session, "PROJ knows no operation between the two spatial references.");
    return east_first(session, operation.get());
}

// Whether a circular arc maps onto a circle: the circle through the images of its ends and its
// middle must also pass through the images of its quarter points. Gives that image arc.
std::optional<model::EllipticArc> circle_image(const model::SegmentValue& segment, const CoordinateOperation& operation) {
    const auto& arc = std::get<model::EllipticArc>(segment.curve);
    std::vector<model::Vertex> samples;
    for (double t : {0.0, 0.25, 0.5, 0.75, 1.0}) {
        const model::XY p = t == 0.0 ? model::XY{segment.start.x, segment.start.y}
                            : t == 1.0 ? model::XY{segment.end.x, segment.end.y}
                                       : model::point_at(arc, arc.start + arc.central * t);
        samples.push_back({p.x, p.y, 0.0, model::kNaN});
    }
    operation.run(samples);
    const auto xy = [&](int i) { return model::XY{samples[i].x, samples[i].y}; };
    // The circle through the images of the start, the first quarter and the middle; the turn of
    // those three gives the direction (a mirroring operation reverses it).
    model::EllipticArc image;
    try {
        const model::EllipticArc half = model::circular_arc_through(xy(0), xy(2), xy(1));
        const double turn = (xy(1).x - xy(0).x) * (xy(2).y - xy(1).y) - (xy(1).y - xy(0).y) * (xy(2).x - xy(1).x);
        image = model::circular_arc_with_center(xy(0), xy(4), {half.cx, half.cy}, turn > 0);
    } catch (const model::EngineError&) {
        return std::nullopt;
    }
    for (int i : {3, 4}) {
        const double r = std::hypot(samples[i].x - image.cx, samples[i].y - image.cy);
        if (std::abs(r - image.semi_major) > 1e-9 * image.semi_major) return std::nullopt;
    }
    return image;
}

model::Part projected_part(const model::Part& part, const CoordinateOperation& operation) {
    std::vector<model::EllipticArc> kept;
    model::Part result = straightened(part, [&](uint64_t index) {
        const model::SegmentValue segment = model::segment_at(part, index);
        const auto* arc = std::get_if<model::EllipticArc>(&segment.curve);
        if (arc == nullptr || !arc->circular()) return false;
        auto image = circle_image(segment, operation);
        if (image) kept.push_back(*image);
        return image.has_value();
    });
    operation.run(result.points);
    for (size_t i = 0; i < kept.size(); ++i) result.curves[i].second = kept[i];
    return result;
}

// The operations of the pairs used last, by the two systems' texts: projecting geometry by
// geometry must not ask PROJ's database again for every one.
class OperationCache {
public:
    CoordinateOperationPtr find(const std::string& from, const std::string& to) {
        std::lock_guard lock(mutex_);
        // Looked up by views of the two texts: a key copied for every geometry projected would cost
        // more than the projection of a point.
        auto it = entries_.find(std::pair<std::string_view, std::string_view>(from, to));
        return it == entries_.end() ? nullptr : it->second;
    }
    void clear() {
        decltype(entries_) dropped;
        {
            std::lock_guard lock(mutex_);
            dropped.swap(entries_);
        }
        // After the entries are gone: a thread that reads the new generation finds only new ones.
        generation_.fetch_add(1, std::memory_order_acq_rel);
    }
    // Changes whenever the entries are forgotten.
    uint64_t generation() const { return generation_.load(std::memory_order_acquire); }
    void add(const std::string& from, const std::string& to, CoordinateOperationPtr operation) {
        decltype(entries_) dropped;  // destroyed after the lock is released: PROJ objects take their own
        std::lock_guard lock(mutex_);
        if (entries_.size() >= kSize) dropped.swap(entries_);
        entries_[{from, to}] = std::move(operation);
    }

private:
    static constexpr size_t kSize = 64;
    std::mutex mutex_;
    std::atomic<uint64_t> generation_{0};
    // Ordered by the first text, then the second; compares the stored keys with views of texts too.
    struct Less {
        using is_transparent = void;
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const {
            const std::string_view a1 = a.first, b1 = b.first;
            if (a1 != b1) return a1 < b1;
            return std::string_view(a.second) < std::string_view(b.second);
        }
    };
    std::map<std::pair<std::string, std::string>, CoordinateOperationPtr, Less> entries_;
};

OperationCache& cache() {
    static auto* instance = new OperationCache;
    return *instance;
}

}  // namespace

CoordinateOperationPtr geographic_operation(const model::SpatialReferenceData& sr, Direction direction) {
    const std::string key = direction == Direction::ToGeographic ? "(to its geographic base)" : "(from its geographic base)";
    if (auto found = cache().find(sr.wktext(), key)) return found;
    Session session;
    auto horizontal = horizontal_or_whole(session, sr.crs(), false);
    const PJ_TYPE type = proj_get_type(horizontal.get());
    if (type == PJ_TYPE_GEOGRAPHIC_2D_CRS || type == PJ_TYPE_GEOGRAPHIC_3D_CRS) return nullptr;
    auto base = shared(proj_crs_get_geodetic_crs(session.context(), horizontal.get()));
    if (!base) cannot_project(session, "The spatial reference has no geographic base.");
    auto operation = direction == Direction::ToGeographic ? best_between(session, horizontal.get(), base.get(), false)
                                                          : best_between(session, base.get(), horizontal.get(), false);
    auto result = std::make_shared<const CoordinateOperation>(std::vector<std::shared_ptr<PJ>>{operation}, false);
    cache().add(sr.wktext(), key, result);
    return result;
}

void forget_operations() { cache().clear(); }

bool has_vertical(const model::SpatialReferenceData& sr) {
    if (sr.vertical_wkid() != 0 || proj_get_type(sr.crs()) == PJ_TYPE_COMPOUND_CRS) return true;
    // A geographic or projected system of three axes (ellipsoidal height) has one too.
    Session session;
    model::proj::ObjectPtr axes(proj_crs_get_coordinate_system(session.context(), sr.crs()));
    return axes && proj_cs_get_axis_count(session.context(), axes.get()) == 3;
}

void CoordinateOperation::run(std::span<model::Vertex> vertices) const {
    if (vertices.empty()) return;
    // NaN goes into PROJ as 0 and comes back as NaN: an empty point stays empty and a missing z
    // does not spoil x and y.
    std::vector<size_t> empty, no_z;
    for (size_t i = 0; i < vertices.size(); ++i) {
        auto& v = vertices[i];
        if (std::isnan(v.x) || std::isnan(v.y)) {
            empty.push_back(i);
            v.x = v.y = 0.0;
        }
        if (with_z_ && std::isnan(v.z)) {
            no_z.push_back(i);
            v.z = 0.0;
        }
    }
    Session session;
    const size_t n = vertices.size(), stride = sizeof(model::Vertex);
    for (const auto& step : steps_) {
        proj_errno_reset(step.get());
        proj_trans_generic(step.get(), PJ_FWD, &vertices[0].x, stride, n, &vertices[0].y, stride, n,
                           with_z_ ? &vertices[0].z : nullptr, with_z_ ? stride : 0, with_z_ ? n : 0, nullptr, 0, 0);
    }
    for (size_t i : empty) vertices[i].x = vertices[i].y = model::kNaN;
    for (size_t i : no_z) vertices[i].z = model::kNaN;
    for (const auto& v : vertices)
        if (std::isinf(v.x) || std::isinf(v.y) || (!std::isnan(v.x) && std::isnan(v.y)))
            cannot_project(session, "A point lies where the transformation is not defined.");
}

void CoordinateOperation::run_bounds(double& xmin, double& ymin, double& xmax, double& ymax) const {
    Session session;
    Bounds box{xmin, ymin, xmax, ymax};
    for (const auto& step : steps_)
        if (!image_bounds(session, step.get(), box, box))
            cannot_project(session, "The envelope lies where the transformation is not defined.");
    xmin = box.xmin, ymin = box.ymin, xmax = box.xmax, ymax = box.ymax;
}

namespace {

// The pair a thread looked up last and its operation. Projecting geometry by geometry hands over
// the same two shared references each time: comparing their addresses costs far less than comparing
// their texts. Holding the references keeps their addresses from being taken by new ones while they
// are remembered; the cache's generation tells when the operations were forgotten.
struct LastPair {
    model::SpatialReferencePtr from, to;
    uint64_t generation = 0;
    CoordinateOperationPtr operation;
};

// The operation of the pair from the cache, else made and added; keyed by the references' texts.
CoordinateOperationPtr operation_between(const model::SpatialReferenceData& from, const model::SpatialReferenceData& to) {
    if (auto found = cache().find(from.wktext(), to.wktext())) return found;
    Session session;
    const bool with_z = has_vertical(from) && has_vertical(to);
    auto operation = std::make_shared<const CoordinateOperation>(
        std::vector<std::shared_ptr<PJ>>{best_between(session, from.crs(), to.crs(), with_z)}, with_z);
    cache().add(from.wktext(), to.wktext(), operation);
    return operation;
}

}  // namespace

CoordinateOperationPtr best_operation(const model::SpatialReferencePtr& from, const model::SpatialReferencePtr& to) {
    static thread_local LastPair last;
    // Read before the lookup: an operation found before the cache is cleared is kept under the old
    // generation, and so looked up again.
    const uint64_t generation = cache().generation();
    if (last.operation && last.from == from && last.to == to && last.generation == generation) return last.operation;
    CoordinateOperationPtr operation = operation_between(*from, *to);
    last = LastPair{from, to, generation, operation};
    return operation;
}

CoordinateOperationPtr operation_through(const model::SpatialReferenceData& from, const model::SpatialReferenceData& to,
                                         const model::DatumTransformationData& transformation) {
    Session session;
    const bool with_z = transformation.kind == model::DatumTransformationKind::HorizontalVertical &&
                        has_vertical(from) && has_vertical(to);
    std::vector<std::shared_ptr<PJ>> steps;
    if (!model::equal(from, *transformation.input))
        steps.push_back(best_between(session, from.crs(), transformation.input->crs(), with_z));
    steps.push_back(east_first(session, transformation.operation.get()));
    if (!model::equal(*transformation.output, to))
        steps.push_back(best_between(session, transformation.output->crs(), to.crs(), with_z));
    return std::make_shared<const CoordinateOperation>(std::move(steps), with_z);
}

std::unique_ptr<model::Geometry> projected(const model::Geometry& geometry, const model::SpatialReferencePtr& target,
                                           const CoordinateOperation* operation) {
    using model::GeometryKind;
    std::unique_ptr<model::Geometry> result;
    if (operation == nullptr) {
        result = geometry.clone();
    } else if (geometry.kind() == GeometryKind::Point) {
        result = geometry.clone();
        operation->run(std::span(&static_cast<model::Point&>(*result).vertex, 1));
    } else if (geometry.kind() == GeometryKind::Multipoint) {
        result = geometry.clone();
        operation->run(static_cast<model::Multipoint&>(*result).points);
    } else if (geometry.kind() == GeometryKind::Envelope) {
        auto envelope = std::make_unique<model::Envelope>(static_cast<const model::Envelope&>(geometry));
        if (!std::isnan(envelope->x.min))
            operation->run_bounds(envelope->x.min, envelope->y.min, envelope->x.max, envelope->y.max);
        result = std::move(envelope);
    } else {
        const auto& source = static_cast<const model::Multipart&>(geometry);
        std::vector<model::Part> parts;
        parts.reserve(source.parts.size());
        for (const auto& part : source.parts) parts.push_back(projected_part(part, *operation));
        result = std::make_unique<model::Multipart>(source.kind(), std::move(parts), source.dims);
    }
    result->set_spatial_reference(target);
    return result;
}

std::unique_ptr<model::Geometry> projected(const model::Geometry& geometry, const model::SpatialReferencePtr& target) {
    const auto& source = geometry.spatial_reference();
    if (!source || !target || model::equal(*source, *target)) return projected(geometry, target, nullptr);
    return projected(geometry, target, best_operation(source, target).get());
}

}  // namespace ops
