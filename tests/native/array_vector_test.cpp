// Engine arrays unpacked into lists of owners, and vectors filled from a stream, with what is
// destroyed, in which order, when an item fails.
#include <optional>
#include <string>
#include <vector>

#include "engine_test.h"
#include "geometry/array.h"
#include "geometry/vector.h"

namespace {

using namespace geometry;
using ::geometry::geometry::GeometryOwned;
using bindings::CorvaneFFI;

// A stand-in for an engine array of `size` items: each item is a new engine element holding a
// point (i, 0). At item `fail_at` the engine function `failing` reports an error.
struct FakeArray {
    uint64_t size;
    uint64_t fail_at;
    const char* failing;
};

std::vector<std::string> g_destroyed;  // what was destroyed, in order
void (*g_real_geometry_destroy)(KX_GeometryHandle, const KX_ErrorCallbackRecord*) = nullptr;

FakeArray& fake(KX_ArrayHandle array) { return *reinterpret_cast<FakeArray*>(array); }

uint64_t fake_size(KX_ArrayHandle array, const KX_ErrorCallbackRecord*) { return fake(array).size; }

KX_ElementHandle fake_at(KX_ArrayHandle array, uint64_t index, const KX_ErrorCallbackRecord* rec) {
    const auto& engine = bindings::ffi();
    if (index == fake(array).fail_at) fail_next(fake(array).failing);
    KX_ElementHandle element = engine.KX_Element_create(rec);
    if (element == nullptr) return nullptr;
    KX_GeometryHandle point = engine.KX_Point_createWithXY(static_cast<double>(index), 0, nullptr);
    engine.KX_Element_setValueFromGeometry(element, point, nullptr);
    g_real_geometry_destroy(point, nullptr);
    return element;
}

void fake_destroy(KX_ArrayHandle, const KX_ErrorCallbackRecord*) { g_destroyed.push_back("array"); }

using GeometryDestroy = SlotPatch<&CorvaneFFI::KX_Geometry_destroy>;
using ElementDestroy = SlotPatch<&CorvaneFFI::KX_Element_destroy>;
GeometryDestroy* g_geometry_destroy = nullptr;
ElementDestroy* g_element_destroy = nullptr;

void logged_geometry_destroy(KX_GeometryHandle geometry, const KX_ErrorCallbackRecord* rec) {
    g_destroyed.push_back("point " + std::to_string(static_cast<int>(bindings::ffi().KX_Point_getX(geometry, nullptr))));
    g_geometry_destroy->original()(geometry, rec);
}

void logged_element_destroy(KX_ElementHandle element, const KX_ErrorCallbackRecord* rec) {
    g_destroyed.push_back("element");
    g_element_destroy->original()(element, rec);
}

class ArrayTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        g_real_geometry_destroy = bindings::ffi().KX_Geometry_destroy;
    }

    // Unpacks the fake array, logging the destroys of geometries, elements and the array.
    Result<std::vector<GeometryOwned>> unpack(FakeArray& source) {
        g_destroyed.clear();
        SlotPatch<&CorvaneFFI::KX_Array_getSize> size(fake_size);
        SlotPatch<&CorvaneFFI::KX_Array_at> at(fake_at);
        SlotPatch<&CorvaneFFI::KX_Array_destroy> destroy(fake_destroy);
        GeometryDestroy geometry_destroy(logged_geometry_destroy);
        ElementDestroy element_destroy(logged_element_destroy);
        g_geometry_destroy = &geometry_destroy;
        g_element_destroy = &element_destroy;
        auto array = array::Array::from_handle(reinterpret_cast<KX_ArrayHandle>(&source));
        auto items = std::move(array).into_list<GeometryOwned>();
        g_geometry_destroy = nullptr;
        g_element_destroy = nullptr;
        return items;
    }
};

TEST_F(ArrayTest, ItemsComeOutInOrderAndTheArrayGoesLast) {
    FakeArray source{3, 99, ""};
    auto items = unpack(source);
    ASSERT_TRUE(items.has_value());
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ(g_destroyed, (std::vector<std::string>{"element", "element", "element", "array"}));
}

TEST_F(ArrayTest, AnEmptyArrayGivesAnEmptyList) {
    FakeArray source{0, 99, ""};
    auto items = unpack(source);
    ASSERT_TRUE(items.has_value());
    EXPECT_TRUE(items->empty());
    EXPECT_EQ(g_destroyed, std::vector<std::string>{"array"});
}

// An error at item 2: the element in hand goes first, then the items taken in list order, then
// the array; the engine's error is returned.
TEST_F(ArrayTest, AnErrorAtItemKDestroysTheKItemsTakenThenTheArray) {
    struct Case {
        const char* failing;
        std::vector<std::string> destroyed;
    };
    const Case cases[] = {
        {"KX_Element_create", {"point 0", "point 1", "array"}},
        {"KX_Element_getValueAsGeometry", {"element", "point 0", "point 1", "array"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing);
        FakeArray source{4, 2, c.failing};
        auto items = unpack(source);
        ASSERT_FALSE(items.has_value());
        EXPECT_EQ(items.error().msg, std::string("Injected failure in ") + c.failing + ".");
        // Items 0 and 1 each had their element destroyed once they were read.
        std::vector<std::string> expected{"element", "element"};
        expected.insert(expected.end(), c.destroyed.begin(), c.destroyed.end());
        EXPECT_EQ(g_destroyed, expected);
    }
}

TEST_F(ArrayTest, AnItemWithoutValueStops) {
    FakeArray source{2, 1, ""};
    EngineHooks::get().reset();
    const auto message = stop_message([&] {
        SlotPatch<&CorvaneFFI::KX_Array_getSize> size(fake_size);
        SlotPatch<&CorvaneFFI::KX_Array_at> at(fake_at);
        SlotPatch<&CorvaneFFI::KX_Array_destroy> destroy(fake_destroy);
        auto array = array::Array::from_handle(reinterpret_cast<KX_ArrayHandle>(&source));
        fail_next("KX_Element_getValueAsGeometry", KXT_FAIL_RETURN_NULL);
        (void)std::move(array).into_list<polygon::Polygon>();
    });
    EXPECT_EQ(message, "Internal error: Unexpected null handle returned from core Geometry for Polygon");
}

class VectorTest : public EngineTest {};

// A source over prepared items that counts how often it is pulled and can arm a fault on a pull.
template <typename Item>
struct CountingSource {
    std::vector<std::function<Item()>> items;
    size_t pulled = 0;
    std::optional<size_t> fail_add_on;  // arms KX_Vector_add on this pull (1-based)

    std::optional<Item> operator()() {
        if (pulled == items.size()) return std::nullopt;
        ++pulled;
        if (fail_add_on == pulled) fail_next("KX_Vector_add");
        return items[pulled - 1]();
    }
};

GeometryOwned point_at(double x) { return GeometryOwned::from(point::Point::with_x_y(x, 0)); }

TEST_F(VectorTest, BuildsFromEveryItemOfTheStream) {
    CountingSource<double> floats{{[] { return 1.0; }, [] { return 2.0; }}};
    auto vector = vector::Vector::try_from_f64s(floats);
    ASSERT_TRUE(vector.has_value());
    EXPECT_EQ(floats.pulled, 2u);
    EXPECT_EQ(live_objects("Element"), 0);

    CountingSource<GeometryOwned> none{};
    fail_next("KX_Vector_add");  // stays armed: nothing may be added
    auto empty = vector::Vector::try_from_geometries(none);
    EXPECT_TRUE(empty.has_value());
}

TEST_F(VectorTest, TheFirstErrorEndsTheStreamAndDestroysEverything) {
    const auto geometries = live_objects("Geometry");
    CountingSource<GeometryOwned> source{{[] { return point_at(0); }, [] { return point_at(1); },
                                          [] { return point_at(2); }},
                                         0,
                                         2};
    auto vector = vector::Vector::try_from_geometries(source);
    ASSERT_FALSE(vector.has_value());
    EXPECT_EQ(vector.error().msg, "Injected failure in KX_Vector_add.");
    EXPECT_EQ(source.pulled, 2u);
    EXPECT_EQ(live_objects("Geometry"), geometries);
    EXPECT_EQ(live_objects("Vector"), 0);
    EXPECT_EQ(live_objects("Element"), 0);

    fail_next("KX_Element_create");
    CountingSource<double> floats{{[] { return 1.0; }}};
    EXPECT_FALSE(vector::Vector::try_from_f64s(floats).has_value());
    EXPECT_EQ(floats.pulled, 0u);
    EXPECT_EQ(live_objects("Vector"), 0);
}

TEST_F(VectorTest, ASetGeometryAlwaysDestroysTheGeometry) {
    auto element = *element::Element::create();
    const auto geometries = live_objects("Geometry");
    auto point = point_at(5);
    fail_next("KX_Element_setValueFromGeometry");
    EXPECT_FALSE(element.set_geometry(std::move(point)).has_value());
    EXPECT_EQ(live_objects("Geometry"), geometries);
}

}  // namespace
