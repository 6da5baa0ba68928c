// Datum transformations and the transformation catalog: the queries' policies and exact texts,
// the directory of the data files, and the catalog's list, owned item by item.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine_test.h"
#include "fake_slot.h"
#include "geometry/c_string.h"
#include "geometry/environment.h"
#include "geometry/transformation_catalog.h"

namespace {

using namespace geometry;
using bindings::CorvaneFFI;
using datum_transformation::DatumTransformationOwned;
using datum_transformation_type::DatumTransformationType;
namespace catalog = transformation_catalog;

// Transformations are stand-ins that the engine never reads (each row arms a fault, which the
// engine reports before it looks at its arguments); their destroys are counted here instead.
struct StandIn {
    alignas(16) char storage[16]{};
    KX_DatumTransformationHandle handle() { return reinterpret_cast<KX_DatumTransformationHandle>(storage); }
};

class DatumTransformationTest : public EngineTest {
protected:
    // Destroys are counted; with `fail_destroy` the engine reports an error for the next one.
    FakeSlot<&CorvaneFFI::KX_DatumTransformation_destroy> destroy_{
        [this](KX_DatumTransformationHandle handle, const KX_ErrorCallbackRecord* rec) {
            destroyed.push_back(handle);
            if (!fail_destroy) return;
            fail_destroy = false;
            fail_next("KX_DatumTransformation_destroy");
            destroy_.original()(handle, rec);
        }};
    std::vector<KX_DatumTransformationHandle> destroyed;
    bool fail_destroy = false;
    StandIn first, second, third;
};

std::string injected_stop(const std::string& function) {
    return "Internal error: Unexpected error returned from internal function " + function +
           ": Error { code: 1000, msg: \"Injected failure in " + function +
           ".\", additional_msg: \"Raised by a test hook.\" }";
}

TEST_F(DatumTransformationTest, TheGettersStopOnAnEngineErrorAndGetInverseReturnsIt) {
    auto owned = DatumTransformationOwned::from_handle(first.handle());
    struct Case {
        const char* function;
        std::function<void()> query;
    };
    const Case stops[] = {
        {"KX_DatumTransformation_getName", [&] { (void)owned.name(); }},
        {"KX_DatumTransformation_getObjectType", [&] { (void)owned.object_type(); }},
        {"KX_DatumTransformation_getInputSpatialReference", [&] { (void)owned.input_spatial_reference(); }},
        {"KX_DatumTransformation_getOutputSpatialReference", [&] { (void)owned.output_spatial_reference(); }},
        {"KX_DatumTransformation_getIsMissingTarnelFiles", [&] { (void)owned.is_missing_tarnel_files(); }},
    };
    for (const auto& c : stops) {
        fail_next(c.function);
        EXPECT_EQ(stop_message(c.query), injected_stop(c.function));
    }
    fail_next("KX_DatumTransformation_getInverse");
    auto inverse = owned.get_inverse();
    ASSERT_FALSE(inverse.has_value());
    EXPECT_EQ(inverse.error().msg, "Injected failure in KX_DatumTransformation_getInverse.");
}

// Null answers: no spatial reference is none, no inverse a fault; the kind must be 1 or 2.
TEST_F(DatumTransformationTest, NullAnswersAndKindCodes) {
    auto owned = DatumTransformationOwned::from_handle(first.handle());
    fail_next("KX_DatumTransformation_getInputSpatialReference", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(owned.input_spatial_reference(), std::nullopt);
    fail_next("KX_DatumTransformation_getOutputSpatialReference", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(owned.output_spatial_reference(), std::nullopt);
    fail_next("KX_DatumTransformation_getInverse", KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([&] { (void)owned.get_inverse(); }),
              "Internal error: Unexpected null handle returned from core DatumTransformation for "
              "DatumTransformationOwned");

    int32_t code = 0;
    FakeSlot<&CorvaneFFI::KX_DatumTransformation_getObjectType> kind(
        [&](KX_DatumTransformationHandle, const KX_ErrorCallbackRecord*) { return code; });
    code = 1;
    EXPECT_EQ(owned.object_type(), DatumTransformationType::Geographic);
    code = 2;
    EXPECT_EQ(owned.object_type(), DatumTransformationType::HorizontalVertical);
    for (int32_t other : {0, 3, -1, 99}) {
        code = other;
        EXPECT_EQ(stop_message([&] { (void)owned.object_type(); }),
                  "Internal error: Unexpected failure to transform return value");
    }
    EXPECT_EQ(datum_transformation_type::try_from(3).error().display(),
              "Conversion between types failed: Tried to convert from bindings::KX_DatumTransformationType to "
              "DatumTransformationType");
}

TEST_F(DatumTransformationTest, AnInverseIsANewOwnerDestroyedOnce) {
    {
        auto owned = DatumTransformationOwned::from_handle(first.handle());
        FakeSlot<&CorvaneFFI::KX_DatumTransformation_getInverse> inverse_of(
            [&](KX_DatumTransformationHandle, const KX_ErrorCallbackRecord*) { return second.handle(); });
        auto inverse = owned.get_inverse();
        ASSERT_TRUE(inverse.has_value());
        EXPECT_EQ(inverse->handle(), second.handle());
        EXPECT_TRUE(destroyed.empty());
    }
    EXPECT_EQ(destroyed, (std::vector<KX_DatumTransformationHandle>{second.handle(), first.handle()}));
}

TEST_F(DatumTransformationTest, AFailedDestroyNamesTheOwner) {
    fail_destroy = true;
    EXPECT_EQ(without_record(stop_message([&] { (void)DatumTransformationOwned::from_handle(first.handle()); })),
              "Internal error: Unexpected error while destroying internal handle to DatumTransformationOwned");
    EXPECT_EQ(destroyed.size(), 1u);
    EXPECT_EQ(stop_message([] { (void)DatumTransformationOwned::from_handle(nullptr); }),
              "Internal error: Unexpected null handle returned from core DatumTransformation for "
              "DatumTransformationOwned");
}

// An engine string stand-in: its bytes are given here, its destroy is counted.
class StringStandIn {
public:
    explicit StringStandIn(std::string text) : text_(std::move(text)) {}
    KX_StringHandle handle() { return reinterpret_cast<KX_StringHandle>(this); }
    static StringStandIn& of(KX_StringHandle handle) { return *reinterpret_cast<StringStandIn*>(handle); }
    const std::string text_;
    int destroyed = 0;
};

class CatalogTest : public EngineTest {};

TEST_F(CatalogTest, TheDirectoryIsWhatTheEngineReportsAndAnEmptyTextIsNone) {
    environment::init();  // its own engine string must not meet the stand-ins below
    struct Case {
        std::optional<std::string> reported;  // none: a null handle
        std::optional<std::string> expected;
    };
    for (const Case& c : {Case{std::nullopt, std::nullopt}, Case{"", std::nullopt}, Case{"/data/grids", "/data/grids"}}) {
        std::optional<StringStandIn> text;
        if (c.reported) text.emplace(*c.reported);
        FakeSlot<&CorvaneFFI::KX_String_getByteArray> bytes(
            [](KX_StringHandle handle, size_t* size, const KX_ErrorCallbackRecord*) {
                *size = StringStandIn::of(handle).text_.size();
                return reinterpret_cast<const uint8_t*>(StringStandIn::of(handle).text_.data());
            });
        FakeSlot<&CorvaneFFI::KX_String_destroy> destroy(
            [](KX_StringHandle handle, const KX_ErrorCallbackRecord*) { ++StringStandIn::of(handle).destroyed; });
        FakeSlot<&CorvaneFFI::KX_TransformationCatalog_getTarnelDirectory> directory(
            [&](const KX_ErrorCallbackRecord*) { return text ? text->handle() : nullptr; });
        EXPECT_EQ(catalog::tarnel_directory(), c.expected);
        if (text) {
            EXPECT_EQ(text->destroyed, 1);
        }
    }
    fail_next("KX_TransformationCatalog_getTarnelDirectory");
    EXPECT_EQ(stop_message([] { (void)catalog::tarnel_directory(); }),
              injected_stop("KX_TransformationCatalog_getTarnelDirectory"));
}

// The path reaches the engine exactly, none as a null pointer; a path holding a NUL never reaches
// it and is an ordinary error naming the position.
TEST_F(CatalogTest, SettingTheDirectoryPassesThePathOrRefusesANul) {
    std::vector<std::string> sent;
    {
        FakeSlot<&CorvaneFFI::KX_TransformationCatalog_setTarnelDirectory> set(
            [&](const char* directory, const KX_ErrorCallbackRecord*) {
                sent.push_back(directory == nullptr ? "(null)" : directory);
            });
        EXPECT_TRUE(catalog::_set_tarnel_directory("/data/grids").has_value());
        EXPECT_TRUE(catalog::_set_tarnel_directory("").has_value());
        EXPECT_TRUE(catalog::_set_tarnel_directory(std::nullopt).has_value());
        auto refused = catalog::_set_tarnel_directory(std::string_view("/data\0/grids", 12));
        ASSERT_FALSE(refused.has_value());
        EXPECT_EQ(refused.error().code, c_string::kInteriorNulCode);
        EXPECT_EQ(refused.error().display(),
                  "Path contains interior nulls: The path holds a NUL character at position 5");
    }
    EXPECT_EQ(sent, (std::vector<std::string>{"/data/grids", "", "(null)"}));
    fail_next("KX_TransformationCatalog_setTarnelDirectory");
    auto failed = catalog::_set_tarnel_directory("/data/grids");
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().msg, "Injected failure in KX_TransformationCatalog_setTarnelDirectory.");
}

// A catalog answer of stand-in transformations, read through real engine elements: `values[i]` is
// the transformation of item i; at item `fail_at` the value cannot be read.
struct FakeList {
    std::vector<KX_DatumTransformationHandle> values;
    size_t fail_at = SIZE_MAX;
    std::vector<KX_ElementHandle> elements;
    int array_destroyed = 0;
};
FakeList* g_list = nullptr;
KX_DatumTransformationHandle (*g_engine_value)(KX_ElementHandle, const KX_ErrorCallbackRecord*) = nullptr;

class CatalogListTest : public DatumTransformationTest {
protected:
    std::vector<std::string> calls;

    // The query from 4267 to 4326 over `list`, recording its arguments.
    std::vector<DatumTransformationOwned> query(FakeList& list, const envelope::Envelope* area, bool ignore) {
        const auto nad27 = *spatial_reference::SpatialReference::with_wkid(4267);
        const auto wgs84 = *spatial_reference::SpatialReference::with_wkid(4326);
        g_list = &list;
        FakeSlot<&CorvaneFFI::KX_TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical>
            catalog_query([&](KX_SpatialReferenceHandle in, KX_SpatialReferenceHandle out, KX_GeometryHandle aoi,
                              int32_t ignore_vertical, const KX_ErrorCallbackRecord*) {
                calls.push_back(std::string(in == nad27.handle() && out == wgs84.handle() ? "pair" : "other") +
                                (aoi ? " area " : " null ") + std::to_string(ignore_vertical));
                return reinterpret_cast<KX_ArrayHandle>(&list);
            });
        FakeSlot<&CorvaneFFI::KX_Array_getSize> size(
            [](KX_ArrayHandle, const KX_ErrorCallbackRecord*) { return uint64_t(g_list->values.size()); });
        FakeSlot<&CorvaneFFI::KX_Array_at> at([](KX_ArrayHandle, uint64_t, const KX_ErrorCallbackRecord* rec) {
            g_list->elements.push_back(bindings::ffi().KX_Element_create(rec));
            return g_list->elements.back();
        });
        FakeSlot<&CorvaneFFI::KX_Array_destroy> destroy(
            [](KX_ArrayHandle, const KX_ErrorCallbackRecord*) { ++g_list->array_destroyed; });
        FakeSlot<&CorvaneFFI::KX_Element_getValueAsDatumTransformation> value(
            [](KX_ElementHandle element, const KX_ErrorCallbackRecord* rec) -> KX_DatumTransformationHandle {
                // The element just made (the engine may reuse the address of one destroyed).
                const size_t index = g_list->elements.size() - 1;
                if (index == g_list->fail_at) {
                    fail_next("KX_Element_getValueAsDatumTransformation");
                    return g_engine_value(element, rec);
                }
                return g_list->values[index];
            });
        g_engine_value = value.original();
        return catalog::get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(nad27, wgs84,
                                                                                                     area, ignore);
    }
};

TEST_F(CatalogListTest, ItemsComeInTheEnginesOrderEachOwnedOnce) {
    FakeList list{{first.handle(), second.handle(), third.handle()}};
    const auto area = envelope::Envelope::with_x_y(-130, -60, 20, 55);
    {
        auto transformations = query(list, &area, true);
        ASSERT_EQ(transformations.size(), 3u);
        EXPECT_EQ(transformations[0].handle(), first.handle());
        EXPECT_EQ(transformations[2].handle(), third.handle());
        EXPECT_EQ(list.array_destroyed, 1);
        EXPECT_TRUE(destroyed.empty());
    }
    EXPECT_EQ(destroyed.size(), 3u);

    FakeList empty;
    EXPECT_TRUE(query(empty, nullptr, false).empty());
    EXPECT_EQ(empty.array_destroyed, 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"pair area 1", "pair null 0"}));
}

TEST_F(CatalogListTest, EveryFailureIsAFault) {
    FakeList list{{first.handle(), second.handle(), third.handle()}, 2};
    EXPECT_EQ(stop_message([&] { (void)query(list, nullptr, false); }),
              "Internal error: Unexpected failure to transform return value");
    EXPECT_EQ(destroyed, (std::vector<KX_DatumTransformationHandle>{first.handle(), second.handle()}));
    EXPECT_EQ(list.array_destroyed, 1);

    const char* query_function =
        "KX_TransformationCatalog_getTransformationsBySuitabilityWithAreaOfInterestAndIgnoreVertical";
    const auto nad27 = *spatial_reference::SpatialReference::with_wkid(4267);
    const auto wgs84 = *spatial_reference::SpatialReference::with_wkid(4326);
    fail_next(query_function);
    EXPECT_EQ(stop_message([&] {
                  (void)catalog::get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
                      nad27, wgs84, nullptr, false);
              }),
              injected_stop(query_function));
    fail_next(query_function, KXT_FAIL_RETURN_NULL);
    EXPECT_EQ(stop_message([&] {
                  (void)catalog::get_transformations_by_suitability_with_area_of_interest_and_ignore_vertical(
                      nad27, wgs84, nullptr, false);
              }),
              "Internal error: Received null KX_ArrayHandle");
}

}  // namespace
