// The wrappers of the engine's geometry operations: each one's failure policy with its exact
// texts, what a null result means for it, and that every engine object made on the way (results,
// vectors, arrays, elements) is gone on every path.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine_test.h"
#include "fake_slot.h"
#include "geometry/c_string.h"
#include "geometry/geometry_engine.h"
#include "sample_geometries.h"

namespace {

using namespace geometry;
using ::geometry::geometry::GeometryOwned;
using bindings::CorvaneFFI;
namespace ge = geometry_engine;

// A stream of fresh polygons, counting its pulls.
struct Polygons {
    int left = 2;
    int pulled = 0;
    std::optional<GeometryOwned> operator()() {
        if (left == 0) return std::nullopt;
        --left;
        ++pulled;
        return samples::polygon();
    }
};

// A stream of floats, counting its pulls.
struct Floats {
    std::vector<double> values{1.0, 2.0};
    size_t pulled = 0;
    std::optional<double> operator()() {
        if (pulled == values.size()) return std::nullopt;
        return values[pulled++];
    }
};

// A transformation handle that the engine never reads: every row that lends it arms a fault, which
// the engine reports before it looks at its arguments. It is never destroyed through the engine.
class UnreadTransformation {
public:
    UnreadTransformation()
        : owned_(datum_transformation::DatumTransformationOwned::from_handle(
              reinterpret_cast<KX_DatumTransformationHandle>(&storage_))) {}
    ~UnreadTransformation() { (void)std::move(owned_).release(); }
    const datum_transformation::DatumTransformationOwned& get() const { return owned_; }

private:
    alignas(16) char storage_[64]{};
    datum_transformation::DatumTransformationOwned owned_;
};

// Everything the wrappers borrow.
struct Inputs {
    GeometryOwned polygon = samples::polygon();
    polyline::Polyline line = *downcast::downcast<polyline::Polyline>(samples::polyline());
    point::Point point = point::Point::with_x_y(1, 2);
    envelope::Envelope envelope = envelope::Envelope::with_x_y(0, 2, 0, 3);
    spatial_reference::SpatialReference sr = *spatial_reference::SpatialReference::with_wkid(4326);
    linear_unit::LinearUnit metre = *linear_unit::LinearUnit::with_unit_id(9001);
    area_unit::AreaUnit square_metre = *area_unit::AreaUnit::with_unit_id(109404);
    UnreadTransformation transformation;
};

// What a wrapper gave, as one text: "ok", "none", "some" or "error: <message>".
template <typename T>
std::string outcome(const Result<T>& result) {
    if (!result) return "error: " + result.error().msg;
    return "ok";
}
template <typename T>
std::string outcome(const std::optional<T>& result) {
    return result ? "some" : "none";
}
template <typename T>
std::string outcome(const Result<std::optional<T>>& result) {
    if (!result) return "error: " + result.error().msg;
    return outcome(*result);
}
template <typename T>
std::string outcome(const T&) {
    return "ok";
}

enum class Policy { Error, Stop };

struct Operation {
    const char* method;  // of the engine class GeometryEngine
    Policy policy;
    std::string on_null;  // the outcome, or the stop text, when the engine gives null (or zero)
    std::function<std::string(const Inputs&)> run;
};

const std::string kNullGeometry = "Internal error: Unexpected null handle returned from core Geometry for GeometryOwned";
const std::string kNullPolygon = "Internal error: Unexpected null handle returned from core Geometry for Polygon";
const std::string kNullPoint = "Internal error: Unexpected null handle returned from core Geometry for Point";
const std::string kNullEnvelope = "Internal error: Unexpected null handle returned from core Geometry for Envelope";
const std::string kNullArray = "Internal error: Received null KX_ArrayHandle";

#define RUN(expression) [](const Inputs& in) { return outcome(expression); }
#define RUN_WITH_STREAMS(expression)              \
    [](const Inputs& in) {                        \
        Polygons polygons;                        \
        Polygons more;                            \
        Floats floats;                            \
        (void)in;                                 \
        return outcome(expression);               \
    }

const std::vector<Operation>& operations() {
    static const std::vector<Operation> table = {
        {"contains", Policy::Error, "ok", RUN(ge::contains(in.polygon, in.point))},
        {"crosses", Policy::Error, "ok", RUN(ge::crosses(in.polygon, in.line))},
        {"disjoint", Policy::Error, "ok", RUN(ge::disjoint(in.polygon, in.point))},
        {"equals", Policy::Error, "ok", RUN(ge::equals(in.polygon, in.polygon))},
        {"intersects", Policy::Error, "ok", RUN(ge::intersects(in.polygon, in.envelope))},
        {"overlaps", Policy::Error, "ok", RUN(ge::overlaps(in.polygon, in.envelope))},
        {"touches", Policy::Error, "ok", RUN(ge::touches(in.polygon, in.line))},
        {"within", Policy::Error, "ok", RUN(ge::within(in.point, in.polygon))},
        {"relate", Policy::Error, "ok", RUN(ge::relate(in.polygon, in.point, "T********"))},
        {"difference", Policy::Error, kNullGeometry, RUN(ge::difference(in.polygon, in.envelope))},
        {"intersection", Policy::Error, kNullGeometry, RUN(ge::intersection(in.polygon, in.envelope))},
        {"symmetricDifference", Policy::Error, kNullGeometry, RUN(ge::symmetric_difference(in.polygon, in.envelope))},
        {"union", Policy::Error, kNullGeometry, RUN(ge::union_(in.polygon, in.envelope))},
        {"clip", Policy::Error, kNullGeometry, RUN(ge::clip(in.polygon, in.envelope))},
        {"intersections", Policy::Error, kNullArray, RUN(ge::intersections(in.polygon, in.line))},
        {"cut", Policy::Error, kNullArray, RUN(ge::cut(in.polygon, in.line))},
        {"combineExtents", Policy::Error, kNullEnvelope, RUN(ge::combine_extents(in.polygon, in.point))},
        {"distance", Policy::Error, "ok", RUN(ge::distance(in.polygon, in.point))},
        {"boundary", Policy::Error, kNullGeometry, RUN(ge::boundary(in.polygon))},
        {"convexHull", Policy::Error, kNullGeometry, RUN(ge::convex_hull(in.line))},
        {"simplify", Policy::Error, kNullGeometry, RUN(ge::simplify(in.polygon))},
        {"labelPoint", Policy::Error, kNullPoint, RUN(ge::label_point(in.polygon))},
        {"buffer", Policy::Error, kNullPolygon, RUN(ge::buffer(in.line, 1.5))},
        {"densify", Policy::Error, kNullGeometry, RUN(ge::densify(in.line, 0.1))},
        {"generalize", Policy::Error, kNullGeometry, RUN(ge::generalize(in.line, 0.1, true))},
        {"rotate", Policy::Error, kNullGeometry, RUN(ge::rotate(in.line, nullptr, 0.5))},
        {"scale", Policy::Error, kNullGeometry, RUN(ge::scale(in.line, &in.point, 2, 3))},
        {"move", Policy::Error, kNullGeometry, RUN(ge::move_relative(in.line, 1, 2))},
        {"setZ", Policy::Error, kNullGeometry, RUN(ge::set_z(in.line, 1))},
        {"setM", Policy::Error, kNullGeometry, RUN(ge::set_m(in.line, 1))},
        {"setZAndM", Policy::Error, kNullGeometry, RUN(ge::set_z_and_m(in.line, 1, 2))},
        {"project", Policy::Error, kNullGeometry, RUN(ge::project(in.line, in.sr))},
        {"projectWithTransformation", Policy::Error, kNullGeometry,
         RUN(ge::project_with_transformation(in.line, in.sr, in.transformation.get()))},
        {"removeZ", Policy::Stop, kNullGeometry, RUN(ge::_remove_z(in.line))},
        {"removeM", Policy::Stop, kNullGeometry, RUN(ge::_remove_m(in.line))},
        {"removeZAndM", Policy::Stop, kNullGeometry, RUN(ge::_remove_z_and_m(in.line))},
        {"normalizeCentralMeridian", Policy::Stop, "none", RUN(ge::normalize_central_meridian(in.line))},
        {"area", Policy::Stop, "ok", RUN(ge::area(in.polygon))},
        {"length", Policy::Stop, "ok", RUN(ge::length(in.line))},
        {"isSimple", Policy::Stop, "ok", RUN(ge::is_simple(in.polygon))},
        {"areaGeodetic", Policy::Error, "ok", RUN(ge::area_geodetic(in.polygon, &in.square_metre, 0))},
        {"lengthGeodetic", Policy::Error, "ok", RUN(ge::length_geodetic(in.line, nullptr, 1))},
        {"bufferGeodetic", Policy::Error, kNullPolygon, RUN(ge::buffer_geodetic(in.line, &in.metre, 0, 10, 0))},
        {"densifyGeodetic", Policy::Error, kNullGeometry, RUN(ge::densify_geodetic(in.line, nullptr, 2, 10))},
        {"fractionAlong", Policy::Error, "ok", RUN(ge::fraction_along(in.line, in.point, 0.1))},
        {"createPointAlong", Policy::Error, kNullPoint, RUN(ge::with_point_along(in.line, 0.5))},
        {"extend", Policy::Error, "none", RUN(ge::extend(in.line, in.line, 0))},
        {"unionCollection", Policy::Error, kNullGeometry, RUN_WITH_STREAMS(ge::union_collection(polygons))},
        {"combineExtentsCollection", Policy::Error, kNullEnvelope,
         RUN_WITH_STREAMS(ge::combine_extents_collection(polygons))},
        {"convexHullCollection", Policy::Error, kNullArray, RUN_WITH_STREAMS(ge::convex_hull_collection(polygons, true))},
        {"bufferCollection", Policy::Error, kNullArray, RUN_WITH_STREAMS(ge::buffer_collection(polygons, floats, false))},
        {"bufferGeodeticCollection", Policy::Error, kNullArray,
         RUN_WITH_STREAMS(ge::buffer_geodetic_collection(polygons, floats, &in.metre, 0, 0, true))},
        {"autoComplete", Policy::Error, kNullArray, RUN_WITH_STREAMS(ge::auto_complete(polygons, more))},
    };
    return table;
}

#undef RUN
#undef RUN_WITH_STREAMS

std::string function_of(const Operation& op) { return std::string("KX_GeometryEngine_") + op.method; }

// The outcome of one row, or the text of the stop it ended with.
std::string run_or_stop(const Operation& op, const Inputs& in) {
    std::string result = "(stopped)";
    const std::string stopped = stop_message([&] { result = op.run(in); });
    return stopped == "(no stop)" ? result : stopped;
}

class GeometryEngineTest : public EngineTest {};

TEST_F(GeometryEngineTest, AnEngineErrorIsReturnedOrStopsByTheOperationsPolicy) {
    const Inputs in;
    for (const auto& op : operations()) {
        SCOPED_TRACE(op.method);
        const auto before = live_objects();
        fail_next(function_of(op).c_str());
        const std::string injected = "Injected failure in " + function_of(op) + ".";
        if (op.policy == Policy::Error)
            EXPECT_EQ(run_or_stop(op, in), "error: " + injected);
        else
            EXPECT_EQ(run_or_stop(op, in), "Internal error: Unexpected error returned from internal function " +
                                               function_of(op) + ": Error { code: 1000, msg: \"" + injected +
                                               "\", additional_msg: \"Raised by a test hook.\" }");
        EXPECT_EQ(live_objects(), before) << "vectors, elements or results left alive";
    }
}

TEST_F(GeometryEngineTest, ANullResultIsAFaultExceptWhereTheResultIsOptional) {
    const Inputs in;
    for (const auto& op : operations()) {
        SCOPED_TRACE(op.method);
        const auto before = live_objects();
        fail_next(function_of(op).c_str(), KXT_FAIL_RETURN_NULL);
        EXPECT_EQ(run_or_stop(op, in), op.on_null);
        EXPECT_EQ(live_objects(), before);
    }
}

// A relation pattern goes to the engine as it is, unexamined; one holding a NUL character never
// reaches it and is an ordinary error naming the position, for the Python layer's ValueError.
TEST_F(GeometryEngineTest, RelatePassesThePatternOrRefusesANul) {
    const Inputs in;
    std::vector<std::string> sent;
    FakeSlot<&CorvaneFFI::KX_GeometryEngine_relate> relate(
        [&](KX_GeometryHandle, KX_GeometryHandle, const char* pattern, const KX_ErrorCallbackRecord*) -> uint8_t {
            sent.emplace_back(pattern);
            return 2;  // any non-zero byte is true
        });
    EXPECT_EQ(ge::relate(in.polygon, in.point, "T*F**FFF*"), true);
    EXPECT_EQ(ge::relate(in.polygon, in.point, "not a pattern"), true);
    EXPECT_EQ(sent, (std::vector<std::string>{"T*F**FFF*", "not a pattern"}));

    struct Case {
        std::string pattern;
        size_t position;
    };
    for (const Case& c : {Case{std::string("\0*F**FFF*", 9), 0}, Case{std::string("T*F\0*FFF*", 9), 3},
                          Case{std::string("T*F**FFF*\0", 10), 9}}) {
        sent.clear();
        auto related = ge::relate(in.polygon, in.point, c.pattern);
        ASSERT_FALSE(related.has_value());
        EXPECT_EQ(related.error().code, c_string::kInteriorNulCode);
        EXPECT_EQ(related.error().display(), "Failed to convert string to CString: The relation pattern holds a "
                                             "NUL character at position " +
                                                 std::to_string(c.position));
        EXPECT_TRUE(sent.empty());
    }
}

// The optional arguments reach the engine as null handles, the flags as 0 and 1.
TEST_F(GeometryEngineTest, AbsentArgumentsAreNullHandlesAndFlagsAreZeroOrOne) {
    const Inputs in;
    std::vector<std::string> seen;
    {
        FakeSlot<&CorvaneFFI::KX_GeometryEngine_rotate> rotate(
            [&](KX_GeometryHandle, KX_GeometryHandle origin, double angle, const KX_ErrorCallbackRecord* rec) {
                seen.push_back(std::string(origin ? "origin" : "null") + " " + std::to_string(angle));
                return bindings::ffi().KX_Point_createWithXY(0, 0, rec);
            });
        ASSERT_TRUE(ge::rotate(in.line, nullptr, 0.5).has_value());
        ASSERT_TRUE(ge::rotate(in.line, &in.point, 0.25).has_value());
    }
    {
        FakeSlot<&CorvaneFFI::KX_GeometryEngine_generalize> generalize(
            [&](KX_GeometryHandle, int32_t remove, double offset, const KX_ErrorCallbackRecord* rec) {
                seen.push_back("remove " + std::to_string(remove) + " " + std::to_string(offset));
                return bindings::ffi().KX_Point_createWithXY(0, 0, rec);
            });
        ASSERT_TRUE(ge::generalize(in.line, 0.75, true).has_value());
        ASSERT_TRUE(ge::generalize(in.line, 0.75, false).has_value());
    }
    {
        FakeSlot<&CorvaneFFI::KX_GeometryEngine_bufferGeodeticCollection> buffers(
            [&](KX_VectorHandle geometries, KX_VectorHandle distances, KX_UnitHandle unit, int32_t curve,
                int32_t union_result, double deviation, const KX_ErrorCallbackRecord*) -> KX_ArrayHandle {
                seen.push_back(std::string(geometries && distances ? "vectors " : "no vectors ") +
                               (unit ? "unit " : "null ") + std::to_string(curve) + " union " +
                               std::to_string(union_result) + " " + std::to_string(deviation));
                return nullptr;  // the null-array stop, once the arguments are seen
            });
        Polygons polygons;
        Floats floats;
        EXPECT_EQ(stop_message([&] { (void)ge::buffer_geodetic_collection(polygons, floats, nullptr, 2.5, 3, true); }),
                  kNullArray);
        EXPECT_EQ(stop_message([&] { (void)ge::buffer_geodetic_collection(polygons, floats, &in.metre, 0, 4, false); }),
                  kNullArray);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"null 0.500000", "origin 0.250000", "remove 1 0.750000",
                                              "remove 0 0.750000", "vectors null 3 union 1 2.500000",
                                              "vectors unit 4 union 0 0.000000"}));
}

// The moving and projecting operations narrow their result to the owner type asked for; reading
// the kind can fail, and a kind that does not fit loses the result.
TEST_F(GeometryEngineTest, NarrowedResultsReadTheKindOfTheResult) {
    const Inputs in;
    FakeSlot<&CorvaneFFI::KX_GeometryEngine_move> move(
        [&](KX_GeometryHandle, double dx, double dy, const KX_ErrorCallbackRecord* rec) {
            return bindings::ffi().KX_Point_createWithXY(dx, dy, rec);
        });
    auto moved = ge::move_relative<point::Point>(in.line, 3, 4);
    ASSERT_TRUE(moved.has_value());
    EXPECT_EQ(moved->x(), 3);

    const auto geometries = live_objects("Geometry");
    auto wrong = ge::move_relative<polygon::Polygon>(in.line, 3, 4);
    ASSERT_FALSE(wrong.has_value());
    EXPECT_EQ(wrong.error().display(),
              "Conversion between types failed: Tried to convert from GeometryOwned to geometry::polygon::Polygon");
    EXPECT_EQ(live_objects("Geometry"), geometries);

    fail_next("KX_Geometry_getObjectType");
    EXPECT_EQ(stop_message([&] { (void)ge::move_relative(in.line, 3, 4); }),
              "Internal error: Unexpected error returned from KX_Geometry_getObjectType for downcast of "
              "GeometryOwned: Error { code: 1000, msg: \"Injected failure in KX_Geometry_getObjectType.\", "
              "additional_msg: \"Raised by a test hook.\" }");
    EXPECT_EQ(live_objects("Geometry"), geometries);
}

// The optional results: a null handle is none, any other handle the result.
TEST_F(GeometryEngineTest, OptionalResultsWrapWhatTheEngineGives) {
    const Inputs in;
    FakeSlot<&CorvaneFFI::KX_GeometryEngine_extend> extend(
        [&](KX_GeometryHandle, KX_GeometryHandle, int32_t options, const KX_ErrorCallbackRecord*) {
            return options == 0 ? nullptr : samples::polyline().release();
        });
    EXPECT_EQ(outcome(ge::extend(in.line, in.line, 0)), "none");
    auto extended = ge::extend(in.line, in.line, 3);
    ASSERT_TRUE(extended.has_value() && extended->has_value());
    EXPECT_EQ((*extended)->to_json(), in.line.to_json());
}

// The collections: vectors built in order (the second only once the first is complete), one
// engine call, and every vector destroyed whatever happens.
class CollectionTest : public GeometryEngineTest {};

TEST_F(CollectionTest, AnEmptySourcePassesAnEmptyVector) {
    int64_t vectors_during_call = -1;
    FakeSlot<&CorvaneFFI::KX_GeometryEngine_unionCollection> union_collection(
        [&](KX_VectorHandle geometries, const KX_ErrorCallbackRecord* rec) -> KX_GeometryHandle {
            vectors_during_call = geometries == nullptr ? -2 : live_objects("Vector");
            return bindings::ffi().KX_Point_createWithXY(0, 0, rec);
        });
    fail_next("KX_Vector_add");  // stays armed: nothing may be added
    Polygons none{0};
    auto united = ge::union_collection(none);
    EXPECT_TRUE(united.has_value());
    EXPECT_EQ(vectors_during_call, 1);
    EXPECT_EQ(live_objects("Vector"), 0);
}

TEST_F(CollectionTest, AFailedVectorEndsTheOperationBeforeTheEngineIsCalled) {
    struct Case {
        const char* name;
        int existing;        // polygons in the first stream
        int pulls_of_added;  // of the second stream
    };
    // With no existing polygons, the first add is the second vector's.
    for (const Case& c : {Case{"first vector", 2, 0}, Case{"second vector", 0, 1}}) {
        SCOPED_TRACE(c.name);
        bool called = false;
        FakeSlot<&CorvaneFFI::KX_GeometryEngine_autoComplete> auto_complete(
            [&](KX_VectorHandle, KX_VectorHandle, const KX_ErrorCallbackRecord*) -> KX_ArrayHandle {
                called = true;
                return nullptr;
            });
        Polygons existing{c.existing};
        Polygons added{2};
        const auto geometries = live_objects("Geometry");
        fail_next("KX_Vector_add");
        auto result = ge::auto_complete(existing, added);
        ASSERT_FALSE(result.has_value());
        EXPECT_EQ(result.error().msg, "Injected failure in KX_Vector_add.");
        EXPECT_FALSE(called);
        EXPECT_EQ(added.pulled, c.pulls_of_added);
        EXPECT_EQ(live_objects("Vector"), 0);
        EXPECT_EQ(live_objects("Element"), 0);
        EXPECT_EQ(live_objects("Geometry"), geometries);
    }
}

}  // namespace
