// The stack of a dictionary builder: the open lists being filled (innermost on top), the finished
// result, and in point mode the current point's vertex. It owns one reference to each entry and
// releases whatever is left when it goes.
#pragma once

#include <string_view>
#include <vector>

#include "python/binding/binding.h"
#include "formats/error.h"

namespace vornix::utils::builder {

class ObjectStack {
public:
    bool empty() const { return entries_.empty(); }
    void push(binding::Ref object) { entries_.push_back(std::move(object)); }
    // Takes the top entry; an empty stack is the error "empty stack".
    reader::Status pop(binding::Ref& top);
    // Appends `object` to the list on top. An empty stack fails with `empty_text`, an entry that
    // is no list with the cast text.
    reader::Status push_to_parent(binding::Ref object, std::string_view empty_text);
    // The result: the one dict left on top. IndexError "empty stack" or the cast TypeError.
    binding::PyResult<binding::Ref> finish();

private:
    std::vector<binding::Ref> entries_;
};

inline constexpr std::string_view empty_stack_text = "empty stack";

}  // namespace vornix::utils::builder
