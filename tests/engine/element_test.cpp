// Elements through the C interface: an element keeps its own copy of a geometry, spatial
// reference included, and every geometry read out of it is a new object for the caller.
#include <gtest/gtest.h>

#include "engine_test.h"

namespace {

using namespace engine_test;

Geometry point_in_wgs84(double x, double y) {
    SpatialReference sr(KX_SpatialReference_create(4326, ok()));
    return Geometry(KX_Point_createWithXYSpatialReference(sr.get(), x, y, ok()));
}

class ElementTest : public EngineTest {};

TEST_F(ElementTest, KeepsACopyAndGivesOutNewGeometries) {
    Element element(KX_Element_create(ok()));
    {
        auto p = point_in_wgs84(3.0, 6.0);
        KX_Element_setValueFromGeometry(element.get(), p.get(), ok());
    }  // the caller's point is gone; the element's copy stays
    Geometry first(KX_Element_getValueAsGeometry(element.get(), ok()));
    Geometry second(KX_Element_getValueAsGeometry(element.get(), ok()));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());
    for (const auto& g : {first.get(), second.get()}) {
        EXPECT_EQ(KX_Geometry_getObjectType(g, ok()), KX_GEOMETRY_TYPE_POINT);
        EXPECT_EQ(KX_Point_getX(g, ok()), 3.0);
        EXPECT_EQ(KX_Point_getY(g, ok()), 6.0);
        SpatialReference sr(KX_Geometry_getSpatialReference(g, ok()));
        ASSERT_TRUE(sr);
        EXPECT_EQ(KX_SpatialReference_getWKID(sr.get(), ok()), 4326u);
    }
}

TEST_F(ElementTest, ReadingAValueItDoesNotHoldIsAnError) {
    const struct {
        const char* holding;
        void (*fill)(KX_ElementHandle);
    } cases[] = {
        {"nothing", [](KX_ElementHandle) {}},
        {"a float", [](KX_ElementHandle e) { KX_Element_setValueFromFloat64(e, 2.5, ok()); }},
        {"a cleared geometry",
         [](KX_ElementHandle e) {
             auto p = point(1.0, 2.0);
             KX_Element_setValueFromGeometry(e, p.get(), ok());
             KX_Element_clear(e, ok());
         }},
    };
    for (const auto& c : cases) {
        Element element(KX_Element_create(ok()));
        c.fill(element.get());
        Errors errors;
        EXPECT_EQ(KX_Element_getValueAsGeometry(element.get(), errors.rec()), nullptr) << c.holding;
        EXPECT_EQ(KX_Element_getValueAsDatumTransformation(element.get(), errors.rec()), nullptr) << c.holding;
        ASSERT_EQ(errors.all().size(), 2u) << c.holding;
        EXPECT_EQ(errors.all()[0].code, KX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ(errors.all()[0].message, "No geometry in element.");
        EXPECT_EQ(errors.all()[1].code, KX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ(errors.all()[1].message, "No datum transformation in element.");
    }
}

TEST_F(ElementTest, RefusedGeometryLeavesTheValueAlone) {
    Element element(KX_Element_create(ok()));
    KX_Element_setValueFromFloat64(element.get(), 4.0, ok());
    Unit not_a_geometry(KX_AreaUnit_create(109404, ok()));
    Errors errors;
    KX_Element_setValueFromGeometry(element.get(), nullptr, errors.rec());
    KX_Element_setValueFromGeometry(element.get(), reinterpret_cast<KX_GeometryHandle>(not_a_geometry.get()),
                                    errors.rec());
    ASSERT_EQ(errors.all().size(), 2u);
    EXPECT_EQ(errors.all()[0].message, "Null handle.");
    EXPECT_EQ(errors.all()[1].code, KX_ERROR_INVALID_HANDLE);
    // Still a float: a float vector takes it.
    Vector floats(KX_Vector_create(KX_ELEMENT_TYPE_FLOAT64, ok()));
    EXPECT_EQ(KX_Vector_add(floats.get(), element.get(), ok()), 1u);
}

}  // namespace
