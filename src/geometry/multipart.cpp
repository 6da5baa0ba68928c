#include "geometry/multipart.h"

namespace geometry::multipart {

immutable_part_collection::ImmutablePartCollection detail::parts(KX_GeometryHandle multipart) {
    return handle::create_or_stop<immutable_part_collection::ImmutablePartCollection>(
        NAMED_ENGINE_CALL(Multipart_getParts, multipart));
}

}  // namespace geometry::multipart
