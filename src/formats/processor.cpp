#include "formats/processor.h"

namespace formats {

Vertex VertexRun::at(std::size_t i) const {
    const std::uint8_t* p = data + i * vertex_bytes();
    Vertex v{load_double(p, swapped), load_double(p + 8, swapped), {}, {}};
    if (has_z) v.z = load_double(p + 16, swapped);
    if (has_m) v.m = load_double(p + (has_z ? 24 : 16), swapped);
    return v;
}

Status Processor::vertices(const VertexRun& run) {
    for (std::size_t i = 0; i < run.count; ++i) {
        const Vertex v = run.at(i);
        if (auto s = coordinate(v.x, v.y, v.z, v.m, i); !s) return s;
    }
    return {};
}

}  // namespace formats
