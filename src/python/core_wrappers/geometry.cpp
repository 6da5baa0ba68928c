#include "python/core_wrappers/geometry.h"

#include <cstdint>
#include <new>
#include <optional>
#include <string_view>

#include "base/fault.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/factory.h"
#include "python/core_wrappers/item_slots.h"
#include "python/core_wrappers/model_object.h"
#include "python/core_wrappers/multipoint.h"
#include "python/core_wrappers/point.h"
#include "python/core_wrappers/polygon.h"
#include "python/core_wrappers/polyline.h"

namespace vornix::python {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using ::geometry::geometry::GeometryOwned;

namespace {

// The protocol's method and attribute names.
const binding::Interned kKxcGeoName{"__kxc_geo"}, kJsonName{"JSON"};

PyResult<Ref> base_kxc_geo(PyObject*) {
    return fail(PyExc_Exception, "Uninitialized vornix_geometry.Geometry cannot be used for geometry operations");
}

PyResult<Ref> to_dict(PyObject* self) {
    PyObject* name = kJsonName.object();
    if (name == nullptr) return fail();
    auto text = binding::checked(PyObject_GetAttr(self, name));
    if (!text) return text;
    if (!PyUnicode_Check(text->get())) return fail(binding::cast_error(text->get(), "str"));
    auto json = binding::checked(PyImport_ImportModule("json"));
    if (!json) return json;
    auto loads = binding::checked(PyObject_GetAttrString(json->get(), "loads"));
    if (!loads) return loads;
    auto result = binding::checked(PyObject_CallOneArg(loads->get(), text->get()));
    if (!result) return result;
    if (!PyDict_Check(result->get())) return fail(binding::cast_error(result->get(), "dict"));
    return result;
}

// The base setters refuse every bool; their value converts as the argument `_value`.
template <const char* Message>
PyResult<void> refuse_dims_change(PyObject*, bool) {
    return fail(PyExc_Exception, Message);
}
constexpr char kHasZMessage[] =
    "Cannot change has_z as this would cause metadata not to match the actual data structure";
constexpr char kHasMMessage[] =
    "Cannot change has_m as this would cause metadata not to match the actual data structure";

constexpr binding::Params kKxcGeoParams{"Geometry.__kxc_geo", {}};
constexpr binding::Params kToDictParams{"Geometry.to_dict", {}};

}  // namespace

namespace {

template <typename T>
void append(std::vector<T>& table, const std::vector<T>& group) {
    table.insert(table.end(), group.begin(), group.end());
}

// The engine-backed members handed over by the operations, and whether the type has been made
// from them already.
struct OperationMembers {
    std::vector<PyMethodDef> methods;
    std::vector<PyGetSetDef> getsets;
    bool used = false;
};

OperationMembers& operation_members() {
    static OperationMembers members;
    return members;
}

}  // namespace

void set_operation_members(std::vector<PyMethodDef> methods, std::vector<PyGetSetDef> getsets) {
    OperationMembers& members = operation_members();
    if (members.used) core::stop("Internal error: Geometry members set after its type was made");
    members.methods = std::move(methods);
    members.getsets = std::move(getsets);
}

binding::ClassSpec PyGeometry::class_spec() {
    binding::ClassSpec spec{
        .name = "vornix_geometry.Geometry",
        .doc = "Geometry()\n--\n\n",
        .methods = {binding::method<kKxcGeoParams, base_kxc_geo>("__kxc_geo($self)\n--\n\n"),
                    binding::method<kToDictParams, to_dict>("to_dict($self)\n--\n\n")},
        .getsets = {named_setter<refuse_dims_change<kHasZMessage>>("has_z", "_value"),
                    named_setter<refuse_dims_change<kHasMMessage>>("has_m", "_value")},
        .constructor = &geom_factory_new,
        .subclassable = true,
    };
    OperationMembers& members = operation_members();
    members.used = true;
    append(spec.methods, members.methods);
    append(spec.getsets, members.getsets);
    return spec;
}

binding::ClassSpec KXCGeo::class_spec() {
    return {.name = "vornix_geometry.KXCGeo"};
}

PyResult<PyTypeObject*> geometry_type() { return binding::Type<PyGeometry>::get(); }

PyResult<Ref> new_kxc_geo(GeometryOwned geometry) {
    // The holder owns the geometry from here: a failed creation destroys it with the holder value.
    KXCGeo holder{std::make_unique<core::PoisonMutex<std::optional<GeometryOwned>>>(std::move(geometry))};
    return binding::Type<KXCGeo>::wrap(std::move(holder));
}

namespace {

PyResult<GeometryOwned> take_from_holder(PyObject* result) {
    KXCGeo* holder = binding::Type<KXCGeo>::value_of(result);
    if (holder == nullptr) return fail(binding::cast_error(result, "KXCGeo"));
    auto guard = holder->geometry->lock();
    if (!guard) core::stop("Lock poisoned");
    std::optional<GeometryOwned> taken = std::exchange(**guard, std::nullopt);
    if (!taken) core::stop("Internal error: KXCGeo holder was already taken");
    return std::move(*taken);
}

// An object of exactly one of the module's classes, whose __kxc_geo is still that class's own,
// has its engine geometry made from its model here, as that method would make it, without the call
// through Python; none for any other object (a subclass keeps the protocol).
template <typename T>
bool made_directly(PyObject* object, PyObject* name, core::geometry::EngineSrMemo* memo,
                   std::optional<PyResult<GeometryOwned>>& made) {
    T* value = binding::Type<T>::exact_value_of(object);
    if (value == nullptr || !binding::has_own_method(Py_TYPE(object), name)) return false;
    made = model_object::engine_geometry_owned(*value, memo);
    return true;
}

// How far below a model's own cell the cells made just before it are looked for; measured on
// polygons of one ring, whose part, part data and collections lie within this stretch.
constexpr std::uintptr_t kCellsBelow = 512;
constexpr std::uintptr_t kCacheLine = 64;

template <typename T>
bool prefetched(PyObject* object) {
    const T* value = binding::Type<T>::exact_value_of(object);
    if (value == nullptr) return false;
    // Addresses as integers: the stretch is only named to the cache, never reached as an object.
    const auto cell = reinterpret_cast<std::uintptr_t>(value->model.get());
    for (std::uintptr_t line = cell - kCellsBelow; line < cell + sizeof(*value->model); line += kCacheLine)
        __builtin_prefetch(reinterpret_cast<const void*>(line));
    return true;
}

template <typename... Classes>
std::optional<PyResult<GeometryOwned>> direct_engine_geometry(PyObject* object, PyObject* name,
                                                              core::geometry::EngineSrMemo* memo) {
    std::optional<PyResult<GeometryOwned>> made;
    (made_directly<Classes>(object, name, memo, made) || ...);
    return made;
}

}  // namespace

void prefetch_model(PyObject* object) {
    (prefetched<PyPolygon>(object) || prefetched<PyPolyline>(object) || prefetched<PyPoint>(object) ||
     prefetched<PyMultiPoint>(object) || prefetched<PyEnvelope>(object));
}

PyResult<GeometryOwned> geom_from_pyobj(PyObject* object, core::geometry::EngineSrMemo* memo) {
    auto type = geometry_type();
    if (!type) return fail(std::move(type.error()));
    Ref made;
    if (!PyObject_TypeCheck(object, *type)) {
        auto built = factory::geometry(object);
        if (!built) return fail(std::move(built.error()));
        made = std::move(*built);
        object = made.get();
    }
    PyObject* name = kKxcGeoName.object();
    if (name == nullptr) return fail();
    if (auto made =
            direct_engine_geometry<PyPolygon, PyPolyline, PyPoint, PyMultiPoint, PyEnvelope>(object, name, memo))
        return std::move(*made);
    Ref result = Ref::steal(PyObject_CallMethodNoArgs(object, name));
    if (!result) {
        if (!PyErr_Occurred()) return fail(PyExc_SystemError, "attempted to fetch exception but none was set");
        return fail();
    }
    return take_from_holder(result.get());
}

PyObject* geom_factory_new(PyTypeObject*, PyObject* args, PyObject*) {
    return binding::guard([&]() -> PyResult<Ref> {
        if (PyTuple_GET_SIZE(args) != 1) return fail(PyExc_TypeError, "Geometry expects 1 argument");
        try {
            return factory::geometry(PyTuple_GET_ITEM(args, 0));
        } catch (const std::bad_alloc&) {
            throw;  // MemoryError, as everywhere
        } catch (const std::exception&) {
            return fail(PyExc_RuntimeError, "In vornix_geometry.Geometry factory new (geom_factory_new): caught panic");
        }
    });
}

}  // namespace vornix::python
