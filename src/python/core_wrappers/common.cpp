#include "python/core_wrappers/common.h"

namespace vornix::python::common {

using binding::FromPy;
using binding::PyErr;
using binding::Ref;
using core::geometry::SpatialReference;
using core::geometry::VeltCoord;

namespace {

void release_exception(void* object) { Py_DECREF(static_cast<PyObject*>(object)); }

std::string debug_text(PyObject* exception) {
    Ref repr = Ref::steal(PyObject_Repr(exception));
    if (!repr) {
        PyErr_Clear();
        return binding::type_qualname(exception);
    }
    return binding::text_of(repr.get());
}

// The item at `index`, held for its conversion (which may drop the list's own reference), or the
// IndexError of the list access.
GeoResult<Ref> list_item(PyObject* list, std::size_t index) {
    if (index >= std::size_t(PyList_GET_SIZE(list)))
        return std::unexpected(carry(PyErr::new_err(PyExc_IndexError, "list index out of range")));
    return Ref::borrow(PyList_GET_ITEM(list, Py_ssize_t(index)));
}

// A z or m ordinate: absent when the list is too short or the item does not convert as a number,
// whatever Exception the conversion raised (an overflowing integer, a failing __float__). Only what
// is no Exception (KeyboardInterrupt, SystemExit) is the caller's error.
GeoResult<std::optional<double>> optional_ordinate(PyObject* list, std::size_t index) {
    if (index >= std::size_t(PyList_GET_SIZE(list))) return std::nullopt;
    Ref item = Ref::borrow(PyList_GET_ITEM(list, Py_ssize_t(index)));
    auto value = FromPy<double>::convert(item.get());
    if (value) return std::optional(*value);
    if (PyErr_GivenExceptionMatches(value.error().value(), PyExc_Exception)) return std::nullopt;
    return std::unexpected(carry(std::move(value.error())));
}

}  // namespace

VeltGeoErr carry(PyErr error) {
    std::string text = debug_text(error.value());
    PyObject* exception = Py_NewRef(error.value());
    return VeltGeoErr::pyo3(core::geometry::PythonError(exception, &release_exception, std::move(text)));
}

VeltGeoErr carry_current() { return carry(PyErr::fetch()); }

GeoResult<Ref> dict_lookup(PyObject* dict, const Key& key) {
    PyObject* name = key.object();
    if (name == nullptr) return std::unexpected(carry_current());
    PyObject* value = PyDict_GetItemWithError(dict, name);
    if (value == nullptr && PyErr_Occurred()) return std::unexpected(carry_current());
    return Ref::borrow(value);
}

GeoResult<double> dict_extract(PyObject* dict, const Key& key) {
    auto value = dict_lookup(dict, key);
    if (!value) return std::unexpected(std::move(value.error()));
    if (!*value)
        return std::unexpected(VeltGeoErr(core::geometry::ErrorKind::Resolution,
                                          "Did not find '" + std::string(key.text()) + "' in dict during resolution"));
    auto number = FromPy<double>::convert(value->get());
    if (!number) return std::unexpected(carry(std::move(number.error())));
    return *number;
}

GeoResult<std::pair<bool, bool>> nested_geom_dict_dims(PyObject* dict) {
    auto has_z = dict_lookup(dict, keys::has_z);
    if (!has_z) return std::unexpected(std::move(has_z.error()));
    auto has_m = dict_lookup(dict, keys::has_m);
    if (!has_m) return std::unexpected(std::move(has_m.error()));
    return std::pair(has_z->get() == Py_True, has_m->get() == Py_True);
}

GeoResult<SpatialReference> sr_from_dict(PyObject* dict) {
    SpatialReference sr;
    const std::pair<const Key*, std::optional<uint32_t>*> ids[] = {
        {&keys::wkid, &sr.wkid},
        {&keys::latest_wkid, &sr.latest_wkid},
        {&keys::vcs_wkid, &sr.vcs_wkid},
        {&keys::latest_vcs_wkid, &sr.latest_vcs_wkid},
    };
    for (auto [key, field] : ids) {
        auto value = dict_extract_opt<uint32_t>(dict, *key);
        if (!value) return std::unexpected(std::move(value.error()));
        *field = *value;
    }
    const std::pair<const Key*, std::optional<std::string>*> texts[] = {{&keys::wkt, &sr.wkt}, {&keys::wkt2, &sr.wkt2}};
    for (auto [key, field] : texts) {
        auto value = dict_extract_opt<std::string>(dict, *key);
        if (!value) return std::unexpected(std::move(value.error()));
        *field = std::move(*value);
    }
    return sr;
}

GeoResult<std::optional<SpatialReference>> dict_sr(PyObject* dict) {
    auto value = dict_lookup(dict, keys::spatial_reference);
    if (!value) return std::unexpected(std::move(value.error()));
    if (!*value) return std::nullopt;
    if (!PyDict_Check(value->get()))
        return std::unexpected(VeltGeoErr::python_cast(binding::type_qualname(value->get()), "dict"));
    auto sr = sr_from_dict(value->get());
    if (!sr) return std::unexpected(std::move(sr.error()));
    return std::optional(std::move(*sr));
}

GeoResult<void> expect_list(PyObject* object) {
    if (PyList_Check(object)) return {};
    return std::unexpected(carry(binding::cast_error(object, "list")));
}

std::optional<VeltCoord> plain_coord(PyObject* list, bool has_z, bool has_m) {
    if (!PyList_CheckExact(list)) return std::nullopt;
    const Py_ssize_t wanted = 2 + has_z + has_m;
    if (PyList_GET_SIZE(list) < wanted) return std::nullopt;
    double values[4];
    for (Py_ssize_t i = 0; i < wanted; ++i) {
        PyObject* value = PyList_GET_ITEM(list, i);
        if (!PyFloat_CheckExact(value)) return std::nullopt;
        values[i] = PyFloat_AS_DOUBLE(value);
    }
    return VeltCoord::of(values[0], values[1], has_z ? std::optional(values[2]) : std::nullopt,
                         has_m ? std::optional(values[2 + has_z]) : std::nullopt);
}

GeoResult<VeltCoord> coord_from_list(PyObject* list, bool has_z, bool has_m) {
    if (auto plain = plain_coord(list, has_z, has_m)) return *plain;
    if (auto checked = expect_list(list); !checked) return std::unexpected(std::move(checked.error()));
    // The conversions run Python code that may drop the caller's last reference to the list.
    Ref held = Ref::borrow(list);
    auto x = list_extract<double>(list, 0);
    if (!x) return std::unexpected(std::move(x.error()));
    auto y = list_extract<double>(list, 1);
    if (!y) return std::unexpected(std::move(y.error()));
    std::optional<double> z, m;
    if (has_z) {
        auto read = optional_ordinate(list, 2);
        if (!read) return std::unexpected(std::move(read.error()));
        z = *read;
    }
    if (has_m) {
        auto read = optional_ordinate(list, has_z ? 3 : 2);
        if (!read) return std::unexpected(std::move(read.error()));
        m = *read;
    }
    return VeltCoord::of(*x, *y, z, m);
}

template <typename T>
GeoResult<T> list_extract(PyObject* list, std::size_t index) {
    auto item = list_item(list, index);
    if (!item) return std::unexpected(std::move(item.error()));
    auto value = FromPy<T>::convert(item->get());
    if (!value) return std::unexpected(carry(std::move(value.error())));
    return *value;
}
template GeoResult<double> list_extract<double>(PyObject*, std::size_t);
template GeoResult<uint8_t> list_extract<uint8_t>(PyObject*, std::size_t);

binding::PyResult<std::string_view> get_py_str(PyObject* object) {
    if (PyUnicode_Check(object)) return FromPy<std::string_view>::convert(object);
    if (PyBytes_Check(object)) {
        std::string_view text(PyBytes_AS_STRING(object), std::size_t(PyBytes_GET_SIZE(object)));
        // Decoding only validates: the bytes themselves are the text.
        Ref decoded = Ref::steal(PyUnicode_DecodeUTF8(text.data(), Py_ssize_t(text.size()), "strict"));
        if (!decoded) return binding::fail();
        return text;
    }
    return binding::fail(PyExc_TypeError, "get_py_str was given an object that was not str or bytes");
}

}  // namespace vornix::python::common
