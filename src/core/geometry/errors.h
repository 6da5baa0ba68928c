// VeltGeoErr: the one error type of the data model and of the Python classes built on it. Every
// kind, its display text and the way it reaches Python live in one table (errors.cpp).
//
// Python errors without Python headers: Pyo3 carries a Python exception that the Python layer
// caught while reading Python values. The model never creates that kind itself; the Python layer
// hands in the exception as an opaque owned pointer together with the function that releases it
// and the exception's debug text (taken while it holds the interpreter lock), and takes the pointer
// back with `take_python_error` to re-raise it unchanged. So this subsystem includes no Python
// header, and an error dropped without being raised still releases its exception. All of this runs
// under the interpreter lock, as the whole module does. PythonCast carries only a text, which
// `python_cast` forms from the two type names.
#pragma once

#include <array>
#include <cstdint>
#include <expected>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "core/geometry/coord_dims.h"

namespace geometry {
struct Error;
}

namespace core::geometry {

enum class ErrorKind : uint8_t {
    MismatchingDimensions = 0,
    Ring = 1,
    MismatchingFeatureType = 2,
    MismatchingAttrType = 3,
    DuplicateAttr = 4,
    FailedAccess = 5,
    Lock = 6,
    MutabilityUpgrade = 7,
    Resolution = 8,
    ShortCoordList = 9,
    InvalidMutation = 10,
    Io = 11,
    CorvaneLibrary = 12,
    CurvedPartStart = 13,
    InvalidDims = 14,
    Pyo3 = 15,
    PythonCast = 16,
};
inline constexpr std::size_t kErrorKindCount = 17;

// How a kind reaches Python: a plain `Exception` with the display text, or the carried Python
// exception raised again.
enum class PythonRaise : uint8_t { Exception, Carried };

// One row of the kind table: the display text is pieces[0] arg0 pieces[1] arg1 pieces[2], with as
// many arguments as the payload gives.
struct ErrorKindInfo {
    std::string_view name;
    std::array<std::string_view, 3> pieces;
    PythonRaise raise;
};
const ErrorKindInfo& kind_info(ErrorKind kind);

// An owned Python exception, opaque to the model.
class PythonError {
public:
    using Release = void (*)(void*);
    PythonError(void* object, Release release, std::string debug_text)
        : object_(object, release), debug_text_(std::move(debug_text)) {}
    const std::string& debug_text() const { return debug_text_; }
    // Hands the exception back to the caller, who then owns it.
    void* release() { return object_.release(); }

private:
    std::unique_ptr<void, Release> object_;
    std::string debug_text_;
};

class VeltGeoErr {
public:
    // Kinds whose payload is one text (1, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14, 16).
    VeltGeoErr(ErrorKind kind, std::string text);

    static VeltGeoErr mismatching_dimensions(CoordDims expected, CoordDims got);
    static VeltGeoErr mismatching_feature_type(std::string_view expected, std::string_view got);
    static VeltGeoErr mismatching_attr_type(std::string_view expected, std::string_view got);
    static VeltGeoErr short_coord_list(std::vector<double> values);
    static VeltGeoErr pyo3(PythonError error);
    // The guard of a poisoned lock: "poisoned lock: another task failed inside".
    static VeltGeoErr poisoned_lock();
    // An engine error, carried with its display text.
    static VeltGeoErr from_engine(const ::geometry::Error& error);
    // "'{}' object cannot be cast as '{}'".
    static VeltGeoErr python_cast(std::string_view type_name, std::string_view target);

    ErrorKind kind() const { return kind_; }
    std::string display() const;
    PythonRaise raise() const { return kind_info(kind_).raise; }
    // Pyo3 only: the carried exception, now owned by the caller; null for any other kind.
    void* take_python_error();

private:
    using DimsPair = std::pair<CoordDims, CoordDims>;
    using FixedPair = std::pair<std::string_view, std::string_view>;
    using Payload = std::variant<std::string, DimsPair, FixedPair, std::vector<double>, PythonError>;
    VeltGeoErr(Payload payload, ErrorKind kind) : kind_(kind), payload_(std::move(payload)) {}

    ErrorKind kind_;
    Payload payload_;
};

template <typename T>
using GeoResult = std::expected<T, VeltGeoErr>;

}  // namespace core::geometry
