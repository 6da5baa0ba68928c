#include "ops/from_geos.h"

#include <algorithm>
#include <cmath>

#include "model/engine_error.h"
#include "model/multipart.h"
#include "model/multipoint.h"
#include "model/point.h"

namespace ops {

std::vector<model::Vertex> sequence_vertices(const GEOSCoordSequence* seq, const char* what) {
    unsigned size = 0;
    if (seq == nullptr || GEOSCoordSeq_getSize_r(geos(), seq, &size) == 0) geos_failed(what);
    std::vector<model::Vertex> out(size);
    if (size > 0 && GEOSCoordSeq_copyToBuffer_r(geos(), seq, &out.front().x, 1, 1) == 0) geos_failed(what);
    return out;
}

std::vector<model::Vertex> line_vertices(const GEOSGeometry* line, const char* what) {
    return sequence_vertices(GEOSGeom_getCoordSeq_r(geos(), line), what);
}

namespace {

using model::Vertex;

class Reader {
public:
    Reader(const ResultShape& shape, const VertexAttributes& attributes) : shape_(shape), attributes_(attributes) {}

    void read(const GEOSGeometry* g) {
        switch (GEOSGeomTypeId_r(geos(), g)) {
            case GEOS_POINT:
                if (wanted(0) && GEOSisEmpty_r(geos(), g) == 0) {
                    auto v = vertices(GEOSGeom_getCoordSeq_r(geos(), g), false);
                    if (!v.empty()) points_.push_back(v.front());
                }
                break;
            case GEOS_LINESTRING:
            case GEOS_LINEARRING:
                if (wanted(1)) add_path(GEOSGeom_getCoordSeq_r(geos(), g));
                break;
            case GEOS_POLYGON:
                if (wanted(2) && GEOSisEmpty_r(geos(), g) == 0) add_polygon(g);
                break;
            default:  // collections
                for (int i = 0, n = GEOSGetNumGeometries_r(geos(), g); i < n; ++i)
                    read(GEOSGetGeometryN_r(geos(), g, i));
        }
    }

    std::unique_ptr<model::Geometry> result() {
        std::unique_ptr<model::Geometry> g;
        switch (shape_.kind) {
            case model::GeometryKind::Point:
                g = std::make_unique<model::Point>(points_.empty() ? Vertex{} : points_.front(), shape_.dims);
                break;
            case model::GeometryKind::Multipoint:
                g = std::make_unique<model::Multipoint>(std::move(points_), shape_.dims);
                break;
            case model::GeometryKind::Polyline:
            case model::GeometryKind::Polygon:
                g = std::make_unique<model::Multipart>(shape_.kind, std::move(parts_), shape_.dims);
                break;
            case model::GeometryKind::Envelope:
                throw model::EngineError(model::kInternal, "An envelope cannot be read from a computed geometry.");
        }
        g->set_spatial_reference(shape_.spatial_reference);
        return g;
    }

private:
    bool wanted(int dimension) const { return dimension_of(shape_.kind) == dimension; }

    std::vector<Vertex> vertices(const GEOSCoordSequence* seq, bool ring) const {
        std::vector<Vertex> out = sequence_vertices(seq, "reading a result");
        if (!shape_.dims.has_z)
            for (auto& v : out) v.z = model::kNaN;
        if (shape_.dims.has_z || shape_.dims.has_m) attributes_.restore(out, ring);
        for (auto& v : out) {
            if (!shape_.dims.has_z) v.z = model::kNaN;
            if (!shape_.dims.has_m) v.m = model::kNaN;
        }
        return out;
    }

    model::Part part(std::vector<Vertex> v, bool ring) const {
        model::Part p;
        p.points = std::move(v);
        p.ring = ring;
        p.dims = shape_.dims;
        return p;
    }

    void add_path(const GEOSCoordSequence* seq) {
        auto v = vertices(seq, false);
        if (v.size() >= 2) parts_.push_back(part(std::move(v), false));
    }

    void add_ring(const GEOSGeometry* ring, bool exterior) {
        const GEOSCoordSequence* seq = GEOSGeom_getCoordSeq_r(geos(), ring);
        auto v = vertices(seq, true);
        if (v.size() < 4) return;
        char ccw = 0;
        GEOSCoordSeq_isCCW_r(geos(), seq, &ccw);
        if ((ccw != 0) == exterior) std::reverse(v.begin(), v.end());
        v.pop_back();  // stored without the closing vertex
        parts_.push_back(part(std::move(v), true));
    }

    void add_polygon(const GEOSGeometry* polygon) {
        add_ring(GEOSGetExteriorRing_r(geos(), polygon), true);
        for (int i = 0, n = GEOSGetNumInteriorRings_r(geos(), polygon); i < n; ++i)
            add_ring(GEOSGetInteriorRingN_r(geos(), polygon, i), false);
    }

    const ResultShape& shape_;
    const VertexAttributes& attributes_;
    std::vector<Vertex> points_;
    std::vector<model::Part> parts_;
};

}  // namespace

int dimension_of(model::GeometryKind kind) {
    switch (kind) {
        case model::GeometryKind::Point:
        case model::GeometryKind::Multipoint:
            return 0;
        case model::GeometryKind::Polyline:
            return 1;
        case model::GeometryKind::Polygon:
        case model::GeometryKind::Envelope:
            return 2;
    }
    return 0;
}

model::GeometryKind kind_of_dimension(int dimension) {
    switch (dimension) {
        case 1:
            return model::GeometryKind::Polyline;
        case 2:
            return model::GeometryKind::Polygon;
        default:
            return model::GeometryKind::Multipoint;
    }
}

std::unique_ptr<model::Geometry> from_geos(const GEOSGeometry* g, const ResultShape& shape,
                                           const VertexAttributes& attributes) {
    Reader reader(shape, attributes);
    reader.read(g);
    return reader.result();
}

std::unique_ptr<model::Geometry> empty_geometry(const ResultShape& shape) {
    const VertexAttributes none;
    return Reader(shape, none).result();
}

}  // namespace ops
