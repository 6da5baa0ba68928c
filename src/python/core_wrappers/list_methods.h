// The list-like methods every part container shares: append, insert, remove, pop and clear, with
// their text signatures, named "<Class>.<method>" in their messages.
#pragma once

#include <vector>

#include "base/fixed_string.h"
#include "python/binding/binding.h"

namespace vornix::python {

// The full name of a class of the module ("vornix_geometry.<Class>"), as its ClassSpec takes it.
template <core::FixedString Class>
inline constexpr auto kClassName = core::FixedString("vornix_geometry.") + Class;

template <core::FixedString Class>
struct ListNames {
    static constexpr auto kAppend = Class + core::FixedString(".append");
    static constexpr auto kInsert = Class + core::FixedString(".insert");
    static constexpr auto kRemove = Class + core::FixedString(".remove");
    static constexpr auto kPop = Class + core::FixedString(".pop");
    static constexpr auto kClear = Class + core::FixedString(".clear");
    static constexpr binding::Params append{kAppend.view(), {"value"}};
    static constexpr binding::Params insert{kInsert.view(), {"index", "value"}};
    static constexpr binding::Params remove{kRemove.view(), {"index"}};
    static constexpr binding::Params pop{kPop.view(), {}};
    static constexpr binding::Params clear{kClear.view(), {}};
};

template <core::FixedString Class, auto Append, auto Insert, auto Remove, auto Pop, auto Clear>
std::vector<PyMethodDef> list_methods() {
    using Names = ListNames<Class>;
    return {binding::method<Names::append, Append>("append($self, value)\n--\n\n"),
            binding::method<Names::insert, Insert>("insert($self, index, value)\n--\n\n"),
            binding::method<Names::remove, Remove>("remove($self, index)\n--\n\n"),
            binding::method<Names::pop, Pop>("pop($self)\n--\n\n"),
            binding::method<Names::clear, Clear>("clear($self)\n--\n\n")};
}

}  // namespace vornix::python
