// The owner of an engine vector: a typed list built from a caller's stream of floats or
// geometries, to pass several values into one engine call.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "corvane/corvane.h"
#include "geometry/element.h"
#include "geometry/geometry.h"

namespace geometry::vector {

// The element type of a vector.
enum class VectorElementType : int32_t { Float64 = KX_ELEMENT_TYPE_FLOAT64, Geometry = KX_ELEMENT_TYPE_GEOMETRY };

// A pull stream: each call gives the next item, or none at its end.
template <typename S, typename Item>
concept Source = requires(S& source) {
    { source() } -> std::same_as<std::optional<Item>>;
};

// Destroying a vector is the one destroy whose failure is neither a stop nor reported (an empty
// destroy text).
class Vector : public handle::BasicOwner<Vector, &bindings::CorvaneFFI::KX_Vector_destroy,
                                         "Internal error: Unexpected null handle", ""> {
public:
    using BasicOwner::BasicOwner;

    // An empty vector (the engine's `new`).
    static Result<Vector> create(VectorElementType type);

    // Appends the element's current value; the engine copies it.
    Result<void> add(const element::Element& element) const;

    // The first error ends the stream: nothing more is pulled from the source (which is borrowed),
    // and the vector is gone.
    template <Source<double> S>
    static Result<Vector> try_from_f64s(S& source) {
        return try_from(VectorElementType::Float64, source,
                        [](const element::Element& e, double value) { return e.set_f64(value); });
    }
    template <Source<geometry::GeometryOwned> S>
    static Result<Vector> try_from_geometries(S& source) {
        return try_from(VectorElementType::Geometry, source, [](const element::Element& e, geometry::GeometryOwned g) {
            return e.set_geometry(std::move(g));
        });
    }

private:
    // One element serves for every item: set, add, clear.
    template <typename S, typename Set>
    static Result<Vector> try_from(VectorElementType type, S& source, Set set) {
        auto vector = create(type);
        if (!vector) return std::unexpected(std::move(vector).error());
        auto element = element::Element::create();
        if (!element) return std::unexpected(std::move(element).error());
        while (auto item = source()) {
            auto step = set(*element, std::move(*item));
            if (step) step = vector->add(*element);
            if (step) step = element->clear();
            if (!step) return std::unexpected(std::move(step).error());
        }
        return std::move(*vector);
    }
};

}  // namespace geometry::vector
