#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/geometry/errors.h"
#include "core/geometry/part.h"
#include "core/geometry/shared.h"
#include "model_test_support.h"
#include "stops.h"

using namespace core::geometry;

namespace {

struct DisplayCase {
    VeltGeoErr (*make)();
    ErrorKind kind;
    const char* text;
};

const DisplayCase kDisplayCases[] = {
    {[] { return VeltGeoErr::mismatching_dimensions(CoordDims::XYZ, CoordDims::XY); }, ErrorKind::MismatchingDimensions,
     "Mismatching dimensions, expected 'XYZ' but got 'XY'"},
    {[] { return VeltGeoErr::mismatching_dimensions(CoordDims::XYZM, CoordDims::XYM); },
     ErrorKind::MismatchingDimensions, "Mismatching dimensions, expected 'XYZM' but got 'XYM'"},
    {[] { return VeltGeoErr(ErrorKind::Ring, "Linear ring requires len >= 3, but got: 2"); }, ErrorKind::Ring,
     "Ring must have sufficient data to enclose an area: Linear ring requires len >= 3, but got: 2"},
    {[] { return VeltGeoErr::mismatching_feature_type("Point", "Polygon"); }, ErrorKind::MismatchingFeatureType,
     "Mismatching feature type, expected 'Point' but got 'Polygon'"},
    {[] { return VeltGeoErr::mismatching_attr_type("int", "str"); }, ErrorKind::MismatchingAttrType,
     "Mismatching attr type, expected 'int' but got 'str'"},
    {[] { return VeltGeoErr(ErrorKind::DuplicateAttr, "name"); }, ErrorKind::DuplicateAttr,
     "Duplicate value for attribute with key 'name' inserted into feature attributes"},
    {[] { return VeltGeoErr(ErrorKind::FailedAccess, "t"); }, ErrorKind::FailedAccess, "Failed access: 't'"},
    {[] { return VeltGeoErr::poisoned_lock(); }, ErrorKind::Lock,
     "Lock error: 'poisoned lock: another task failed inside'"},
    {[] { return VeltGeoErr(ErrorKind::MutabilityUpgrade, "t"); }, ErrorKind::MutabilityUpgrade,
     "Mutability upgrade error: 't'"},
    {[] { return VeltGeoErr(ErrorKind::Resolution, "Did not find 'x' in dict during resolution"); },
     ErrorKind::Resolution, "Resolution error: 'Did not find 'x' in dict during resolution'"},
    {[] {
         return VeltGeoErr::short_coord_list({1.0, 0.5, -3.0, std::numeric_limits<double>::quiet_NaN(),
                                              -std::numeric_limits<double>::infinity(), 1e21, 1e-7, -0.0});
     },
     ErrorKind::ShortCoordList, "Short coord list: [1.0, 0.5, -3.0, NaN, -inf, 1e21, 1e-7, -0.0]"},
    {[] { return VeltGeoErr::short_coord_list({}); }, ErrorKind::ShortCoordList, "Short coord list: []"},
    {[] { return VeltGeoErr(ErrorKind::InvalidMutation, "t"); }, ErrorKind::InvalidMutation, "Invalid mutation: 't'"},
    {[] { return VeltGeoErr(ErrorKind::Io, "disk full"); }, ErrorKind::Io, "Io error: 'disk full'"},
    {[] { return VeltGeoErr(ErrorKind::CorvaneLibrary, "Bad wkid"); }, ErrorKind::CorvaneLibrary,
     "Corvane library error: 'Bad wkid'"},
    {[] { return VeltGeoErr(ErrorKind::CurvedPartStart, "CurvePart::push curve data on empty"); },
     ErrorKind::CurvedPartStart,
     "Curved parts must have starting vertex with no curve data: 'CurvePart::push curve data on empty'"},
    {[] { return VeltGeoErr(ErrorKind::InvalidDims, "Tried to set z value on coord with dims: xy"); },
     ErrorKind::InvalidDims, "Invalid dims for operation: Tried to set z value on coord with dims: xy"},
    {[] { return VeltGeoErr::pyo3(PythonError(nullptr, [](void*) {}, "PyErr { type: IndexError }")); },
     ErrorKind::Pyo3, "pyo3 error: 'PyErr { type: IndexError }'"},
    {[] { return VeltGeoErr::python_cast("NoneType", "PyDict"); }, ErrorKind::PythonCast,
     "Python cast error: ''NoneType' object cannot be cast as 'PyDict''"},
};

TEST(ModelErrors, EveryKindDisplaysItsText) {
    for (const auto& c : kDisplayCases) {
        const VeltGeoErr error = c.make();
        EXPECT_EQ(error.kind(), c.kind) << c.text;
        EXPECT_EQ(error.display(), c.text);
    }
}

TEST(ModelErrors, OnlyPythonErrorsAreRaisedAgain) {
    for (std::size_t k = 0; k < kErrorKindCount; ++k) {
        const auto kind = static_cast<ErrorKind>(k);
        EXPECT_EQ(kind_info(kind).raise, kind == ErrorKind::Pyo3 ? PythonRaise::Carried : PythonRaise::Exception)
            << kind_info(kind).name;
    }
}

// The carried exception is released exactly once: by the error when dropped, or by whoever took it.
TEST(ModelErrors, CarriedPythonErrorIsReleasedOnce) {
    static int released = 0;
    int object = 7;
    auto release = [](void*) { ++released; };
    {
        auto dropped = VeltGeoErr::pyo3(PythonError(&object, release, "e"));
    }
    EXPECT_EQ(released, 1);
    {
        auto taken = VeltGeoErr::pyo3(PythonError(&object, release, "e"));
        auto moved = std::move(taken);
        EXPECT_EQ(moved.take_python_error(), &object);
        EXPECT_EQ(moved.take_python_error(), nullptr);
    }
    EXPECT_EQ(released, 1);
    EXPECT_EQ(VeltGeoErr::poisoned_lock().take_python_error(), nullptr);
}

TEST(ModelErrors, PoisonedModelCellIsALockErrorEveryTime) {
    auto cell = make_shared_cell(VeltPart(false, false));
    ASSERT_TRUE(lock_model(*cell).has_value());
    poison(*cell);
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto locked = lock_model(*cell);
        ASSERT_FALSE(locked.has_value());
        EXPECT_EQ(locked.error().display(), "Lock error: 'poisoned lock: another task failed inside'");
    }
}

}  // namespace
