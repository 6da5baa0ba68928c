// `MultipartBuilder`: the builders of polylines and polygons, which take a part collection.
#pragma once

#include <string_view>

#include "geometry/environment.h"
#include "geometry/geometry_builder.h"
#include "geometry/mutable_part_collection.h"

namespace geometry::multipart_builder {

namespace detail {
void set_parts(KX_GeometryBuilderHandle builder, const mutable_part_collection::MutablePartCollection& parts);
}

template <typename Self>
class MultipartBuilder {
public:
    // The builder keeps what it needs: the collection may be destroyed right after.
    void set_parts(const mutable_part_collection::MutablePartCollection& parts) const {
        detail::set_parts(static_cast<const Self&>(*this).handle(), parts);
    }
};

// A polyline or polygon builder, made by the engine function `Create` (named `CreateFunction`).
template <handle::FixedString Name, auto Create, handle::FixedString CreateFunction>
class MultipartGeometryBuilder
    : public handle::Owner<MultipartGeometryBuilder<Name, Create, CreateFunction>,
                           &bindings::CorvaneFFI::KX_GeometryBuilder_destroy, Name, "GeometryBuilder">,
      public geometry_builder::GeometryBuilder<MultipartGeometryBuilder<Name, Create, CreateFunction>>,
      public MultipartBuilder<MultipartGeometryBuilder<Name, Create, CreateFunction>> {
    using Base = handle::Owner<MultipartGeometryBuilder, &bindings::CorvaneFFI::KX_GeometryBuilder_destroy, Name,
                               "GeometryBuilder">;

public:
    using Base::Base;

    // With the spatial reference (null for none).
    static MultipartGeometryBuilder with_spatial_reference(const spatial_reference::SpatialReference* sr) {
        environment::init();
        return handle::create_or_stop<MultipartGeometryBuilder>(
            CreateFunction.view(), [&](const KX_ErrorCallbackRecord* rec) {
                return (bindings::ffi().*Create)(handle::raw_or_null(sr), rec);
            });
    }
};

}  // namespace geometry::multipart_builder
