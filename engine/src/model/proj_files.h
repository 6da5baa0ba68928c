// How PROJ opens files (grids, its ini file) on the engine's context: only regular files, and never
// in a way that can wait. A folder given as the grid directory may hold anything under a grid's name
// (a FIFO, a device); opened the ordinary way, a FIFO would block its reader for good.
#pragma once

#include <proj.h>

namespace model::proj {

// The file access PROJ is given: a path that is no regular file cannot be opened and does not exist.
const PROJ_FILE_API& regular_file_api();

}  // namespace model::proj
