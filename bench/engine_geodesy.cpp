// The engine's geodesy and projection through its C interface against the libraries underneath:
// geodetic area and length of polygons of 10, 100 and 10,000 vertices against GeographicLib's
// PolygonArea and Geodesic::Inverse, and projecting a multipoint of 1,000,000 points from WGS 84
// to Web Mercator against proj_trans_generic over arrays of coordinates. Ratios are printed at the end.
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/PolygonArea.hpp>
#include <benchmark/benchmark.h>
#include <proj.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "geometry/bindings.h"
#include "geometry/environment.h"
#include "ratio_reporter.h"

using geometry::bindings::ffi;

namespace {

constexpr int kProjectedPoints = 1000000;

struct LonLat {
    double lon, lat;
};

// A clockwise ring of n vertices about (10, 50), 5 degrees of radius with a ripple.
std::vector<LonLat> ring(int n) {
    std::vector<LonLat> out;
    for (int i = 0; i < n; ++i) {
        const double a = -2 * M_PI * i / n;
        const double r = 5 + (i % 2 ? 0.5 : 0.0);
        out.push_back({10 + r * std::cos(a), 50 + r * std::sin(a)});
    }
    return out;
}

std::string json_of(const char* key, const std::vector<LonLat>& points, bool close) {
    std::string s = std::string("{\"") + key + "\":[";
    if (close) s += "[";
    for (size_t i = 0; i < points.size(); ++i)
        s.append(i ? ",[" : "[").append(std::to_string(points[i].lon)).append(",").append(std::to_string(points[i].lat)).append("]");
    if (close) s += ",[" + std::to_string(points[0].lon) + "," + std::to_string(points[0].lat) + "]]";
    return s + "],\"spatialReference\":{\"wkid\":4326}}";
}

struct Polygon {
    std::vector<LonLat> points;
    KX_GeometryHandle engine;
};

Polygon& polygon(int n) {
    static std::map<int, Polygon> polygons;
    auto it = polygons.find(n);
    if (it != polygons.end()) return it->second;
    geometry::environment::init();
    Polygon p{ring(n), nullptr};
    p.engine = ffi().KX_Geometry_fromJSON(json_of("rings", p.points, true).c_str(), nullptr);
    return polygons.emplace(n, std::move(p)).first->second;
}

void EngineArea(benchmark::State& state) {
    const auto& p = polygon(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ffi().KX_GeometryEngine_areaGeodetic(p.engine, nullptr, 0, nullptr));
}

void GeographicLibArea(benchmark::State& state) {
    const auto& p = polygon(static_cast<int>(state.range(0)));
    const GeographicLib::Geodesic& geodesic = GeographicLib::Geodesic::WGS84();
    for (auto _ : state) {
        GeographicLib::PolygonArea area(geodesic);
        for (const auto& v : p.points) area.AddPoint(v.lat, v.lon);
        double perimeter = 0, result = 0;
        area.Compute(false, true, perimeter, result);
        benchmark::DoNotOptimize(result);
    }
}

void EngineLength(benchmark::State& state) {
    const auto& p = polygon(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(ffi().KX_GeometryEngine_lengthGeodetic(p.engine, nullptr, 0, nullptr));
}

void GeographicLibLength(benchmark::State& state) {
    const auto& p = polygon(static_cast<int>(state.range(0)));
    const GeographicLib::Geodesic& geodesic = GeographicLib::Geodesic::WGS84();
    for (auto _ : state) {
        double total = 0;
        for (size_t i = 0; i < p.points.size(); ++i) {
            const auto& a = p.points[i];
            const auto& b = p.points[(i + 1) % p.points.size()];
            double s = 0;
            geodesic.Inverse(a.lat, a.lon, b.lat, b.lon, s);
            total += s;
        }
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK(EngineArea)->Arg(10)->Arg(100)->Arg(10000);
BENCHMARK(GeographicLibArea)->Arg(10)->Arg(100)->Arg(10000);
BENCHMARK(EngineLength)->Arg(10)->Arg(100)->Arg(10000);
BENCHMARK(GeographicLibLength)->Arg(10)->Arg(100)->Arg(10000);

std::vector<LonLat> scattered() {
    std::vector<LonLat> points(kProjectedPoints);
    for (int64_t i = 0; i < kProjectedPoints; ++i)
        points[i] = {-179.0 + 358.0 * static_cast<double>((i * 7919) % kProjectedPoints) / kProjectedPoints,
                     -80.0 + 160.0 * static_cast<double>((i * 104729) % kProjectedPoints) / kProjectedPoints};
    return points;
}

void EngineProject(benchmark::State& state) {
    geometry::environment::init();
    const auto points = scattered();
    // Built through JSON once; the benchmark is the projection alone.
    KX_GeometryHandle multipoint = ffi().KX_Geometry_fromJSON(json_of("points", points, false).c_str(), nullptr);
    KX_SpatialReferenceHandle mercator = ffi().KX_SpatialReference_create(3857, nullptr);
    for (auto _ : state) ffi().KX_Geometry_destroy(ffi().KX_GeometryEngine_project(multipoint, mercator, nullptr), nullptr);
    ffi().KX_SpatialReference_destroy(mercator, nullptr);
    ffi().KX_Geometry_destroy(multipoint, nullptr);
    state.SetItemsProcessed(state.iterations() * kProjectedPoints);
}

void ProjTransGeneric(benchmark::State& state) {
    const auto points = scattered();
    PJ_CONTEXT* context = proj_context_create();
    PJ* raw = proj_create_crs_to_crs(context, "EPSG:4326", "EPSG:3857", nullptr);
    PJ* operation = proj_normalize_for_visualization(context, raw);
    std::vector<double> x(kProjectedPoints), y(kProjectedPoints);
    for (auto _ : state) {
        // Fresh copies each time, as the engine makes its result from a copy of the input.
        for (int i = 0; i < kProjectedPoints; ++i) x[i] = points[i].lon, y[i] = points[i].lat;
        proj_trans_generic(operation, PJ_FWD, x.data(), sizeof(double), kProjectedPoints, y.data(), sizeof(double),
                           kProjectedPoints, nullptr, 0, 0, nullptr, 0, 0);
        benchmark::DoNotOptimize(x.data());
    }
    proj_destroy(operation);
    proj_destroy(raw);
    proj_context_destroy(context);
    state.SetItemsProcessed(state.iterations() * kProjectedPoints);
}

BENCHMARK(EngineProject)->Unit(benchmark::kMillisecond);
BENCHMARK(ProjTransGeneric)->Unit(benchmark::kMillisecond);

void print_ratios(const RatioReporter& reporter) {
    std::printf("\n%-10s %8s %20s\n", "measure", "vertices", "engine/GeographicLib");
    for (const char* measure : {"Area", "Length"}) {
        for (const char* n : {"10", "100", "10000"}) {
            const double e = reporter.time(std::string("Engine") + measure + "/" + n);
            const double g = reporter.time(std::string("GeographicLib") + measure + "/" + n);
            if (e > 0 && g > 0) std::printf("%-10s %8s %20.2f\n", measure, n, e / g);
        }
    }
    const double e = reporter.time("EngineProject"), p = reporter.time("ProjTransGeneric");
    if (e > 0 && p > 0) std::printf("\nprojecting 1e6 points: engine throughput / PROJ throughput = %.2f\n", p / e);
}

}  // namespace

int main(int argc, char** argv) { return run_with_ratios(argc, argv, print_ratios); }
