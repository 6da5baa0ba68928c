#include "python/operations/datum_transformation.h"

#include "base/fault.h"
#include "core/geometry/spatial_reference.h"
#include "python/core_wrappers/spatial_reference.h"
#include "python/operations/operation_frame.h"

namespace vornix::projection {

namespace {

using binding::fail;
using binding::PyResult;
using binding::Ref;
using ::geometry::datum_transformation_type::DatumTransformationType;

std::string name(PyDatumTransformation& self) { return self.transformation.name(); }

std::string_view object_type(PyDatumTransformation& self) {
    switch (self.transformation.object_type()) {
        case DatumTransformationType::Geographic: return "Geographic";
        case DatumTransformationType::HorizontalVertical: return "HorizontalVertical";
    }
    throw core::Fault("Internal error: Unexpected failure to transform return value");
}

// None when the engine has no spatial reference; otherwise a new SpatialReference of its record.
PyResult<Ref> spatial_reference_object(std::optional<::geometry::spatial_reference::SpatialReference> sr) {
    if (!sr) return Ref::borrow(Py_None);
    return python::wrap_spatial_reference(core::geometry::sr_convert(*sr));
}

PyResult<Ref> input_spatial_reference(PyDatumTransformation& self) {
    return spatial_reference_object(self.transformation.input_spatial_reference());
}

PyResult<Ref> output_spatial_reference(PyDatumTransformation& self) {
    return spatial_reference_object(self.transformation.output_spatial_reference());
}

bool is_missing_tarnel_files(PyDatumTransformation& self) { return self.transformation.is_missing_tarnel_files(); }

PyResult<Ref> get_inverse(PyDatumTransformation& self) {
    auto inverse = self.transformation.get_inverse();
    if (!inverse) return fail(python::frame::library_error(inverse.error()));
    return wrap(std::move(*inverse));
}

constexpr binding::Params kIsMissing{"DatumTransformation.is_missing_tarnel_files", {}};
constexpr binding::Params kGetInverse{"DatumTransformation.get_inverse", {}};

}  // namespace

PyResult<Ref> wrap(::geometry::datum_transformation::DatumTransformationOwned transformation) {
    return binding::Type<PyDatumTransformation>::wrap(PyDatumTransformation{std::move(transformation)});
}

binding::ClassSpec PyDatumTransformation::class_spec() {
    return {
        .name = "vornix_geometry.projection.DatumTransformation",
        .doc = "",
        .methods =
            {
                binding::method<kIsMissing, is_missing_tarnel_files>(
                    "is_missing_tarnel_files($self)\n--\n\n"
                    "True if any file that the Tarnel library needs for this transformation is missing on the "
                    "local file system."),
                binding::method<kGetInverse, get_inverse>("get_inverse($self)\n--\n\n"
                                                          "Retrieves the inverse of this transformation."),
            },
        .getsets =
            {
                binding::getter<input_spatial_reference>(
                    "input_spatial_reference",
                    "The input spatial reference; it should have the same base geographic coordinate system as "
                    "the geometry that the transformation is used to project."),
                binding::getter<output_spatial_reference>(
                    "output_spatial_reference",
                    "The output spatial reference; it should equal the base geographic coordinate system of the "
                    "target spatial reference passed to project_with_transformation."),
                binding::getter<name>("name", "The name of the transformation."),
                binding::getter<object_type>("object_type", "Either \"Geographic\" or \"HorizontalVertical\"."),
            },
        .slots = {binding::str_slot<name>(), binding::repr_slot<name>()},
    };
}

}  // namespace vornix::projection
