// `Multipart`: the parts of an engine polyline or polygon, for reading it back.
#pragma once

#include "geometry/immutable_part_collection_iter.h"

namespace geometry::multipart {

namespace detail {
immutable_part_collection::ImmutablePartCollection parts(KX_GeometryHandle multipart);
}

template <typename Self>
class Multipart {
public:
    immutable_part_collection::ImmutablePartCollection parts() const {
        return detail::parts(static_cast<const Self&>(*this).handle());
    }
};

}  // namespace geometry::multipart
