#include "api/planar_api.h"

#include "model/array.h"
#include "model/vector.h"

namespace api {
namespace {

const model::Vector& vector_of(KX_VectorHandle handle, model::ElementType type, const char* what) {
    const auto& v = object<model::Vector>(handle, model::ClassTag::Vector);
    if (v.type() != type) throw model::EngineError(model::kInvalidArgument, "Invalid vector.", std::string("Expected a vector of ") + what + ".");
    return v;
}

}  // namespace

std::vector<const model::Geometry*> geometries_of(KX_VectorHandle vector) {
    std::vector<const model::Geometry*> out;
    for (const auto& item : vector_of(vector, model::ElementType::Geometry, "geometries").items())
        out.push_back(&item.geometry());
    return out;
}

std::vector<double> floats_of(KX_VectorHandle vector) {
    std::vector<double> out;
    for (const auto& item : vector_of(vector, model::ElementType::Float64, "numbers").items())
        out.push_back(item.float64());
    return out;
}

KX_ArrayHandle new_array(ops::Geometries geometries) {
    return handle_of<KX_ArrayHandle>(model::Array::of_geometries(std::move(geometries)).release());
}

}  // namespace api
