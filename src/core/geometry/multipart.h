// DimensionedCollection: the parts of a multipart geometry (straight VeltPart or VeltCurvePart),
// each in a shared cell, with the dimensions every part must have. Parts are checked when they
// enter; their dimensions never change afterwards. Lock order: the caller holds the collection,
// and a part is locked only briefly, one at a time.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/geometry/curvepart.h"
#include "core/geometry/errors.h"
#include "core/geometry/part.h"
#include "core/geometry/shared.h"
#include "geometry/mutable_part_collection.h"

namespace core::geometry {

template <typename P>
class DimensionedCollection {
public:
    DimensionedCollection(bool has_z, bool has_m) : has_z_(has_z), has_m_(has_m) {}

    // A new collection, then push_line of each part; the first refusal is the result.
    static GeoResult<DimensionedCollection> from_iter(bool has_z, bool has_m, std::vector<Shared<P>> parts) {
        DimensionedCollection collection(has_z, has_m);
        for (auto& part : parts)
            if (auto pushed = collection.push_line(std::move(part)); !pushed) return std::unexpected(std::move(pushed.error()));
        return collection;
    }

    bool has_z() const { return has_z_; }
    bool has_m() const { return has_m_; }
    CoordDims dims() const { return dims_of(has_z_, has_m_); }
    std::size_t len() const { return lines_.size(); }
    bool is_empty() const { return lines_.empty(); }

    // The parts themselves, for the operations that add no part (reading, removing, clearing).
    std::vector<Shared<P>>& lines() { return lines_; }
    const std::vector<Shared<P>>& lines() const { return lines_; }

    GeoResult<void> push_line(Shared<P> part) {
        if (auto checked = check(part); !checked) return checked;
        lines_.push_back(std::move(part));
        return {};
    }
    // index must be at most len(): the callers resolve it first.
    GeoResult<void> insert_line(std::size_t index, Shared<P> part) {
        if (index > len()) core::stop("Internal error: insertion index beyond the end of the collection");
        if (auto checked = check(part); !checked) return checked;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(part));
        return {};
    }
    // The dimensions are checked whatever the index; past the end nothing changes.
    GeoResult<std::optional<Shared<P>>> set_line(std::size_t index, Shared<P> part) {
        if (auto checked = check(part); !checked) return std::unexpected(std::move(checked.error()));
        if (index >= len()) return std::nullopt;
        std::swap(lines_[index], part);
        return std::optional(std::move(part));
    }

    // "[" each part's text "]", locking one part at a time.
    void write_veltjson(std::string& out) const {
        out += '[';
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (i > 0) out += ", ";
            auto part = read_or_stop(*lines_[i], "Lock poisoned");
            part->write_veltjson(out);
        }
        out += ']';
    }

    // Engine conversion: every part appended to `collection`, each lent the one engine spatial
    // reference `sr`; defined for both part types.
    GeoResult<void> add_parts_to(const ::geometry::mutable_part_collection::MutablePartCollection& collection,
                                 const EngineSr& sr) const;

private:
    GeoResult<void> check(const Shared<P>& part) const {
        CoordDims got = read_or_stop(*part, "Lock poisoned")->dims();
        if (got != dims()) return std::unexpected(VeltGeoErr::mismatching_dimensions(dims(), got));
        return {};
    }

    std::vector<Shared<P>> lines_;
    bool has_z_;
    bool has_m_;
};

using PartCollection = DimensionedCollection<VeltPart>;
using CurvePartCollection = DimensionedCollection<VeltCurvePart>;

}  // namespace core::geometry
