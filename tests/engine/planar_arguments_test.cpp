// Handles the planar operations cannot use: null ones, and geometries of a kind an operation does
// not take, are engine errors (invalid argument, invalid handle), never crashes.
#include <functional>

#include "planar_test.h"

namespace engine_test {
namespace {

struct Call {
    const char* name;
    std::function<void(KX_GeometryHandle, KX_GeometryHandle, const KX_ErrorCallbackRecord*)> run;
};

const Call kCalls[] = {
    {"relate", [](auto a, auto b, auto rec) { KX_GeometryEngine_relate(a, b, "T********", rec); }},
    {"intersects", [](auto a, auto b, auto rec) { KX_GeometryEngine_intersects(a, b, rec); }},
    {"union", [](auto a, auto b, auto rec) { KX_GeometryEngine_union(a, b, rec); }},
    {"clip", [](auto a, auto b, auto rec) { KX_GeometryEngine_clip(a, b, rec); }},
    {"distance", [](auto a, auto b, auto rec) { KX_GeometryEngine_distance(a, b, rec); }},
    {"cut", [](auto a, auto b, auto rec) { KX_GeometryEngine_cut(a, b, rec); }},
    {"extend", [](auto a, auto b, auto rec) { KX_GeometryEngine_extend(a, b, 0, rec); }},
    {"fractionAlong", [](auto a, auto b, auto rec) { KX_GeometryEngine_fractionAlong(a, b, 1.0, rec); }},
    {"combineExtents", [](auto a, auto b, auto rec) { KX_GeometryEngine_combineExtents(a, b, rec); }},
    {"intersections", [](auto a, auto b, auto rec) { KX_GeometryEngine_intersections(a, b, rec); }},
};

TEST(PlanarArguments, NullHandlesAreErrors) {
    Geometry line = from_json(R"({"paths":[[[0,0],[1,1]]]})");
    Geometry box(KX_Envelope_createWithXY(0, 1, 0, 1, ok()));
    Geometry p = point(0, 0);
    for (const auto& c : kCalls) {
        // the other argument of the kind the operation takes there
        const std::string name = c.name;
        KX_GeometryHandle second = name == "clip" ? box.get() : name == "fractionAlong" ? p.get() : line.get();
        for (auto [a, b] : {std::pair<KX_GeometryHandle, KX_GeometryHandle>{nullptr, second}, {line.get(), nullptr}}) {
            Errors errors;
            c.run(a, b, errors.rec());
            EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_ARGUMENT) << c.name;
        }
    }
    Errors errors;
    KX_GeometryEngine_area(nullptr, errors.rec());
    KX_GeometryEngine_buffer(nullptr, 1.0, errors.rec());
    KX_GeometryEngine_unionCollection(nullptr, errors.rec());
    ASSERT_EQ(errors.all().size(), 3u);
    for (const auto& e : errors.all()) EXPECT_EQ(e.code, KX_ERROR_INVALID_ARGUMENT);
}

struct WrongKind {
    const char* name;
    std::function<void(KX_GeometryHandle, const KX_ErrorCallbackRecord*)> run;
};

TEST(PlanarArguments, OperationsOnPolylinesRefuseOtherKinds) {
    Geometry line = from_json(R"({"paths":[[[0,0],[1,1]]]})");
    Geometry p = point(0, 0);
    const WrongKind kCases[] = {
        {"createPointAlong", [](auto g, auto rec) { KX_GeometryEngine_createPointAlong(g, 1.0, rec); }},
        {"fractionAlong line", [&](auto g, auto rec) { KX_GeometryEngine_fractionAlong(g, p.get(), 1.0, rec); }},
        {"fractionAlong point", [&](auto g, auto rec) { KX_GeometryEngine_fractionAlong(line.get(), g, 1.0, rec); }},
        {"extend line", [&](auto g, auto rec) { KX_GeometryEngine_extend(g, line.get(), 0, rec); }},
        {"extend extender", [&](auto g, auto rec) { KX_GeometryEngine_extend(line.get(), g, 0, rec); }},
        {"cut cutter", [&](auto g, auto rec) { KX_GeometryEngine_cut(line.get(), g, rec); }},
        {"clip envelope", [&](auto g, auto rec) { KX_GeometryEngine_clip(line.get(), g, rec); }},
    };
    Geometry polygon = from_json(kSquare);
    for (const auto& c : kCases) {
        Errors errors;
        c.run(polygon.get(), errors.rec());
        EXPECT_EQ(errors.only().code, KX_ERROR_INVALID_HANDLE) << c.name;
    }
}

TEST(PlanarArguments, EveryOperationOnTwoGeometriesRefusesDifferentSpatialReferences) {
    Geometry line = from_json(R"({"paths":[[[0,0],[1,1]]],"spatialReference":{"wkid":4326}})");
    Geometry other = from_json(R"({"paths":[[[0,1],[1,0]]],"spatialReference":{"wkid":3857}})");
    Geometry box = from_json(R"({"xmin":0,"ymin":0,"xmax":1,"ymax":1,"spatialReference":{"wkid":3857}})");
    Geometry p = from_json(R"({"x":0,"y":0,"spatialReference":{"wkid":3857}})");
    const std::pair<const char*, std::function<void(const KX_ErrorCallbackRecord*)>> kCases[] = {
        {"distance", [&](auto rec) { KX_GeometryEngine_distance(line.get(), other.get(), rec); }},
        {"clip", [&](auto rec) { KX_GeometryEngine_clip(line.get(), box.get(), rec); }},
        {"cut", [&](auto rec) { KX_GeometryEngine_cut(line.get(), other.get(), rec); }},
        {"combineExtents", [&](auto rec) { KX_GeometryEngine_combineExtents(line.get(), other.get(), rec); }},
        {"intersections", [&](auto rec) { KX_GeometryEngine_intersections(line.get(), other.get(), rec); }},
        {"fractionAlong", [&](auto rec) { KX_GeometryEngine_fractionAlong(line.get(), p.get(), 1.0, rec); }},
        {"extend", [&](auto rec) { KX_GeometryEngine_extend(line.get(), other.get(), 0, rec); }},
        {"unionCollection", [&](auto rec) {
             Vector v = geometry_vector({line.get(), other.get()});
             KX_GeometryEngine_unionCollection(v.get(), rec);
         }},
        {"bufferCollection united", [&](auto rec) {
             Vector v = geometry_vector({line.get(), other.get()}), d = float_vector({1.0});
             KX_GeometryEngine_bufferCollection(v.get(), d.get(), 1, rec);
         }},
    };
    for (const auto& [name, run] : kCases) {
        Errors errors;
        run(errors.rec());
        EXPECT_EQ(errors.only().code, KX_ERROR_SPATIAL_REFERENCE) << name;
    }
}

TEST(PlanarArguments, InjectedFaultsReachTheCaller) {
    Geometry polygon = from_json(kSquare);
    KXT_fail_next("KX_GeometryEngine_area", KXT_FAIL_REPORT_ERROR);
    Errors errors;
    EXPECT_EQ(KX_GeometryEngine_area(polygon.get(), errors.rec()), 0.0);
    EXPECT_EQ(errors.only().code, 1000);
    EXPECT_EQ(KX_GeometryEngine_area(polygon.get(), ok()), 100.0);
}

}  // namespace
}  // namespace engine_test
