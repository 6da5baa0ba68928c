#include "model/spatial_reference_cache.h"

#include <list>
#include <unordered_map>
#include <utility>

#include "model/proj_context.h"

namespace model {
namespace {

// Programs use a handful of references; the bound only keeps one that cycles through many
// texts from holding memory without end.
constexpr size_t kCapacity = 64;
// A longer text is parsed each time: holding it as a key would cost more than it saves.
constexpr size_t kLongestCachedText = 16 * 1024;

struct KeyHash {
    size_t operator()(const SpatialReferenceKey& key) const {
        if (key.from_text) return std::hash<std::string>()(key.wktext);
        return std::hash<uint64_t>()((uint64_t(uint32_t(key.wkid)) << 32) | uint32_t(key.vertical_wkid));
    }
};

// Least recently used first out. Guarded by the PROJ context's lock, which making a value takes
// anyway.
struct Cache {
    using Entry = std::pair<SpatialReferenceKey, SpatialReferencePtr>;
    std::list<Entry> order;  // most recently used first
    std::unordered_map<SpatialReferenceKey, std::list<Entry>::iterator, KeyHash> index;
};

// Never destroyed: its values hold PROJ objects, which must not be destroyed after PROJ's own
// static data at the end of the process.
Cache& cache() {
    static Cache* instance = new Cache;
    return *instance;
}

// The cache shared by all threads, under the PROJ context's lock.
SpatialReferencePtr cached_by_all_threads(const SpatialReferenceKey& key,
                                          const std::function<SpatialReferencePtr()>& make) {
    proj::Session session;
    Cache& c = cache();
    if (auto found = c.index.find(key); found != c.index.end()) {
        c.order.splice(c.order.begin(), c.order, found->second);
        return found->second->second;
    }
    SpatialReferencePtr value = make();
    c.order.emplace_front(key, value);
    c.index.emplace(key, c.order.begin());
    if (c.order.size() > kCapacity) {
        c.index.erase(c.order.back().first);
        c.order.pop_back();
    }
    return value;
}

// The value a thread looked up last: a caller that hands the engine the same reference for every
// geometry finds it here without taking the PROJ context's lock. It only repeats the shared cache's
// answer, and is current while the search path has not changed since.
struct LastFound {
    SpatialReferenceKey key;
    uint64_t search_path_generation = 0;
    SpatialReferencePtr value;
};

}  // namespace

SpatialReferencePtr cached_spatial_reference(const SpatialReferenceKey& key,
                                             const std::function<SpatialReferencePtr()>& make) {
    if (key.wktext.size() > kLongestCachedText) return make();
    static thread_local LastFound last;
    const uint64_t generation = proj::current_search_path_generation();
    if (last.value && last.search_path_generation == generation && last.key == key) return last.value;
    SpatialReferencePtr value = cached_by_all_threads(key, make);
    last = LastFound{key, generation, value};
    return value;
}

}  // namespace model
