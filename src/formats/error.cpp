#include "formats/error.h"

namespace vornix::utils::reader {

std::string Error::display() const {
    switch (kind) {
        case Kind::geometry: return "processing geometry `" + text + "`";
        case Kind::io: return "I/O error `" + text + "`";
        case Kind::geometry_format: break;
        case Kind::not_implemented: return text;
    }
    return "geometry format";
}

}  // namespace vornix::utils::reader
