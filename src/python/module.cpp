// PyInit_vornix_geometry: builds the module and registers, in this order, the module-level
// functions, the classes, the submodules `projection` and `utils`, then runs module_init.
// Registration is driven by the two tables below; each name added also goes into __all__.
#include <cstdint>
#include <optional>

#include "python/binding/binding.h"
#include "python/core_wrappers/area_unit.h"
#include "python/core_wrappers/curve_multipart.h"
#include "python/core_wrappers/enums.h"
#include "python/core_wrappers/envelope.h"
#include "python/core_wrappers/geometry.h"
#include "python/core_wrappers/geometry_extend_options.h"
#include "python/core_wrappers/multipart.h"
#include "python/core_wrappers/multipoint.h"
#include "python/core_wrappers/part_view.h"
#include "python/core_wrappers/point.h"
#include "python/core_wrappers/polygon.h"
#include "python/core_wrappers/polyline.h"
#include "python/core_wrappers/segment.h"
#include "python/core_wrappers/spatial_reference.h"
#include "python/module_init.h"
#include "python/operations/collection_functions.h"
#include "python/operations/operations.h"
#include "python/operations/projection.h"
#include "python/utils/submodule.h"

namespace vornix {

namespace {

using binding::PyResult;
using binding::Ref;

// The classes, in the byte order of their names, capitals before small letters (AreaUnit ...
// SpatialReference; MultiPoint before Multipart). Each entry is binding::add_class<T>, which
// creates the type, its base first.
const std::vector<PyResult<void> (*)(PyObject*)>& module_classes() {
    static const std::vector<PyResult<void> (*)(PyObject*)> classes = {
        binding::add_class<python::PyAreaUnit>,
        python::add_enum<python::PyAreaUnitId>,
        binding::add_class<python::PyBezierCurve>,
        binding::add_class<python::PyCircularArc>,
        binding::add_class<python::PyCoord>,
        binding::add_class<python::PyCurveMultipart>,
        binding::add_class<python::PyCurvePart>,
        binding::add_class<python::PyCurveSegment>,
        binding::add_class<python::PyEllipticArc>,
        binding::add_class<python::PyEnvelope>,
        python::add_enum<python::PyGeodeticCurveType>,
        binding::add_class<python::PyGeometry>,
        python::add_geometry_extend_options,
        binding::add_class<python::PyLinear>,
        python::add_enum<python::PyLinearUnitId>,
        binding::add_class<python::PyMultiPoint>,
        binding::add_class<python::PyMultipart>,
        binding::add_class<python::PyPart>,
        binding::add_class<python::PyPoint>,
        binding::add_class<python::PyPolygon>,
        binding::add_class<python::PyPolyline>,
        binding::add_class<python::PySegment>,
        binding::add_class<python::PySpatialReference>,
    };
    return classes;
}

struct Submodule {
    const char* name;
    const char* qualified_name;
    const char* doc;
    PyResult<void> (*populate)(PyObject*);
};

// Filled by their own files; stored in sys.modules so that `import vornix_geometry.utils` works.
const Submodule kSubmodules[] = {
    {"projection", "vornix_geometry.projection",
     "Projection and datum transformation utilities for Vornix geometries", &projection::populate},
    {"utils", "vornix_geometry.utils", "Utility functions for Vornix geometries", &utils::populate},
};

PyResult<void> add_submodule(PyObject* module, const Submodule& spec) {
    auto submodule = binding::new_module(spec.name, spec.doc);
    if (!submodule) return binding::fail(std::move(submodule.error()));
    if (auto filled = spec.populate(submodule->get()); !filled) return filled;
    if (auto stored = binding::insert_into_sys_modules(spec.qualified_name, submodule->get()); !stored) return stored;
    return binding::add_submodule(module, submodule->get());
}

PyResult<void> register_all(PyObject* module) {
    python::set_operation_members(python::operations::geometry_methods(), python::operations::geometry_properties());
    for (PyMethodDef& def : collections::module_functions())
        if (auto added = binding::add_function(module, def); !added) return added;
    for (auto add_class : module_classes())
        if (auto added = add_class(module); !added) return added;
    for (const Submodule& spec : kSubmodules)
        if (auto added = add_submodule(module, spec); !added) return added;
    return module_init(module);
}

PyModuleDef kModuleDef = {
    PyModuleDef_HEAD_INIT,
    "vornix_geometry",
    "A high-performance Python library of geographic geometries.",
    0,  // not -1: the interpreter then calls the initialiser again instead of copying the module

    nullptr, nullptr, nullptr, nullptr, nullptr,
};

// The module of the first successful start-up: a second initialisation in the same interpreter
// returns it without registering again. The module keeps process-wide state (type objects, the
// engine), so a second interpreter cannot have its own copy. The interpreter is known by its id:
// a new interpreter may be given the address of one destroyed before it, and would then receive
// that interpreter's dead module. The module is kept as a plain pointer on purpose: a static Ref
// would release its object after the interpreter has been finalised.
PyResult<Ref> initialise() {
    static PyObject* built = nullptr;
    static std::optional<int64_t> owner;
    const int64_t current = PyInterpreterState_GetID(PyInterpreterState_Get());
    if (current < 0) return binding::fail();
    if (owner && *owner != current)
        return binding::fail(PyExc_ImportError, "vornix_geometry can be imported in one interpreter per process only");
    if (built != nullptr) return Ref::borrow(built);
    auto module = binding::checked(PyModule_Create(&kModuleDef));
    if (!module) return module;
    if (auto registered = register_all(module->get()); !registered) return binding::fail(std::move(registered.error()));
    owner = current;
    built = Ref(*module).release();
    return module;
}

}  // namespace

}  // namespace vornix

PyMODINIT_FUNC PyInit_vornix_geometry() { return binding::guard(vornix::initialise); }
