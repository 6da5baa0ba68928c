#include "engine_test.h"

namespace engine_test {
namespace {

const char* const kClasses[] = {"Geometry", "Segment", "GeometryBuilder", "MutablePart", "ImmutablePart",
                                "MutablePartCollection", "ImmutablePartCollection", "MutablePointCollection",
                                "ImmutablePointCollection", "SpatialReference", "Unit", "Array", "Element",
                                "Vector", "String", "Error"};

Caught read_error(KX_ErrorHandle e) {
    Caught c{KX_Error_getCode(e, nullptr), text_of(KX_Error_getMessage(e, nullptr)),
             text_of(KX_Error_getAdditionalMessage(e, nullptr))};
    KX_Error_destroy(e, nullptr);
    return c;
}

void fail_on_error(void*, KX_ErrorHandle e) {
    const Caught c = read_error(e);
    ADD_FAILURE() << "unexpected engine error " << c.code << ": " << c.message;
}

const KX_ErrorCallbackRecord kStrict{fail_on_error, nullptr};

}  // namespace

std::string text_of(KX_StringHandle s) {
    size_t size = 0;
    const uint8_t* bytes = KX_String_getByteArray(s, &size, nullptr);
    std::string text(reinterpret_cast<const char*>(bytes), size);
    KX_String_destroy(s, nullptr);
    return text;
}

void expect_same(double actual, double expected) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << actual;
    } else {
        EXPECT_EQ(actual, expected);
    }
}

Errors::Errors() : rec_{collect, this} {}

void Errors::collect(void* self, KX_ErrorHandle e) { static_cast<Errors*>(self)->caught_.push_back(read_error(e)); }

Caught Errors::only() const {
    EXPECT_EQ(caught_.size(), 1u);
    return caught_.empty() ? Caught{0, "", ""} : caught_.front();
}

const KX_ErrorCallbackRecord* ok() { return &kStrict; }

Geometry point(double x, double y) { return Geometry(KX_Point_createWithXY(x, y, ok())); }

Geometry point_zm(const Vertex& v, bool has_z, bool has_m) {
    if (has_z && has_m) return Geometry(KX_Point_createWithZM(v.x, v.y, v.z, v.m, ok()));
    if (has_z) return Geometry(KX_Point_createWithXYZ(v.x, v.y, v.z, ok()));
    if (has_m) return Geometry(KX_Point_createWithM(v.x, v.y, v.m, ok()));
    return point(v.x, v.y);
}

Geometry from_json(const std::string& text) { return Geometry(KX_Geometry_fromJSON(text.c_str(), ok())); }

std::string to_json(KX_GeometryHandle g) { return text_of(KX_Geometry_toJSON(g, ok())); }

Geometry multipart(bool polygon, const std::vector<std::vector<Vertex>>& parts, bool has_z, bool has_m,
                   KX_SpatialReferenceHandle sr) {
    Builder builder(polygon ? KX_PolygonBuilder_createFromSpatialReference(sr, ok())
                            : KX_PolylineBuilder_createFromSpatialReference(sr, ok()));
    MutableParts collection(KX_MutablePartCollection_createWithSpatialReference(sr, ok()));
    for (const auto& vertices : parts) {
        MutablePart part(KX_MutablePart_createWithSpatialReference(sr, ok()));
        for (const auto& v : vertices) {
            if (has_m) {
                Geometry p = point_zm(v, has_z, has_m);
                KX_MutablePart_addPoint(part.get(), p.get(), ok());
            } else if (has_z) {
                KX_MutablePart_addPointXYZ(part.get(), v.x, v.y, v.z, ok());
            } else {
                KX_MutablePart_addPointXY(part.get(), v.x, v.y, ok());
            }
        }
        KX_MutablePartCollection_addPart(collection.get(), part.get(), ok());
    }
    KX_MultipartBuilder_setParts(builder.get(), collection.get(), ok());
    return Geometry(KX_GeometryBuilder_toGeometry(builder.get(), ok()));
}

ImmutablePart part_of(KX_GeometryHandle g, uint64_t index) {
    ImmutableParts parts(KX_Multipart_getParts(g, ok()));
    return ImmutablePart(KX_ImmutablePartCollection_getPart(parts.get(), index, ok()));
}

std::vector<Vertex> part_points(KX_GeometryHandle g, uint64_t index) {
    ImmutablePart part = part_of(g, index);
    ImmutablePoints points(KX_ImmutablePart_getPoints(part.get(), ok()));
    std::vector<Vertex> result;
    for (uint64_t i = 0; i < KX_ImmutablePointCollection_getSize(points.get(), ok()); ++i) {
        Geometry p(KX_ImmutablePointCollection_getPoint(points.get(), i, ok()));
        result.push_back({KX_Point_getX(p.get(), ok()), KX_Point_getY(p.get(), ok()), KX_Point_getZ(p.get(), ok()),
                          KX_Point_getM(p.get(), ok())});
    }
    return result;
}

void EngineTest::SetUp() {
    KXT_reset();
    for (const char* name : kClasses) before_.push_back(KXT_live_objects(name));
}

void EngineTest::TearDown() {
    for (size_t i = 0; i < before_.size(); ++i)
        EXPECT_EQ(KXT_live_objects(kClasses[i]), before_[i]) << "live " << kClasses[i] << " objects";
}

}  // namespace engine_test
