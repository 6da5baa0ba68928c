#include "geometry/element.h"

namespace geometry::element {

Result<Element> Element::create() { return handle::create<Element>(ENGINE_CALL(Element_create)); }

Result<void> Element::clear() const { return call(ENGINE_CALL(Element_clear, handle())); }

Result<void> Element::set_f64(double value) const {
    return call(ENGINE_CALL(Element_setValueFromFloat64, handle(), value));
}

Result<void> Element::set_geometry(geometry::GeometryOwned geometry) const {
    auto set = call(ENGINE_CALL(Element_setValueFromGeometry, handle(), geometry.handle()));
    { geometry::GeometryOwned copied = std::move(geometry); }
    return set;
}

}  // namespace geometry::element
