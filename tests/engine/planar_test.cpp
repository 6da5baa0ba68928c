#include "planar_test.h"

namespace engine_test {

Reference::Reference() : handle_(GEOS_init_r()), reader_(GEOSWKTReader_create_r(handle_)) {}

Reference::~Reference() {
    for (auto* g : kept_) GEOSGeom_destroy_r(handle_, g);
    GEOSWKTReader_destroy_r(handle_, reader_);
    GEOS_finish_r(handle_);
}

const GEOSGeometry* Reference::keep(GEOSGeometry* g) {
    EXPECT_NE(g, nullptr);
    kept_.push_back(g);
    return g;
}

const GEOSGeometry* Reference::read(const std::string& wkt) { return keep(GEOSWKTReader_read_r(handle_, reader_, wkt.c_str())); }

double Reference::area(const GEOSGeometry* g) {
    double a = 0;
    GEOSArea_r(handle_, g, &a);
    return a;
}

double Reference::length(const GEOSGeometry* g) {
    double l = 0;
    GEOSLength_r(handle_, g, &l);
    return l;
}

int32_t kind_of(KX_GeometryHandle g) { return KX_Geometry_getObjectType(g, ok()); }

std::vector<Geometry> items_of(KX_ArrayHandle array) {
    Array owned(array);
    std::vector<Geometry> out;
    for (uint64_t i = 0; i < KX_Array_getSize(array, ok()); ++i) {
        Element e(KX_Array_at(array, i, ok()));
        out.emplace_back(KX_Element_getValueAsGeometry(e.get(), ok()));
    }
    return out;
}

Vector geometry_vector(const std::vector<KX_GeometryHandle>& geometries) {
    Vector v(KX_Vector_create(50, ok()));
    for (auto* g : geometries) {
        Element e(KX_Element_create(ok()));
        KX_Element_setValueFromGeometry(e.get(), g, ok());
        KX_Vector_add(v.get(), e.get(), ok());
    }
    return v;
}

Vector float_vector(const std::vector<double>& values) {
    Vector v(KX_Vector_create(43, ok()));
    for (double d : values) {
        Element e(KX_Element_create(ok()));
        KX_Element_setValueFromFloat64(e.get(), d, ok());
        KX_Vector_add(v.get(), e.get(), ok());
    }
    return v;
}

double area_of(KX_GeometryHandle g) { return KX_GeometryEngine_area(g, ok()); }
double length_of(KX_GeometryHandle g) { return KX_GeometryEngine_length(g, ok()); }

bool empty_geometry(KX_GeometryHandle g) {
    Geometry extent(KX_Geometry_getExtent(g, ok()));
    return std::isnan(KX_Envelope_getXMin(extent.get(), ok()));
}

uint64_t part_count(KX_GeometryHandle g) {
    ImmutableParts parts(KX_Multipart_getParts(g, ok()));
    return KX_ImmutablePartCollection_getSize(parts.get(), ok());
}

}  // namespace engine_test
