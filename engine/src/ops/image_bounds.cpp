#include "ops/image_bounds.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace ops {
namespace {

// PROJ's usual number of points between the corners of an edge; the search between them then
// assumes an extreme of the image is the only one within one sample of it.
constexpr int kSamples = 21;
// Golden-section steps: the bracket of two sample spacings (1/11 of an edge) shrinks to 4e-10 of
// the edge; a smooth extreme is flat there, so its value is met to far below 1e-9 of the box.
constexpr int kSearchSteps = 40;

struct XY {
    double x, y;
};

// A point of the box's boundary: edge 0 bottom, 1 right, 2 top, 3 left, t in [0, 1] along it.
XY on_edge(const Bounds& box, int edge, double t) {
    const double w = box.xmax - box.xmin, h = box.ymax - box.ymin;
    switch (edge) {
        case 0: return {box.xmin + t * w, box.ymin};
        case 1: return {box.xmax, box.ymin + t * h};
        case 2: return {box.xmax - t * w, box.ymax};
        default: return {box.xmin, box.ymax - t * h};
    }
}

// The four extremes as values to raise: -xmin, -ymin, xmax, ymax; a point PROJ cannot transform
// raises nothing.
using Extremes = std::array<double, 4>;

Extremes scores(double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return Extremes{-INFINITY, -INFINITY, -INFINITY, -INFINITY};
    return Extremes{-x, -y, x, y};
}

Extremes image_scores(PJ* operation, const Bounds& box, int edge, double t) {
    const XY p = on_edge(box, edge, t);
    PJ_COORD c = proj_coord(p.x, p.y, 0.0, 0.0);
    c = proj_trans(operation, PJ_FWD, c);
    return scores(c.xy.x, c.xy.y);
}

// The greatest value of extreme `which` found by golden section between lo and hi along an edge.
double searched(PJ* operation, const Bounds& box, int edge, int which, double lo, double hi) {
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    const auto score = [&](double t) { return image_scores(operation, box, edge, t)[which]; };
    double a = hi - ratio * (hi - lo), b = lo + ratio * (hi - lo);
    double fa = score(a), fb = score(b), best = std::max(fa, fb);
    for (int step = 0; step < kSearchSteps; ++step) {
        if (fa >= fb) {
            hi = b, b = a, fb = fa;
            a = hi - ratio * (hi - lo);
            fa = score(a);
        } else {
            lo = a, a = b, fa = fb;
            b = lo + ratio * (hi - lo);
            fb = score(b);
        }
        best = std::max({best, fa, fb});
    }
    return best;
}

// Each extreme over the edges: the best of kSamples + 2 points per edge, then the search in the
// two spacings about the best sample of every edge (another edge may hold the true extreme).
Extremes edge_extremes(PJ* operation, const Bounds& box) {
    Extremes best{-INFINITY, -INFINITY, -INFINITY, -INFINITY};
    constexpr int n = kSamples + 1;
    for (int edge = 0; edge < 4; ++edge) {
        std::array<Extremes, n + 1> sampled;
        for (int k = 0; k <= n; ++k) sampled[k] = image_scores(operation, box, edge, double(k) / n);
        for (int which = 0; which < 4; ++which) {
            int at = 0;
            for (int k = 1; k <= n; ++k)
                if (sampled[k][which] > sampled[at][which]) at = k;
            if (!std::isfinite(sampled[at][which])) continue;
            const double found = searched(operation, box, edge, which, double(std::max(at - 1, 0)) / n,
                                          double(std::min(at + 1, n)) / n);
            best[which] = std::max({best[which], sampled[at][which], found});
        }
    }
    return best;
}

}  // namespace

bool image_bounds(const model::proj::Session& session, PJ* operation, Bounds box, Bounds& image) {
    // PROJ's answer knows the cases a search along the edges cannot see: a pole inside the box, an
    // image across the antimeridian. The search only widens it. PROJ answers only for operations
    // between single systems: one that carries heights (from a compound system) is searched alone.
    const bool from_proj = proj_trans_bounds(session.context(), operation, PJ_FWD, box.xmin, box.ymin, box.xmax,
                                             box.ymax, &image.xmin, &image.ymin, &image.xmax, &image.ymax, kSamples);
    // A geographic box across the antimeridian runs on past 180 (PROJ takes longitudes beyond it).
    if (box.xmin > box.xmax) box.xmax += 360.0;
    const Extremes extremes = edge_extremes(operation, box);
    if (!from_proj) {
        if (!std::all_of(extremes.begin(), extremes.end(), [](double e) { return std::isfinite(e); })) return false;
        image = {-extremes[0], -extremes[1], extremes[2], extremes[3]};
        return true;
    }
    if (image.xmin <= image.xmax) {
        image.xmin = std::min(image.xmin, -extremes[0]);
        image.xmax = std::max(image.xmax, extremes[2]);
    }
    image.ymin = std::min(image.ymin, -extremes[1]);
    image.ymax = std::max(image.ymax, extremes[3]);
    return true;
}

}  // namespace ops
