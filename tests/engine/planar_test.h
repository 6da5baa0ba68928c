// Helpers of the planar operation tests: GEOS itself as the reference (reading WKT in a context
// of the test's own), engine arrays read into owned geometries, and vectors built from handles.
#pragma once

#include <geos_c.h>

#include <string>
#include <vector>

#include "engine_test.h"

namespace engine_test {

// Shapes shared by the planar tests, as the engine reads them and as GEOS does: clockwise
// exteriors and counter-clockwise holes.
inline constexpr const char* kSquare = R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]]]})";
inline constexpr const char* kSquareWkt = "POLYGON((0 0,0 10,10 10,10 0,0 0))";
inline constexpr const char* kHoled = R"({"rings":[[[0,0],[0,10],[10,10],[10,0],[0,0]],[[2,2],[4,2],[4,4],[2,4],[2,2]]]})";
inline constexpr const char* kHoledWkt = "POLYGON((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))";
inline constexpr const char* kLShape = R"({"rings":[[[0,0],[0,10],[2,10],[2,2],[10,2],[10,0],[0,0]]]})";
inline constexpr const char* kLShapeWkt = "POLYGON((0 0,0 10,2 10,2 2,10 2,10 0,0 0))";

// GEOS, used directly: the answers the engine's results are compared with.
class Reference {
public:
    Reference();
    ~Reference();
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;

    GEOSContextHandle_t context() const { return handle_; }
    // A GEOS geometry of the WKT, owned by this object until it is destroyed.
    const GEOSGeometry* read(const std::string& wkt);
    double area(const GEOSGeometry* g);
    double length(const GEOSGeometry* g);
    const GEOSGeometry* keep(GEOSGeometry* g);

private:
    GEOSContextHandle_t handle_;
    GEOSWKTReader* reader_;
    std::vector<GEOSGeometry*> kept_;
};

int32_t kind_of(KX_GeometryHandle g);
std::vector<Geometry> items_of(KX_ArrayHandle array);
Vector geometry_vector(const std::vector<KX_GeometryHandle>& geometries);
Vector float_vector(const std::vector<double>& values);
double area_of(KX_GeometryHandle g);
double length_of(KX_GeometryHandle g);
bool empty_geometry(KX_GeometryHandle g);
uint64_t part_count(KX_GeometryHandle g);

}  // namespace engine_test
