// How geodetic measures read a polygon's rings in the plane of the reference's own coordinates:
// which side of a ring holds its region, about how much of the ellipsoid that region takes, and
// which rings are exteriors. The plane only proposes a region; geodetic_measures.cpp weighs it
// against the ring as its edges run on the ellipsoid.
#pragma once

#include <vector>

#include "model/vertex.h"
#include "ops/geodesy.h"

namespace ops {

// The share of the ellipsoid that the plane reads a ring's region as holding, on the unrolled
// longitudes and the authalic latitudes with straight edges (an equal-area reading, exact for
// regions of meridians and parallels). Only how it stands against a quarter and three quarters
// counts, so the ring's box settles it where it can. Unread where the plane gives no such reading
// (a ring round a pole in a projection without a turn of longitude, a vertex without a place).
enum class PlaneShare { Unread, UnderQuarter, Between, OverThreeQuarters };

struct PlaneRing {
    // The ring's own coordinates as its edges run: in a reference with a turn of longitude, x
    // changes the shorter way round across the antimeridian (ShapePreserving edges, and edges
    // along a pole, run as written); a ring that goes round a pole that way does not close in the
    // plane and is kept as written, closed along the pole or the antimeridian.
    std::vector<model::Vertex> run;
    // Where its region lies as the ring runs: 1 left, -1 right, 0 nowhere (no area in the plane).
    int side = 0;
    PlaneShare share = PlaneShare::Unread;
};

// `own` is the ring in the reference's coordinates, `lonlat` the same vertices in longitude and
// latitude (ops::geographic).
PlaneRing plane_ring(const GeodeticFrame& frame, CurveType type, const std::vector<model::Vertex>& own,
                     const std::vector<LonLat>& lonlat);

// For each ring (run of plane_ring, taken over), whether it is an exterior, by the ring rule of
// ops/ring_nesting.h. In a reference with a turn of longitude, every ring is first moved by whole
// turns next to the middle of the first ring's span, so that shell and holes share one frame
// however their longitudes were written. Rings without three distinct located vertices are none.
std::vector<bool> plane_exteriors(const GeodeticFrame& frame, std::vector<std::vector<model::Vertex>> runs);

}  // namespace ops
