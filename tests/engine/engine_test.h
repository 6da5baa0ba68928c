// Shared helpers of the engine tests: owning wrappers of handles, error records that collect or
// forbid errors, and a fixture that checks that every test leaves as many live engine objects as
// it found.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "corvane/corvane.h"

namespace engine_test {

template <auto Destroy>
struct Destroyer {
    template <typename H>
    void operator()(H h) const {
        Destroy(h, nullptr);
    }
};

template <typename Handle, auto Destroy>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Destroyer<Destroy>>;

using Geometry = Owned<KX_GeometryHandle, KX_Geometry_destroy>;
using Segment = Owned<KX_SegmentHandle, KX_Segment_destroy>;
using MutablePart = Owned<KX_MutablePartHandle, KX_MutablePart_destroy>;
using MutableParts = Owned<KX_MutablePartCollectionHandle, KX_MutablePartCollection_destroy>;
using MutablePoints = Owned<KX_MutablePointCollectionHandle, KX_MutablePointCollection_destroy>;
using Builder = Owned<KX_GeometryBuilderHandle, KX_GeometryBuilder_destroy>;
using ImmutablePart = Owned<KX_ImmutablePartHandle, KX_ImmutablePart_destroy>;
using ImmutableParts = Owned<KX_ImmutablePartCollectionHandle, KX_ImmutablePartCollection_destroy>;
using ImmutablePoints = Owned<KX_ImmutablePointCollectionHandle, KX_ImmutablePointCollection_destroy>;
using SpatialReference = Owned<KX_SpatialReferenceHandle, KX_SpatialReference_destroy>;
using Unit = Owned<KX_UnitHandle, KX_Unit_destroy>;
using Element = Owned<KX_ElementHandle, KX_Element_destroy>;
using Vector = Owned<KX_VectorHandle, KX_Vector_destroy>;
using Array = Owned<KX_ArrayHandle, KX_Array_destroy>;

struct Caught {
    int32_t code;
    std::string message;
    std::string additional;
};

std::string text_of(KX_StringHandle s);

// A record that collects every error reported through it.
class Errors {
public:
    Errors();
    const KX_ErrorCallbackRecord* rec() const { return &rec_; }
    const std::vector<Caught>& all() const { return caught_; }
    bool empty() const { return caught_.empty(); }
    // The one error reported; fails the test unless there was exactly one.
    Caught only() const;

private:
    static void collect(void* self, KX_ErrorHandle e);
    KX_ErrorCallbackRecord rec_;
    std::vector<Caught> caught_;
};

// A record under which any error fails the test.
const KX_ErrorCallbackRecord* ok();

// Equal values, NaN matching NaN.
void expect_same(double actual, double expected);

struct Vertex {
    double x, y, z = NAN, m = NAN;
};

Geometry point(double x, double y);
Geometry point_zm(const Vertex& v, bool has_z, bool has_m);
Geometry from_json(const std::string& text);
std::string to_json(KX_GeometryHandle g);

// A polyline or polygon of straight parts, built through the builders with addPointXY /
// addPointXYZ / addPoint as the dimensions need, in the given spatial reference (or none).
Geometry multipart(bool polygon, const std::vector<std::vector<Vertex>>& parts, bool has_z = false, bool has_m = false,
                   KX_SpatialReferenceHandle sr = nullptr);

// The points of part `index` of a polyline or polygon.
std::vector<Vertex> part_points(KX_GeometryHandle g, uint64_t index);
ImmutablePart part_of(KX_GeometryHandle g, uint64_t index);

// Every test checks that it ends with as many live engine objects, of every class, as it began.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::vector<int64_t> before_;
};

}  // namespace engine_test
