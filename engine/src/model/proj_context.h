// The engine's one PROJ context. PROJ objects cache text inside themselves and are bound to the
// context that made them, so every PROJ call, and every use or destruction of a PROJ object, runs
// while a Session holds the context's lock. Networking is off and PROJ's log goes into the session
// (never to standard error), where a failure picks it up as the additional message of its error.
#pragma once

#include <proj.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace model::proj {

class Session {
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    PJ_CONTEXT* context() const;

    // What PROJ logged since this session began, messages joined by "; " (empty when nothing).
    std::string log() const;

private:
    std::unique_lock<std::recursive_mutex> lock_;
    size_t first_message_;
};

// Changes whenever the search path changes, for a caller that only checks whether what it read
// through PROJ is still current.
uint64_t current_search_path_generation();

struct ObjectDeleter {
    void operator()(PJ* object) const;
};

// One owned PROJ object; destroyed under a session.
using ObjectPtr = std::unique_ptr<PJ, ObjectDeleter>;

// Puts `directory` (the transformation data directory) in front of PROJ's default search path for
// grids; an empty text restores the default search path. PROJ's database stays its own proj.db,
// whatever the directory holds.
void set_grid_directory(std::string_view directory);

}  // namespace model::proj
