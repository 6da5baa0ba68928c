// Units through the C interface: the accepted codes, their sizes, the area conversions in both
// directions, and the codes refused.
#include <gtest/gtest.h>

#include <string>

#include "engine_test.h"

namespace {

using namespace engine_test;

struct AreaSize {
    int32_t code;
    double square_meters;
};

// Sizes from the definitions: international foot 0.3048 m, statute mile 5280 ft, acre 43560 ft².
constexpr AreaSize kAreaSizes[] = {
    {0, 1.0},              {109401, 1.0e4},        {109402, 4046.8564224}, {109404, 1.0},
    {109405, 0.09290304},  {109414, 1.0e6},        {109439, 2589988.110336}, {109442, 0.83612736},
    {109450, 1.0e-2},      {109451, 1.0e-4},       {109452, 1.0e-6},
};

Unit area_unit(int32_t code) { return Unit(KX_AreaUnit_create(code, ok())); }

class AreaUnitTest : public EngineTest {};

TEST_F(AreaUnitTest, EveryCodeReportsItselfAndItsSize) {
    for (const auto& c : kAreaSizes) {
        auto unit = area_unit(c.code);
        ASSERT_TRUE(unit) << c.code;
        EXPECT_EQ(KX_AreaUnit_getAreaUnitId(unit.get(), ok()), c.code);
        EXPECT_DOUBLE_EQ(KX_AreaUnit_toSquareMeters(unit.get(), 1.0, ok()), c.square_meters) << c.code;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_fromSquareMeters(unit.get(), c.square_meters, ok()), 1.0) << c.code;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_toSquareMeters(unit.get(), -2.5, nullptr), -2.5 * c.square_meters) << c.code;
    }
}

// convertTo on the source unit and convertFrom on the target unit give the same figure.
TEST_F(AreaUnitTest, ConvertsBetweenUnitsInBothDirections) {
    const struct {
        int32_t from;
        int32_t to;
        double area;
        double expected;
    } cases[] = {
        {109402, 109405, 1.0, 43560.0},    // acre in square feet
        {109439, 109402, 1.0, 640.0},      // square mile in acres
        {109442, 109405, 1.0, 9.0},        // square yard in square feet
        {109401, 109414, 250.0, 2.5},      // hectares in square kilometres
        {109404, 109451, 3.0, 30000.0},    // square metres in square centimetres
        {109452, 109450, 5.0e4, 5.0},      // square millimetres in square decimetres
        {0, 109404, 7.0, 7.0},             // "other" is the square metre
        {109405, 109405, 0.1, 0.1},        // the same unit leaves the figure alone
    };
    for (const auto& c : cases) {
        auto from = area_unit(c.from);
        auto to = area_unit(c.to);
        EXPECT_DOUBLE_EQ(KX_AreaUnit_convertTo(from.get(), to.get(), c.area, ok()), c.expected)
            << c.from << " to " << c.to;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_convertFrom(to.get(), from.get(), c.area, ok()), c.expected)
            << c.from << " to " << c.to;
    }
}

TEST_F(AreaUnitTest, SameUnitConversionIsExact) {
    auto acre = area_unit(109402);
    for (double area : {0.1, 1.0 / 3.0, 1e300, -7.25})
        EXPECT_EQ(KX_AreaUnit_convertTo(acre.get(), acre.get(), area, ok()), area);
}

TEST_F(AreaUnitTest, LinearUnitIsNoAreaUnit) {
    Unit meter(KX_LinearUnit_create(9001, ok()));
    auto acre = area_unit(109402);
    ASSERT_TRUE(meter);
    Errors errors;
    EXPECT_EQ(KX_AreaUnit_convertTo(acre.get(), meter.get(), 1.0, errors.rec()), 0.0);
    const Caught error = errors.only();
    EXPECT_EQ(error.code, KX_ERROR_UNIT);
    EXPECT_EQ(error.message, "Not an area unit.");
    EXPECT_EQ(KX_AreaUnit_getAreaUnitId(meter.get(), nullptr), 0);
}

class LinearUnitTest : public EngineTest {};

TEST_F(LinearUnitTest, EveryCodeIsAccepted) {
    for (int32_t code : {0, 1025, 1033, 9001, 9002, 9030, 9036, 9093, 9096, 109008})
        EXPECT_TRUE(Unit(KX_LinearUnit_create(code, ok()))) << code;
}

class UnitRefusal : public EngineTest {};

TEST_F(UnitRefusal, CodesOutsideTheTablesAreEngineErrors) {
    const struct {
        KX_UnitHandle (*create)(int32_t, const KX_ErrorCallbackRecord*);
        int32_t code;
        const char* message;
        const char* additional;
    } cases[] = {
        {KX_LinearUnit_create, 9003, "Unknown linear unit.", "No linear unit has the code 9003."},  // US survey foot
        {KX_LinearUnit_create, 1, "Unknown linear unit.", "No linear unit has the code 1."},
        {KX_LinearUnit_create, -9001, "Unknown linear unit.", "No linear unit has the code -9001."},
        {KX_LinearUnit_create, 109404, "Unknown linear unit.", "No linear unit has the code 109404."},
        {KX_AreaUnit_create, 109400, "Unknown area unit.", "No area unit has the code 109400."},
        {KX_AreaUnit_create, 109403, "Unknown area unit.", "No area unit has the code 109403."},
        {KX_AreaUnit_create, 109453, "Unknown area unit.", "No area unit has the code 109453."},
        {KX_AreaUnit_create, 9001, "Unknown area unit.", "No area unit has the code 9001."},
    };
    for (const auto& c : cases) {
        Errors errors;
        EXPECT_FALSE(Unit(c.create(c.code, errors.rec()))) << c.code;
        const Caught error = errors.only();
        EXPECT_EQ(error.code, KX_ERROR_UNIT);
        EXPECT_EQ(error.message, c.message);
        EXPECT_EQ(error.additional, c.additional);
        EXPECT_EQ(c.create(c.code, nullptr), nullptr);
    }
}

}  // namespace
