#include "geometry/multipoint.h"

namespace geometry::multipoint {

immutable_point_collection::ImmutablePointCollection Multipoint::points() const {
    return handle::create_or_stop<immutable_point_collection::ImmutablePointCollection>(
        NAMED_ENGINE_CALL(Multipoint_getPoints, handle()));
}

}  // namespace geometry::multipoint
