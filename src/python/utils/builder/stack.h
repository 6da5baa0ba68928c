// The stack of a dictionary builder: the open lists being filled (innermost on top), the finished
// result, and in point mode the current point's vertex. It owns one reference to each entry and
// releases whatever is left when it goes.
#pragma once

#include <string_view>
#include <vector>

#include "python/binding/binding.h"
#include "formats/error.h"
#include "formats/processor.h"

namespace vornix::utils::builder {

class ObjectStack {
public:
    bool empty() const { return entries_.empty(); }
    void push(binding::Ref object) { entries_.push_back(std::move(object)); }
    // Takes the top entry; an empty stack is the error "empty stack".
    formats::Status pop(binding::Ref& top);
    // Appends `object` to the list on top. An empty stack fails with `empty_text`, an entry that
    // is no list with the cast text.
    formats::Status push_to_parent(binding::Ref object, std::string_view empty_text);
    // Appends the run's vertex tuples to the list on top, with the errors of `push_to_parent`;
    // nothing is checked for an empty run, as no vertex would be appended.
    formats::Status push_vertices_to_parent(const formats::VertexRun& run, std::string_view empty_text);
    // The result: the one dict left on top. IndexError "empty stack" or the cast TypeError.
    binding::PyResult<binding::Ref> finish();

private:
    // The list on top, or the error of `push_to_parent`.
    formats::Status parent_list(PyObject*& parent, std::string_view empty_text) const;

    std::vector<binding::Ref> entries_;
};

inline constexpr std::string_view empty_stack_text = "empty stack";

}  // namespace vornix::utils::builder
