#include "geometry/multipart_builder.h"

namespace geometry::multipart_builder {

void detail::set_parts(KX_GeometryBuilderHandle builder, const mutable_part_collection::MutablePartCollection& parts) {
    call_or_stop(NAMED_ENGINE_CALL(MultipartBuilder_setParts, builder, parts.handle()));
}

}  // namespace geometry::multipart_builder
