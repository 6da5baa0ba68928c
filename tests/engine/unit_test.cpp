// Units through the C interface: the accepted codes, their sizes, the area conversions in both
// directions, and the codes refused.
#include <gtest/gtest.h>

#include <string>

#include "api/engine_error.h"
#include "engine_call.h"

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

OwnedUnit area_unit(int32_t code) { return OwnedUnit(KX_AreaUnit_create(code, nullptr)); }

class AreaUnitTest : public EngineTest {};

TEST_F(AreaUnitTest, EveryCodeReportsItselfAndItsSize) {
    for (const auto& c : kAreaSizes) {
        Record record;
        OwnedUnit unit(KX_AreaUnit_create(c.code, record));
        ASSERT_TRUE(unit) << c.code;
        EXPECT_EQ(KX_AreaUnit_getAreaUnitId(unit.get(), record), c.code);
        EXPECT_DOUBLE_EQ(KX_AreaUnit_toSquareMeters(unit.get(), 1.0, record), c.square_meters) << c.code;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_fromSquareMeters(unit.get(), c.square_meters, record), 1.0) << c.code;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_toSquareMeters(unit.get(), -2.5, nullptr), -2.5 * c.square_meters) << c.code;
        EXPECT_FALSE(record.error()) << c.code;
    }
}

struct Conversion {
    int32_t from;
    int32_t to;
    double area;
    double expected;
};

// convertTo on the source unit and convertFrom on the target unit give the same figure.
TEST_F(AreaUnitTest, ConvertsBetweenUnitsInBothDirections) {
    const Conversion cases[] = {
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
        Record record;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_convertTo(from.get(), to.get(), c.area, record), c.expected)
            << c.from << " to " << c.to;
        EXPECT_DOUBLE_EQ(KX_AreaUnit_convertFrom(to.get(), from.get(), c.area, record), c.expected)
            << c.from << " to " << c.to;
        EXPECT_FALSE(record.error());
    }
}

TEST_F(AreaUnitTest, SameUnitConversionIsExact) {
    auto acre = area_unit(109402);
    for (double area : {0.1, 1.0 / 3.0, 1e300, -7.25})
        EXPECT_EQ(KX_AreaUnit_convertTo(acre.get(), acre.get(), area, nullptr), area);
}

TEST_F(AreaUnitTest, LinearUnitIsNoAreaUnit) {
    OwnedUnit meter(KX_LinearUnit_create(9001, nullptr));
    auto acre = area_unit(109402);
    ASSERT_TRUE(meter);
    Record record;
    EXPECT_EQ(KX_AreaUnit_convertTo(acre.get(), meter.get(), 1.0, record), 0.0);
    ASSERT_TRUE(record.error());
    EXPECT_EQ(record.error()->code, api::kUnitError);
    EXPECT_EQ(record.error()->message, "Not an area unit.");
    EXPECT_EQ(KX_AreaUnit_getAreaUnitId(meter.get(), nullptr), 0);
}

class LinearUnitTest : public EngineTest {};

TEST_F(LinearUnitTest, EveryCodeIsAccepted) {
    for (int32_t code : {0, 1025, 1033, 9001, 9002, 9030, 9036, 9093, 9096, 109008}) {
        Record record;
        OwnedUnit unit(KX_LinearUnit_create(code, record));
        EXPECT_TRUE(unit) << code;
        EXPECT_FALSE(record.error()) << code;
    }
}

struct RefusedCode {
    KX_UnitHandle (*create)(int32_t, const KX_ErrorCallbackRecord*);
    int32_t code;
    const char* message;
    const char* additional;
};

class UnitRefusal : public EngineTest {};

TEST_F(UnitRefusal, CodesOutsideTheTablesAreEngineErrors) {
    const RefusedCode cases[] = {
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
        Record record;
        OwnedUnit unit(c.create(c.code, record));
        EXPECT_FALSE(unit) << c.code;
        ASSERT_TRUE(record.error()) << c.code;
        EXPECT_EQ(record.error()->code, api::kUnitError);
        EXPECT_EQ(record.error()->message, c.message);
        EXPECT_EQ(record.error()->additional, c.additional);
        EXPECT_EQ(c.create(c.code, nullptr), nullptr);
    }
}

}  // namespace
