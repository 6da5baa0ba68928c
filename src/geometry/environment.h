// The engine's runtime environment, started once per process before the first engine object is
// created from nothing.
#pragma once

namespace geometry::environment {

// Starts the environment unless already done: forces the engine table, installs `discard_error`
// as the engine's process-wide error callback and checks that the engine answers. A failed start
// stops with "Internal error: Failed to initialize runtime environment: <record form>"; every
// later call then stops with "Once instance has previously been poisoned".
void init();

}  // namespace geometry::environment
