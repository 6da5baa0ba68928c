#include "core/geometry/spatial_reference.h"

#include <string_view>

namespace core::geometry {

namespace {

void write_json_string(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\f': out += "\\f"; break;
            case '\r': out += "\\r"; break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
}

}  // namespace

void SpatialReference::write_veltjson(std::string& out) const {
    bool first = true;
    auto key = [&](std::string_view name) {
        out += first ? "\"" : ",\"";
        first = false;
        out += name;
        out += "\":";
    };
    out += '{';
    const std::pair<std::string_view, const std::optional<uint32_t>*> ids[] = {
        {"wkid", &wkid}, {"latestWkid", &latest_wkid}, {"vcsWkid", &vcs_wkid}, {"latestVcsWkid", &latest_vcs_wkid}};
    for (const auto& [name, value] : ids) {
        if (!*value) continue;
        key(name);
        out += std::to_string(**value);
    }
    const std::pair<std::string_view, const std::optional<std::string>*> texts[] = {{"wkt", &wkt}, {"wkt2", &wkt2}};
    for (const auto& [name, value] : texts) {
        if (!*value) continue;
        key(name);
        write_json_string(out, **value);
    }
    out += '}';
}

}  // namespace core::geometry
