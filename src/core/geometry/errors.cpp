#include "core/geometry/errors.h"

#include "base/kept_texts.h"
#include "core/geometry/number_text.h"

namespace core::geometry {

namespace {

constexpr PythonRaise kExc = PythonRaise::Exception;

// The kinds in their declared order; the index is the kind's number.
constexpr std::array<ErrorKindInfo, kErrorKindCount> kKinds{{
    {"MismatchingDimensions", {"Mismatching dimensions, expected '", "' but got '", "'"}, kExc},
    {"Ring", {"Ring must have sufficient data to enclose an area: ", "", ""}, kExc},
    {"MismatchingFeatureType", {"Mismatching feature type, expected '", "' but got '", "'"}, kExc},
    {"MismatchingAttrType", {"Mismatching attr type, expected '", "' but got '", "'"}, kExc},
    {"DuplicateAttr",
     {"Duplicate value for attribute with key '", "' inserted into feature attributes", ""},
     kExc},
    {"FailedAccess", {"Failed access: '", "'", ""}, kExc},
    {"Lock", {"Lock error: '", "'", ""}, kExc},
    {"MutabilityUpgrade", {"Mutability upgrade error: '", "'", ""}, kExc},
    {"Resolution", {"Resolution error: '", "'", ""}, kExc},
    {"ShortCoordList", {"Short coord list: ", "", ""}, kExc},
    {"InvalidMutation", {"Invalid mutation: '", "'", ""}, kExc},
    {"Io", {"Io error: '", "'", ""}, kExc},
    {"CorvaneLibrary", {"Corvane library error: '", "'", ""}, kExc},
    {"CurvedPartStart", {"Curved parts must have starting vertex with no curve data: '", "'", ""}, kExc},
    {"InvalidDims", {"Invalid dims for operation: ", "", ""}, kExc},
    {"Pyo3", {"pyo3 error: '", "'", ""}, PythonRaise::Carried},
    {"PythonCast", {"Python cast error: '", "'", ""}, kExc},
}};

std::string debug_list(const std::vector<double>& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ", ";
        out += debug_number(values[i]);
    }
    return out + "]";
}

}  // namespace

const ErrorKindInfo& kind_info(ErrorKind kind) { return kKinds[static_cast<std::size_t>(kind)]; }

VeltGeoErr::VeltGeoErr(ErrorKind kind, std::string text) : kind_(kind), payload_(std::move(text)) {}

VeltGeoErr VeltGeoErr::mismatching_dimensions(CoordDims expected, CoordDims got) {
    return VeltGeoErr(Payload(DimsPair{expected, got}), ErrorKind::MismatchingDimensions);
}
VeltGeoErr VeltGeoErr::mismatching_feature_type(std::string_view expected, std::string_view got) {
    return VeltGeoErr(Payload(FixedPair{expected, got}), ErrorKind::MismatchingFeatureType);
}
VeltGeoErr VeltGeoErr::mismatching_attr_type(std::string_view expected, std::string_view got) {
    return VeltGeoErr(Payload(FixedPair{expected, got}), ErrorKind::MismatchingAttrType);
}
VeltGeoErr VeltGeoErr::short_coord_list(std::vector<double> values) {
    return VeltGeoErr(Payload(std::move(values)), ErrorKind::ShortCoordList);
}
VeltGeoErr VeltGeoErr::pyo3(PythonError error) {
    return VeltGeoErr(Payload(std::move(error)), ErrorKind::Pyo3);
}
VeltGeoErr VeltGeoErr::poisoned_lock() {
    return VeltGeoErr(ErrorKind::Lock, "poisoned lock: another task failed inside");
}
VeltGeoErr VeltGeoErr::python_cast(std::string_view type_name, std::string_view target) {
    return VeltGeoErr(ErrorKind::PythonCast, core::kept_texts::cast_text(type_name, target));
}

std::string VeltGeoErr::display() const {
    const auto& pieces = kind_info(kind_).pieces;
    std::string first;
    std::string second;
    if (const auto* text = std::get_if<std::string>(&payload_)) {
        first = *text;
    } else if (const auto* dims = std::get_if<DimsPair>(&payload_)) {
        first = upper_name(dims->first);
        second = upper_name(dims->second);
    } else if (const auto* fixed = std::get_if<FixedPair>(&payload_)) {
        first = fixed->first;
        second = fixed->second;
    } else if (const auto* values = std::get_if<std::vector<double>>(&payload_)) {
        first = debug_list(*values);
    } else {
        first = std::get<PythonError>(payload_).debug_text();
    }
    std::string out(pieces[0]);
    out += first;
    out += pieces[1];
    out += second;
    out += pieces[2];
    return out;
}

void* VeltGeoErr::take_python_error() {
    auto* error = std::get_if<PythonError>(&payload_);
    return error != nullptr ? error->release() : nullptr;
}

}  // namespace core::geometry
