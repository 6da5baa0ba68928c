#include "model/proj_context.h"

#include <atomic>
#include <sstream>
#include <vector>

#include "model/proj_files.h"

namespace model::proj {
namespace {

struct Shared {
    std::recursive_mutex mutex;
    PJ_CONTEXT* context = nullptr;
    std::vector<std::string> default_search_path;
    std::string database;  // PROJ's own proj.db, as found on the default search path
    std::vector<std::string> messages;  // cleared when the outermost session ends
    int depth = 0;
    std::atomic<uint64_t> search_path_generation{0};
};

void collect_log(void* shared, int /*level*/, const char* message) {
    if (message != nullptr) static_cast<Shared*>(shared)->messages.emplace_back(message);
}

// PROJ's own default search path (user data folder, PROJ_DATA or the installed data folder), as
// it reports it for its default context, which the engine never changes.
std::vector<std::string> default_search_path() {
    std::vector<std::string> paths;
    const char* joined = proj_info().searchpath;
    std::istringstream in(joined == nullptr ? "" : joined);
    for (std::string path; std::getline(in, path, ':');)
        if (!path.empty()) paths.push_back(path);
    return paths;
}

// Created on first use and never destroyed: objects that outlive static destruction (leaked by a
// caller) must still find their context.
Shared& shared() {
    static Shared* instance = [] {
        auto* s = new Shared;
        s->context = proj_context_create();
        proj_context_set_fileapi(s->context, &regular_file_api(), nullptr);
        proj_context_set_enable_network(s->context, 0);
        proj_log_level(s->context, PJ_LOG_ERROR);
        proj_log_func(s->context, s, collect_log);
        s->default_search_path = default_search_path();
        const char* database = proj_context_get_database_path(s->context);
        if (database != nullptr) s->database = database;
        return s;
    }();
    return *instance;
}

}  // namespace

Session::Session() : lock_(shared().mutex), first_message_(shared().messages.size()) { ++shared().depth; }

Session::~Session() {
    if (--shared().depth == 0) shared().messages.clear();
}

PJ_CONTEXT* Session::context() const { return shared().context; }

std::string Session::log() const {
    std::string text;
    const auto& messages = shared().messages;
    for (size_t i = first_message_; i < messages.size(); ++i) {
        if (!text.empty()) text += "; ";
        text += messages[i];
    }
    return text;
}

uint64_t current_search_path_generation() { return shared().search_path_generation.load(std::memory_order_acquire); }

void ObjectDeleter::operator()(PJ* object) const {
    Session session;
    proj_destroy(object);
}

void set_grid_directory(std::string_view directory) {
    Session session;
    std::vector<std::string> paths;
    if (!directory.empty()) paths.emplace_back(directory);
    for (const auto& path : shared().default_search_path) paths.push_back(path);
    std::vector<const char*> c_paths;
    for (const auto& path : paths) c_paths.push_back(path.c_str());
    proj_context_set_search_paths(session.context(), static_cast<int>(c_paths.size()), c_paths.data());
    // PROJ remembers which grids it found (in its database context and its grid cache): opened
    // afresh, it looks for them again along the new path. The database is named outright: left to
    // the search path, a proj.db in the grid directory (foreign, truncated, or a FIFO that blocks
    // whoever opens it) would come first.
    const std::string& database = shared().database;
    proj_context_set_database_path(session.context(), database.empty() ? nullptr : database.c_str(), nullptr, nullptr);
    proj_grid_cache_clear(session.context());
    shared().search_path_generation.fetch_add(1, std::memory_order_acq_rel);
}

}  // namespace model::proj
