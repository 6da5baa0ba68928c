// Reading VeltJSON dictionaries and coordinate lists: the routines every class reader shares.
// They copy what they read (nothing stays tied to the Python input) and report failures as
// VeltGeoErr values: a Python error met while reading travels as kind 15 and is raised again
// unchanged at the boundary; a missing required key is kind 8; a value of the wrong kind where a
// dictionary was expected is kind 16.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/geometry/errors.h"
#include "core/geometry/spatial_reference.h"
#include "core/geometry/velt_coord.h"
#include "python/binding/binding.h"

namespace vornix::python::common {

using core::geometry::GeoResult;
using core::geometry::VeltGeoErr;

// A dictionary key: its text and its interned str.
using Key = binding::Interned;

namespace keys {
inline const Key x{"x"}, y{"y"}, z{"z"}, m{"m"};
inline const Key xmin{"xmin"}, ymin{"ymin"}, xmax{"xmax"}, ymax{"ymax"};
inline const Key zmin{"zmin"}, zmax{"zmax"}, mmin{"mmin"}, mmax{"mmax"}, idmin{"idmin"}, idmax{"idmax"};
inline const Key has_z{"hasZ"}, has_m{"hasM"}, spatial_reference{"spatialReference"};
inline const Key points{"points"}, paths{"paths"}, rings{"rings"};
inline const Key curve_paths{"curvePaths"}, curve_rings{"curveRings"};
inline const Key wkid{"wkid"}, latest_wkid{"latestWkid"}, vcs_wkid{"vcsWkid"}, latest_vcs_wkid{"latestVcsWkid"};
inline const Key wkt{"wkt"}, wkt2{"wkt2"}, latest_wkt{"latestWkt"};
}  // namespace keys

// A Python error as the model's error value (kind 15), to be raised again unchanged.
VeltGeoErr carry(binding::PyErr error);
// The Python error just set by a failed C API call, carried the same way.
VeltGeoErr carry_current();

// The value stored under `key` (empty when missing), looked up in the dictionary itself: a dict
// subclass's own __getitem__ or __missing__ is not consulted. The reference is the caller's own,
// so that the value outlives Python code that empties the dictionary while the value is read.
GeoResult<binding::Ref> dict_lookup(PyObject* dict, const Key& key);

// A required number: kind 8 "Did not find '<key>' in dict during resolution" when missing, the
// float conversion's TypeError when it is not a number (None included).
GeoResult<double> dict_extract(PyObject* dict, const Key& key);

// An optional value: missing and None are absent. T is uint32_t (Python integers 0..2^32-1),
// double (anything float() takes) or std::string (a str).
template <typename T>
GeoResult<std::optional<T>> dict_extract_opt(PyObject* dict, const Key& key) {
    auto value = dict_lookup(dict, key);
    if (!value) return std::unexpected(std::move(value.error()));
    if (!*value || value->get() == Py_None) return std::nullopt;
    auto converted = binding::FromPy<T>::convert(value->get());
    if (!converted) return std::unexpected(carry(std::move(converted.error())));
    return std::optional<T>(std::move(*converted));
}

// (has_z, has_m) from "hasZ" and "hasM": only the bool True counts; anything else reads as false.
GeoResult<std::pair<bool, bool>> nested_geom_dict_dims(PyObject* dict);

// The spatial reference of the six optional keys; no key is required.
GeoResult<core::geometry::SpatialReference> sr_from_dict(PyObject* dict);

// The spatial reference under "spatialReference": absent when the key is missing; any value that
// is not a dict (None included) is kind 16 naming its type and dict.
GeoResult<std::optional<core::geometry::SpatialReference>> dict_sr(PyObject* dict);

// The TypeError "'<type>' object cannot be cast as 'list'" unless `object` is a list.
GeoResult<void> expect_list(PyObject* object);

// One vertex from a coordinate list [x, y, z?, m?] read with the receiver's dimensions. x and y
// are required (IndexError, TypeError); a z or m that is missing or does not convert (any Exception,
// OverflowError of a huge integer included) is absent; only an exception that is no Exception
// (KeyboardInterrupt, SystemExit) propagates.
GeoResult<core::geometry::VeltCoord> coord_from_list(PyObject* list, bool has_z, bool has_m);

// The common case of coord_from_list, a list of exact floats at least as long as the dimensions
// ask, read directly (nothing can fail or run Python code); none for anything else. Callers that
// read many vertices try it first and skip the error plumbing.
std::optional<core::geometry::VeltCoord> plain_coord(PyObject* list, bool has_z, bool has_m);

// The item at `index` of a list, converted: T is uint8_t or double. IndexError past the end.
template <typename T>
GeoResult<T> list_extract(PyObject* list, std::size_t index);

// The text of a str (UTF-8; lone surrogates give the encoding error) or of bytes read as UTF-8
// (invalid bytes give UnicodeDecodeError); anything else a TypeError. The view lives as long as
// `object`.
binding::PyResult<std::string_view> get_py_str(PyObject* object);

}  // namespace vornix::python::common
