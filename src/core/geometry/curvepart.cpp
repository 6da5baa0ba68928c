#include "core/geometry/curvepart.h"

#include "core/geometry/number_text.h"

namespace core::geometry {

namespace {

template <typename... F>
struct Overloaded : F... {
    using F::operator()...;
};

GeoResult<void> refuse_start(std::string text) {
    return std::unexpected(VeltGeoErr(ErrorKind::CurvedPartStart, std::move(text)));
}

void write_pair(std::string& out, double a, double b) {
    out += '[';
    write_number(out, a);
    out += ", ";
    write_number(out, b);
    out += ']';
}

void write_curve_element(std::string& out, const VeltCoord& coord, const CurveData& curve) {
    if (is_line(curve)) {
        coord.write_veltjson(out);
        return;
    }
    auto open = [&](char name) {
        out += "{\"";
        out += name;
        out += "\": [";
        coord.write_veltjson(out);
        out += ", ";
    };
    std::visit(Overloaded{
                   [](const Line&) {},
                   [&](const CircularArc& arc) {
                       open('c');
                       write_pair(out, arc.interior_x, arc.interior_y);
                   },
                   [&](const EllipticArc& arc) {
                       open('a');
                       write_pair(out, arc.center_x, arc.center_y);
                       out += arc.minor ? ", 1" : ", 0";
                       out += arc.clockwise ? ", 1" : ", 0";
                       if (!(arc.ratio == 1.0)) {
                           for (double value : {arc.rotation, arc.axis, arc.ratio}) {
                               out += ", ";
                               write_number(out, value);
                           }
                       }
                   },
                   [&](const BezierCurve& curve) {
                       open('b');
                       write_pair(out, curve.ctrl1_x, curve.ctrl1_y);
                       out += ", ";
                       write_pair(out, curve.ctrl2_x, curve.ctrl2_y);
                   },
               },
               curve);
    out += "]}";
}

}  // namespace

// ---- CurveCollection ------------------------------------------------------------------------------

CurveCollection::Entry CurveCollection::store(const CurveData& curve) {
    return std::visit(Overloaded{
                          [](const Line&) { return Entry{CurveKind::Line, 0}; },
                          [&](const CircularArc& r) { return Entry{CurveKind::CircularArc, circular_arcs_.insert(r)}; },
                          [&](const EllipticArc& r) { return Entry{CurveKind::EllipticArc, elliptic_arcs_.insert(r)}; },
                          [&](const BezierCurve& r) { return Entry{CurveKind::BezierCurve, bezier_curves_.insert(r)}; },
                      },
                      curve);
}

CurveData CurveCollection::read(Entry entry) const {
    switch (entry.kind) {
        case CurveKind::CircularArc: return circular_arcs_.get(entry.key);
        case CurveKind::EllipticArc: return elliptic_arcs_.get(entry.key);
        case CurveKind::BezierCurve: return bezier_curves_.get(entry.key);
        default: return Line{};
    }
}

CurveData CurveCollection::take(Entry entry) {
    switch (entry.kind) {
        case CurveKind::CircularArc: return circular_arcs_.remove(entry.key);
        case CurveKind::EllipticArc: return elliptic_arcs_.remove(entry.key);
        case CurveKind::BezierCurve: return bezier_curves_.remove(entry.key);
        default: return Line{};
    }
}

void CurveCollection::push_curve(const CurveData& curve) { index_.push_back(store(curve)); }

std::optional<CurveData> CurveCollection::get(std::size_t index) const {
    if (index >= len()) return std::nullopt;
    return read(index_[index]);
}

std::optional<CurveData> CurveCollection::set(std::size_t index, const CurveData& curve) {
    if (index >= len()) return std::nullopt;
    CurveData old = take(index_[index]);
    index_[index] = store(curve);
    return old;
}

bool CurveCollection::insert(std::size_t index, const CurveData& curve) {
    if (index > len()) return false;
    index_.insert(index_.begin() + static_cast<std::ptrdiff_t>(index), store(curve));
    return true;
}

std::optional<CurveData> CurveCollection::remove(std::size_t index) {
    if (index >= len()) return std::nullopt;
    CurveData old = take(index_[index]);
    index_.erase(index_.begin() + static_cast<std::ptrdiff_t>(index));
    return old;
}

void CurveCollection::clear() {
    index_.clear();
    circular_arcs_.clear();
    elliptic_arcs_.clear();
    bezier_curves_.clear();
}

// ---- VeltCurvePart --------------------------------------------------------------------------------

GeoResult<void> VeltCurvePart::push(const VeltCoord& coord, const CurveData& curve) {
    if (is_empty() && !is_line(curve)) return refuse_start("CurvePart::push curve data on empty");
    part_.push_coord(coord.x(), coord.y(), coord.z(), coord.m());
    curves_.push_curve(curve);
    return {};
}

GeoResult<void> VeltCurvePart::insert(std::size_t index, const VeltCoord& coord, const CurveData& curve) {
    if (index == 0 && !is_line(curve)) return refuse_start("CurvePart::insert nonlinear curve data at index 0");
    part_.insert_coord(index, coord);
    curves_.insert(index, curve);
    return {};
}

std::optional<VeltCurvePart::Vertex> VeltCurvePart::get(std::size_t index) const {
    auto coord = part_.get(index);
    if (!coord) return std::nullopt;
    auto curve = curves_.get(index);
    if (!curve) core::stop("Internal error: vertex without curve record");
    return Vertex{*coord, *curve};
}

GeoResult<std::optional<VeltCurvePart::Vertex>> VeltCurvePart::set(std::size_t index, const VeltCoord& coord,
                                                                   const CurveData& curve) {
    if (index == 0 && !is_line(curve))
        return std::unexpected(VeltGeoErr(ErrorKind::CurvedPartStart, "CurvePart::set nonlinear curve data at index 0"));
    auto old_curve = curves_.set(index, curve);
    if (!old_curve) return std::nullopt;
    auto old_coord = part_.set_coord(index, coord);
    if (!old_coord) core::stop("Internal error: curve record without vertex");
    return Vertex{*old_coord, *old_curve};
}

std::optional<VeltCoord> VeltCurvePart::set_coord(std::size_t index, const VeltCoord& coord) {
    return part_.set_coord(index, coord);
}

GeoResult<std::optional<CurveData>> VeltCurvePart::set_curve(std::size_t index, const CurveData& curve) {
    if (index == 0 && !is_line(curve))
        return std::unexpected(VeltGeoErr(ErrorKind::CurvedPartStart, "CurvePart::set nonlinear curve data at index 0"));
    return curves_.set(index, curve);
}

GeoResult<std::optional<VeltCurvePart::Vertex>> VeltCurvePart::remove(std::size_t index) {
    if (index == 0) {
        auto second = curves_.get(1);
        if (second && !is_line(*second))
            return std::unexpected(VeltGeoErr(ErrorKind::CurvedPartStart,
                                              "CurvePart::remove first curve, curve that would replace it is nonlinear"));
    }
    auto coord = part_.remove(index);
    if (!coord) return std::nullopt;
    auto curve = curves_.remove(index);
    if (!curve) core::stop("Internal error: vertex without curve record");
    return Vertex{*coord, *curve};
}

std::optional<VeltCurvePart::Vertex> VeltCurvePart::pop() {
    if (is_empty()) return std::nullopt;
    auto coord = part_.pop();
    auto curve = curves_.remove(curves_.len() - 1);
    if (!curve) core::stop("Internal error: vertex without curve record");
    return Vertex{*coord, *curve};
}

void VeltCurvePart::clear() {
    part_.clear();
    curves_.clear();
}

void VeltCurvePart::write_veltjson(std::string& out) const {
    out += '[';
    for (std::size_t i = 0; i < len(); ++i) {
        if (i > 0) out += ", ";
        auto vertex = get(i);
        write_curve_element(out, vertex->first, vertex->second);
    }
    out += ']';
}

}  // namespace core::geometry
