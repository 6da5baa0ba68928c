// The list-like methods every part container shares: append, insert, remove, pop and clear, with
// their text signatures. `Names` holds the five Params (their "Class.method" names).
#pragma once

#include <vector>

#include "python/binding/binding.h"

namespace vornix::python {

template <typename Names, auto Append, auto Insert, auto Remove, auto Pop, auto Clear>
std::vector<PyMethodDef> list_methods() {
    return {binding::method<Names::append, Append>("append($self, value)\n--\n\n"),
            binding::method<Names::insert, Insert>("insert($self, index, value)\n--\n\n"),
            binding::method<Names::remove, Remove>("remove($self, index)\n--\n\n"),
            binding::method<Names::pop, Pop>("pop($self)\n--\n\n"),
            binding::method<Names::clear, Clear>("clear($self)\n--\n\n")};
}

}  // namespace vornix::python
