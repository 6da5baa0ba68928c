// What the engine's tests need around a C call: an error record that keeps the error reported
// through it, owners that destroy a handle once, and a fixture that fails a test which leaves
// engine objects alive.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "corvane/corvane.h"

namespace engine_test {

struct ReportedError {
    int32_t code;
    std::string message;
    std::string additional;
};

// Reads and destroys an engine string.
inline std::string take_string(KX_StringHandle handle) {
    size_t size = 0;
    const uint8_t* bytes = KX_String_getByteArray(handle, &size, nullptr);
    std::string text(reinterpret_cast<const char*>(bytes), bytes == nullptr ? 0 : size);
    KX_String_destroy(handle, nullptr);
    return text;
}

// An error record; the last error reported through it is kept (and the engine's error object
// destroyed at once).
class Record {
public:
    Record() : record_{&Record::keep, this} {}
    Record(const Record&) = delete;
    Record& operator=(const Record&) = delete;

    operator const KX_ErrorCallbackRecord*() const { return &record_; }
    const std::optional<ReportedError>& error() const { return error_; }

private:
    static void keep(void* self, KX_ErrorHandle error) {
        static_cast<Record*>(self)->error_ = ReportedError{KX_Error_getCode(error, nullptr),
                                                           take_string(KX_Error_getMessage(error, nullptr)),
                                                           take_string(KX_Error_getAdditionalMessage(error, nullptr))};
        KX_Error_destroy(error, nullptr);
    }

    KX_ErrorCallbackRecord record_;
    std::optional<ReportedError> error_;
};

template <auto destroy>
struct Destroy {
    template <typename Pointer>
    void operator()(Pointer handle) const {
        destroy(handle, nullptr);
    }
};

// One owned engine handle, destroyed with the given engine function.
template <typename Handle, auto destroy>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Destroy<destroy>>;

using OwnedSpatialReference = Owned<KX_SpatialReferenceHandle, KX_SpatialReference_destroy>;
using OwnedUnit = Owned<KX_UnitHandle, KX_Unit_destroy>;
using OwnedGeometry = Owned<KX_GeometryHandle, KX_Geometry_destroy>;
using OwnedElement = Owned<KX_ElementHandle, KX_Element_destroy>;
using OwnedVector = Owned<KX_VectorHandle, KX_Vector_destroy>;
using OwnedArray = Owned<KX_ArrayHandle, KX_Array_destroy>;

// Every test ends with as many live engine objects of each class as it began with.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kClasses; ++i) live_before_[i] = KXT_live_objects(kClassNames[i]);
    }
    void TearDown() override {
        for (int i = 0; i < kClasses; ++i)
            EXPECT_EQ(KXT_live_objects(kClassNames[i]), live_before_[i]) << "live " << kClassNames[i] << " objects";
    }

private:
    static constexpr int kClasses = 7;
    static constexpr const char* kClassNames[kClasses] = {"*",     "SpatialReference", "Unit",  "Geometry",
                                                          "Array", "Element",          "Vector"};
    int64_t live_before_[kClasses] = {};
};

}  // namespace engine_test
