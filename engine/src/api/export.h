// The engine's C interface with default visibility: everything else in the engine stays hidden.
#pragma once

#pragma GCC visibility push(default)
#include "corvane/corvane.h"
#pragma GCC visibility pop
