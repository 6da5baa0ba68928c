#include "core/geometry/part.h"

#include <cmath>
#include <limits>

#include "base/fault.h"

namespace core::geometry {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

template <typename T>
void insert_at(std::vector<T>& values, std::size_t index, T value) {
    values.insert(values.begin() + static_cast<std::ptrdiff_t>(index), value);
}
template <typename T>
void erase_at(std::vector<T>& values, std::size_t index) {
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(index));
}
}  // namespace

VeltPart::VeltPart(bool has_z, bool has_m) {
    if (has_z) zs_.emplace();
    if (has_m) ms_.emplace();
}

void VeltPart::push_coord(double x, double y, std::optional<double> z, std::optional<double> m) {
    xs_.push_back(x);
    ys_.push_back(y);
    if (zs_) zs_->push_back(z.value_or(kNaN));
    if (ms_) ms_->push_back(m.value_or(kNaN));
}

void VeltPart::push_slice_coord(std::span<const double> values) {
    std::size_t next = 0;
    auto take = [&] { return next < values.size() ? values[next++] : kNaN; };
    xs_.push_back(take());
    ys_.push_back(take());
    if (zs_) zs_->push_back(take());
    if (ms_) ms_->push_back(take());
}

void VeltPart::insert_coord(std::size_t index, const VeltCoord& coord) {
    if (index > len()) core::stop("Internal error: insertion index beyond the end of the part");
    insert_at(xs_, index, coord.x());
    insert_at(ys_, index, coord.y());
    if (zs_) insert_at(*zs_, index, coord.z().value_or(kNaN));
    if (ms_) insert_at(*ms_, index, coord.m().value_or(kNaN));
}

std::optional<VeltCoord> VeltPart::get(std::size_t index) const {
    if (index >= len()) return std::nullopt;
    std::optional<double> z;
    std::optional<double> m;
    if (zs_) z = (*zs_)[index];
    if (ms_) m = (*ms_)[index];
    return VeltCoord::of(xs_[index], ys_[index], z, m);
}

std::optional<VeltCoord> VeltPart::set_coord(std::size_t index, const VeltCoord& coord) {
    auto old = get(index);
    if (!old) return std::nullopt;
    xs_[index] = coord.x();
    ys_[index] = coord.y();
    if (zs_) (*zs_)[index] = coord.z().value_or(kNaN);
    if (ms_) (*ms_)[index] = coord.m().value_or(kNaN);
    return old;
}

std::optional<VeltCoord> VeltPart::remove(std::size_t index) {
    auto old = get(index);
    if (!old) return std::nullopt;
    erase_at(xs_, index);
    erase_at(ys_, index);
    if (zs_) erase_at(*zs_, index);
    if (ms_) erase_at(*ms_, index);
    return old;
}

std::optional<VeltCoord> VeltPart::pop() {
    if (is_empty()) return std::nullopt;
    return remove(len() - 1);
}

void VeltPart::clear() {
    xs_.clear();
    ys_.clear();
    if (zs_) zs_->clear();
    if (ms_) ms_->clear();
}

void VeltPart::reserve(std::size_t count) {
    xs_.reserve(count);
    ys_.reserve(count);
    if (zs_) zs_->reserve(count);
    if (ms_) ms_->reserve(count);
}

void VeltPart::write_veltjson(std::string& out) const {
    out += '[';
    for (std::size_t i = 0; i < len(); ++i) {
        if (i > 0) out += ", ";
        get(i)->write_veltjson(out);
    }
    out += ']';
}

}  // namespace core::geometry
