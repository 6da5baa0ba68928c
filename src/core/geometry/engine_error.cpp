// Kept apart from errors.cpp so that model code that never meets the engine links without the
// engine binding.
#include "core/geometry/errors.h"
#include "geometry/error.h"

namespace core::geometry {

VeltGeoErr VeltGeoErr::from_engine(const ::geometry::Error& error) {
    return VeltGeoErr(ErrorKind::CorvaneLibrary, error.display());
}

}  // namespace core::geometry
