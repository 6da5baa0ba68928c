#include "formats/error.h"

#include "base/kept_texts.h"

namespace formats {

std::string Error::display() const {
    using namespace core::kept_texts;
    switch (kind) {
        case Kind::geometry: return std::string(processing_geometry_open).append(text).append(quoted_close);
        case Kind::io: return std::string(io_error_open).append(text).append(quoted_close);
        case Kind::geometry_format: break;
        case Kind::not_implemented: return text;
    }
    return std::string(geometry_format);
}

}  // namespace formats
