// The owner rule: one owner per handle, destroyed exactly once; the null-handle and destroy texts
// of every owner type; a failed destroy wherever the owner lives, and one that meets another
// fault unwinding.
#include <expected>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/poison_mutex.h"
#include "core/geometry/polyline.h"

#include "engine_test.h"
#include "geometry/area_unit.h"
#include "geometry/array.h"
#include "geometry/cubic_bezier_segment.h"
#include "geometry/datum_transformation.h"
#include "geometry/element.h"
#include "geometry/elliptic_arc_segment.h"
#include "geometry/envelope.h"
#include "geometry/immutable_part_collection.h"
#include "geometry/immutable_point_collection_iter.h"
#include "geometry/linear_unit.h"
#include "geometry/multipoint.h"
#include "geometry/multipoint_builder.h"
#include "geometry/mutable_part_collection.h"
#include "geometry/mutable_point_collection.h"
#include "geometry/polygon.h"
#include "geometry/polygon_builder.h"
#include "geometry/polyline.h"
#include "geometry/polyline_builder.h"
#include "geometry/vector.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;
using ::geometry::geometry::GeometryOwned;

template <typename T>
std::function<void()> wrap_null() {
    return [] { T::from_handle(nullptr); };
}

struct NullCase {
    std::function<void()> wrap;
    std::string text;
};

TEST(NullHandle, EveryOwnerStopsWithItsText) {
    const std::string prefix = "Internal error: Unexpected null handle returned from core ";
    const NullCase cases[] = {
        {wrap_null<GeometryOwned>(), prefix + "Geometry for GeometryOwned"},
        {wrap_null<point::Point>(), prefix + "Geometry for Point"},
        {wrap_null<envelope::Envelope>(), prefix + "Geometry for Envelope"},
        {wrap_null<polyline::Polyline>(), prefix + "Geometry for Polyline"},
        {wrap_null<polygon::Polygon>(), prefix + "Geometry for Polygon"},
        {wrap_null<multipoint::Multipoint>(), prefix + "Geometry for Multipoint"},
        {wrap_null<polygon_builder::PolygonBuilder>(), prefix + "GeometryBuilder for PolygonBuilder"},
        {wrap_null<polyline_builder::PolylineBuilder>(), prefix + "GeometryBuilder for PolylineBuilder"},
        {wrap_null<multipoint_builder::MultipointBuilder>(), prefix + "GeometryBuilder for MultipointBuilder"},
        {wrap_null<mutable_part::MutablePart>(), prefix + "MutablePart for MutablePart"},
        {wrap_null<mutable_part_collection::MutablePartCollection>(),
         prefix + "MutablePartCollection for MutablePartCollection"},
        {wrap_null<mutable_point_collection::MutablePointCollection>(),
         prefix + "MutablePointCollection for MutablePointCollection"},
        {wrap_null<immutable_part::ImmutablePart>(), prefix + "ImmutablePart for ImmutablePart"},
        {wrap_null<immutable_part_collection::ImmutablePartCollection>(),
         prefix + "ImmutablePartCollection for ImmutablePartCollection"},
        {wrap_null<immutable_point_collection::ImmutablePointCollection>(),
         prefix + "ImmutablePointCollection for ImmutablePointCollection"},
        {wrap_null<segment::SegmentOwned>(), prefix + "Segment for SegmentOwned"},
        {wrap_null<cubic_bezier_segment::CubicBezierSegment>(), prefix + "Segment for CubicBezierSegment"},
        {wrap_null<elliptic_arc_segment::EllipticArcSegment>(), prefix + "Segment for EllipticArcSegment"},
        {wrap_null<linear_unit::LinearUnit>(), prefix + "Unit for LinearUnit"},
        {wrap_null<area_unit::AreaUnit>(), prefix + "Unit for AreaUnit"},
        {wrap_null<spatial_reference::SpatialReference>(), prefix + "SpatialReference for SpatialReference"},
        {wrap_null<datum_transformation::DatumTransformationOwned>(),
         prefix + "DatumTransformation for DatumTransformationOwned"},
        {wrap_null<array::Array>(), "Internal error: Received null KX_ArrayHandle"},
        {wrap_null<element::Element>(), "Internal error: Unexpected null handle"},
        {wrap_null<vector::Vector>(), "Internal error: Unexpected null handle"},
    };
    for (const auto& c : cases) EXPECT_EQ(stop_message(c.wrap), c.text);
}

TEST(Owner, IsOnePointerWide) {
    static_assert(sizeof(polygon::Polygon) == sizeof(void*));
    static_assert(sizeof(polygon_builder::PolygonBuilder) == sizeof(void*));
    static_assert(sizeof(elliptic_arc_segment::EllipticArcSegment) == sizeof(void*));
    static_assert(!std::is_copy_constructible_v<point::Point>);
}

class OwnerTest : public EngineTest {};

TEST_F(OwnerTest, MovesDestroyEachHandleOnce) {
    const auto before = live_objects("Geometry");
    {
        auto point = point::Point::with_x_y(1, 2);
        auto general = GeometryOwned::from(std::move(point));
        EXPECT_EQ(live_objects("Geometry"), before + 1);
        GeometryOwned other = GeometryOwned::from(point::Point::with_x_y(3, 4));
        other = std::move(general);  // destroys the point (3, 4) and takes over (1, 2)
        EXPECT_EQ(live_objects("Geometry"), before + 1);
        EXPECT_EQ(other.object_type(), geometry_type::GeometryType::Point);
    }
    EXPECT_EQ(live_objects("Geometry"), before);
}

// The injected failure leaves the engine object alive; the test destroys it afterwards.
void destroy_for_real(KX_GeometryHandle geometry) { bindings::ffi().KX_Geometry_destroy(geometry, nullptr); }

TEST_F(OwnerTest, FailedDestroyStopsNamingTheOwnerType) {
    struct Case {
        std::function<void(KX_GeometryHandle&)> make_and_drop;  // keeps the handle in its argument
        std::string text;
    };
    const std::string prefix = "Internal error: Unexpected error while destroying internal handle to ";
    const Case cases[] = {
        {[](KX_GeometryHandle& raw) {
             auto polygon = polygon::Polygon::from_handle(point::Point::with_x_y(0, 0).release());
             raw = polygon.handle();
             fail_next("KX_Geometry_destroy");
         },
         prefix + "Polygon"},
        {[](KX_GeometryHandle& raw) {
             auto general = GeometryOwned::from(point::Point::with_x_y(0, 0));
             raw = general.handle();
             fail_next("KX_Geometry_destroy");
         },
         prefix + "GeometryOwned"},
    };
    for (const auto& c : cases) {
        KX_GeometryHandle raw = nullptr;
        const auto message = stop_message([&] { c.make_and_drop(raw); });
        EXPECT_EQ(without_record(message), c.text);
        EXPECT_NE(message.find("Injected failure in KX_Geometry_destroy"), std::string::npos) << message;
        destroy_for_real(raw);
    }
}

// A destroy slot in front of the engine's that keeps each handle whose destroy failed (an injected
// failure leaves the object alive), so that the test can destroy it for real afterwards.
template <auto Slot, typename Handle>
struct KeepFailed {
    using Destroy = void (*)(Handle, const KX_ErrorCallbackRecord*);
    static inline Destroy engine = nullptr;
    static inline std::vector<Handle> kept;

    static void destroy(Handle handle, const KX_ErrorCallbackRecord* rec) {
        struct Relay {
            const KX_ErrorCallbackRecord* to;
            bool failed = false;
        } relay{rec};
        const KX_ErrorCallbackRecord mine{[](void* user, KX_ErrorHandle error) {
                                              auto* r = static_cast<Relay*>(user);
                                              r->failed = true;
                                              r->to->callback(r->to->user_data, error);
                                          },
                                          &relay};
        engine(handle, &mine);
        if (relay.failed) kept.push_back(handle);
    }
    static void destroy_kept() {
        for (Handle handle : std::exchange(kept, {})) engine(handle, nullptr);
    }
};
using KeepFailedGeometry = KeepFailed<&bindings::CorvaneFFI::KX_Geometry_destroy, KX_GeometryHandle>;
using KeepFailedPart = KeepFailed<&bindings::CorvaneFFI::KX_ImmutablePart_destroy, KX_ImmutablePartHandle>;

// Standard holders destroy their values in noexcept destructors: a failed destroy there is still
// the owner's stop, and it poisons a lock held across it as any fault does.
TEST_F(OwnerTest, FailedDestroyInAnyHolderIsTheStop) {
    struct Case {
        const char* holder;
        std::function<void()> drop;  // arms the failure of the first destroy it makes
        std::string owner;
    };
    auto armed_point = [] {
        auto point = point::Point::with_x_y(0, 0);
        fail_next("KX_Geometry_destroy");
        return point;
    };
    const Case cases[] = {
        {"std::optional", [&] { std::optional<point::Point> held(armed_point()); }, "Point"},
        {"std::expected", [&] { Result<point::Point> held(armed_point()); }, "Point"},
        {"std::vector",
         [&] {
             std::vector<point::Point> held;
             held.push_back(point::Point::with_x_y(1, 1));
             held.push_back(armed_point());
         },
         "Point"},
        {"iterator item",
         [] {
             auto points = multipoint::Multipoint::from_handle(samples::multipoint().release()).points().into_iter();
             fail_next("KX_Geometry_destroy");
             while (auto item = points.next()) (void)item->x();
         },
         "Point"},
        {"model read-back",
         [] {
             auto polyline = samples::polyline({{{0, 0}, {1, 1}}, {{2, 2}, {3, 3}}});
             fail_next("KX_ImmutablePart_destroy");
             auto read = core::geometry::VeltGeometryPolyline::try_from_owned(std::move(polyline));
             EXPECT_TRUE(read.has_value()) << "the reading itself went on";
         },
         "ImmutablePart"},
    };
    const std::string prefix = "Internal error: Unexpected error while destroying internal handle to ";
    SlotPatch<&bindings::CorvaneFFI::KX_Geometry_destroy> geometries(&KeepFailedGeometry::destroy);
    SlotPatch<&bindings::CorvaneFFI::KX_ImmutablePart_destroy> parts(&KeepFailedPart::destroy);
    KeepFailedGeometry::engine = geometries.original();
    KeepFailedPart::engine = parts.original();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holder);
        core::PoisonMutex<int> lock;
        const auto message = stop_message([&] {
            auto held = lock.lock();
            c.drop();
        });
        EXPECT_EQ(without_record(message), prefix + c.owner);
        EXPECT_NE(message.find("Injected failure in KX_"), std::string::npos) << message;
        EXPECT_TRUE(lock.is_poisoned());
        EXPECT_EQ(KeepFailedGeometry::kept.size() + KeepFailedPart::kept.size(), 1u);
        KeepFailedGeometry::destroy_kept();
        KeepFailedPart::destroy_kept();
    }
}

TEST_F(OwnerTest, FailedDestroyDuringAnotherFaultIsReportedNotThrown) {
    KX_GeometryHandle raw = nullptr;
    testing::internal::CaptureStderr();
    const auto message = stop_message([&] {
        auto point = point::Point::with_x_y(0, 0);
        raw = point.handle();
        fail_next("KX_Geometry_destroy");
        core::stop("the first fault");
    });
    const auto written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(message, "the first fault");
    EXPECT_NE(written.find("Internal error: Unexpected error while destroying internal handle to Point: Error {"),
              std::string::npos)
        << written;
    destroy_for_real(raw);
}

}  // namespace
