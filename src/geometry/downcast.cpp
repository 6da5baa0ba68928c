#include "geometry/downcast.h"

namespace geometry::downcast::detail {

int32_t geometry_kind(KX_GeometryHandle geometry, Narrowing narrowing) {
    auto code = call(ENGINE_CALL(Geometry_getObjectType, geometry));
    if (!code) {
        if (narrowing == Narrowing::Borrowing)
            stop_with("Internal error: Unexpectedly failed to get object type for downcast_ref of GeometryOwned",
                      code.error());
        stop_with(std::string("Internal error: Unexpected error returned from ")
                      .append(ENGINE_FUNCTION_NAME(Geometry_getObjectType))
                      .append(" for downcast of GeometryOwned"),
                  code.error());
    }
    return *code;
}

int32_t segment_kind(KX_SegmentHandle segment) {
    auto code = call(ENGINE_CALL(Segment_getObjectType, segment));
    if (!code)
        stop_with("Internal error: Unexpectedly failed to get object type for downcast_ref of SegmentOwned",
                  code.error());
    return *code;
}

}  // namespace geometry::downcast::detail
