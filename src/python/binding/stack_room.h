// The C stack left to the calling thread. The interpreter's recursion limit counts calls, not
// bytes: a number's conversion that calls back into the module adds the module's frames and the
// interpreter's slot calls to every level, so a limit that plain Python code survives can run a
// small thread stack (or the main one, at a raised limit) out. Every entry point checks the room
// left first and refuses with RecursionError before the stack is exhausted.
#pragma once

#include <cstddef>

namespace binding {

// Whether at least the reserve (256 KiB, or a quarter of a smaller stack) is left below the caller.
// A thread whose stack bounds are unknown, or that runs on a stack of its own making, always has
// room.
bool stack_has_room() noexcept;

}  // namespace binding
