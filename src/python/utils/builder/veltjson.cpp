#include "python/utils/builder/veltjson.h"

#include <string>

#include "base/fault.h"
#include "python/utils/builder/conversions.h"
#include "python/utils/builder/keys.h"
#include "python/utils/builder/objects.h"
#include "python/utils/is_clockwise.h"

namespace vornix::utils::builder {

using binding::Ref;
using formats::Status;

namespace {

std::string pair_text(bool has_z, bool has_m) {
    return std::string("[") + (has_z ? "true" : "false") + ", " + (has_m ? "true" : "false") + "]";
}

Ref py_float(double v) { return created(PyFloat_FromDouble(v)); }

}  // namespace

Status VeltJsonPyBuilder::push_to_parent(Ref object) {
    return stack_.push_to_parent(std::move(object), empty_stack_text);
}

Status VeltJsonPyBuilder::check_dimensions(bool has_z, bool has_m) {
    if (has_z_ == Flag::unknown || has_m_ == Flag::unknown) {
        has_z_ = has_z ? Flag::yes : Flag::no;
        has_m_ = has_m ? Flag::yes : Flag::no;
        return {};
    }
    const bool known_z = has_z_ == Flag::yes, known_m = has_m_ == Flag::yes;
    if (known_z == has_z && known_m == has_m) return {};
    return to_geozero_err(
        "Coordinate dimension mismatch: all coordinates in a geometry must either all have or all lack Z and M "
        "values. Previously coordinates: (has_z, has_m) = " +
        pair_text(known_z, known_m) + ", current: (has_z, has_m) = " + pair_text(has_z, has_m));
}

// Exterior rings clockwise, holes counter-clockwise; paths outside a polygon stay as they are.
Status VeltJsonPyBuilder::orient_ring(PyObject* ring) {
    if (ring_state_ == RingState::none) return {};
    const bool exterior = ring_state_ == RingState::exterior;
    ring_state_ = RingState::hole;
    auto clockwise = is_clockwise(ring);
    if (!clockwise) return to_geozero_err(clockwise.error());
    if (*clockwise == exterior) return {};
    auto list = as_list(ring);
    if (!list) return to_geozero_err(list.error());
    if (PyList_Reverse(list->get()) < 0) return to_geozero_err(binding::PyErr::fetch());
    return {};
}

Status VeltJsonPyBuilder::add_dimensions(PyObject* geometry) {
    if (has_m_ == Flag::unknown) return to_geozero_err("has_m not initialized");
    if (auto s = set_item(geometry, keys::hasM, Ref::borrow(has_m_ == Flag::yes ? Py_True : Py_False)); !s) return s;
    if (has_z_ == Flag::unknown) return to_geozero_err("has_z not initialized");
    return set_item(geometry, keys::hasZ, Ref::borrow(has_z_ == Flag::yes ? Py_True : Py_False));
}

Status VeltJsonPyBuilder::set_spatial_reference(PyObject* geometry) {
    if (!srid_) return {};
    Ref reference = created(PyDict_New());
    if (auto s = set_item(reference.get(), keys::wkid, created(PyLong_FromLong(*srid_))); !s) return s;
    return set_item(geometry, keys::spatialReference, std::move(reference));
}

// Only a collection could hold a finished geometry, and collections stop at their begin.
Status VeltJsonPyBuilder::finish_tagged(Ref geometry) {
    if (!stack_.empty()) core::stop("not implemented: this should be reached only when inside geometry collection");
    stack_.push(std::move(geometry));
    return {};
}

Status VeltJsonPyBuilder::finish_parts(const binding::Interned& member, Ref value) {
    Ref d = created(PyDict_New());
    if (auto s = set_item(d.get(), member, std::move(value)); !s) return s;
    if (auto s = add_dimensions(d.get()); !s) return s;
    if (auto s = set_spatial_reference(d.get()); !s) return s;
    return finish_tagged(std::move(d));
}

Status VeltJsonPyBuilder::close_geometry(const binding::Interned& member) {
    Ref list;
    if (auto s = stack_.pop(list); !s) return s;
    return finish_parts(member, std::move(list));
}

Status VeltJsonPyBuilder::coordinate(double x, double y, std::optional<double> z, std::optional<double> m,
                                     std::size_t) {
    if (point_mode_) {
            Ref d = created(PyDict_New());
        if (auto s = set_item(d.get(), keys::x, py_float(x)); !s) return s;
        if (auto s = set_item(d.get(), keys::y, py_float(y)); !s) return s;
        if (z)
            if (auto s = set_item(d.get(), keys::z, py_float(*z)); !s) return s;
        if (m)
            if (auto s = set_item(d.get(), keys::m, py_float(*m)); !s) return s;
        stack_.push(std::move(d));
        return {};
    }
    Ref tuple = vertex_tuple(x, y, z, m);
    if (auto s = check_dimensions(z.has_value(), m.has_value()); !s) return s;
    return push_to_parent(std::move(tuple));
}

// As `coordinate` would, vertex by vertex, outside a point: the vertices of a run share their
// dimensions, so the first one's check stands for all.
Status VeltJsonPyBuilder::vertices(const formats::VertexRun& run) {
    if (point_mode_ || run.count == 0) return Processor::vertices(run);
    if (auto s = check_dimensions(run.has_z, run.has_m); !s) return s;
    return stack_.push_vertices_to_parent(run, empty_stack_text);
}

Status VeltJsonPyBuilder::empty_point(std::size_t idx) {
    Ref d = created(PyDict_New());
    if (auto s = set_item(d.get(), keys::x, Ref::borrow(Py_None)); !s) return s;
    if (auto s = set_spatial_reference(d.get()); !s) return s;
    if (idx != 0 || !stack_.empty()) return push_to_parent(std::move(d));
    stack_.push(std::move(d));
    return {};
}

Status VeltJsonPyBuilder::point_end(std::size_t) {
    point_mode_ = false;
    Ref d;
    if (auto s = stack_.pop(d); !s) return s;
    if (!PyDict_Check(d.get())) return to_geozero_err(d.get(), "dict");
    if (auto s = set_spatial_reference(d.get()); !s) return s;
    return finish_tagged(std::move(d));
}

Status VeltJsonPyBuilder::linestring_begin(bool, std::size_t, std::size_t) { return open_list(); }

Status VeltJsonPyBuilder::linestring_end(bool tagged, std::size_t) {
    Ref list;
    if (auto s = stack_.pop(list); !s) return s;
    if (tagged) {
        Ref paths = created(PyList_New(1));
        PyList_SET_ITEM(paths.get(), 0, list.release());
        return finish_parts(keys::paths, std::move(paths));
    }
    if (auto s = orient_ring(list.get()); !s) return s;
    return push_to_parent(std::move(list));
}

// The rings of a multipolygon's members go straight into the multipolygon's own list.
Status VeltJsonPyBuilder::polygon_begin(bool tagged, std::size_t, std::size_t) {
    if (tagged) stack_.push(created(PyList_New(0)));
    ring_state_ = RingState::exterior;
    return {};
}

Status VeltJsonPyBuilder::polygon_end(bool tagged, std::size_t) {
    if (tagged)
        if (auto s = close_geometry(keys::rings); !s) return s;
    ring_state_ = RingState::none;
    return {};
}

Status VeltJsonPyBuilder::multipoint_begin(std::size_t, std::size_t) { return open_list(); }

Status VeltJsonPyBuilder::multipoint_end(std::size_t) {
    Ref list;
    if (auto s = stack_.pop(list); !s) return s;
    Ref d = created(PyDict_New());
    if (auto s = add_dimensions(d.get()); !s) return s;
    if (auto s = set_item(d.get(), keys::points, std::move(list)); !s) return s;
    if (auto s = set_spatial_reference(d.get()); !s) return s;
    return finish_tagged(std::move(d));
}

Status VeltJsonPyBuilder::multilinestring_begin(std::size_t, std::size_t) { return open_list(); }
Status VeltJsonPyBuilder::multilinestring_end(std::size_t) { return close_geometry(keys::paths); }
Status VeltJsonPyBuilder::multipolygon_begin(std::size_t, std::size_t) { return open_list(); }
Status VeltJsonPyBuilder::multipolygon_end(std::size_t) { return close_geometry(keys::rings); }

// VeltJSON has no collections. Ordinary input may hold one, so it is refused as an error the
// caller can catch, not as a fault.
Status VeltJsonPyBuilder::geometrycollection_begin(std::size_t, std::size_t) {
    return formats::Error::not_implemented();
}
Status VeltJsonPyBuilder::geometrycollection_end(std::size_t) { return formats::Error::not_implemented(); }

}  // namespace vornix::utils::builder
