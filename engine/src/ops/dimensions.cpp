#include "ops/dimensions.h"

#include "ops/vertices.h"

namespace ops {
namespace {

// Applies one change to an ordinate and to the flag saying whether the geometry has it.
void change(double& ordinate, const OrdinateChange& c) {
    if (c.kind != OrdinateChange::Kind::Keep) ordinate = c.value;
}

void change_flag(bool& flag, const OrdinateChange& c) {
    if (c.kind != OrdinateChange::Kind::Keep) flag = c.kind == OrdinateChange::Kind::Set;
}

void change_range(model::Range& r, const OrdinateChange& c) {
    change(r.min, c);
    change(r.max, c);
}

}  // namespace

std::unique_ptr<model::Geometry> with_dimensions(const model::Geometry& geometry, OrdinateChange z, OrdinateChange m) {
    auto result = geometry.clone();
    change_flag(result->dims.has_z, z);
    change_flag(result->dims.has_m, m);
    if (result->kind() == model::GeometryKind::Envelope) {
        auto& e = static_cast<model::Envelope&>(*result);
        // The empty envelope stays empty: it has no ranges to give a value.
        if (!std::isnan(e.x.min)) {
            change_range(e.z, z);
            change_range(e.m, m);
        }
        return result;
    }
    for_each_vertex(*result, [&](model::Vertex& v) {
        change(v.z, z);
        change(v.m, m);
    });
    if (auto* multipart = dynamic_cast<model::Multipart*>(result.get()))
        for (auto& part : multipart->parts) part.dims = result->dims;
    return result;
}

}  // namespace ops
