#include "model/pool.h"

namespace model {
namespace {

// Frees the blocks a thread kept when it ends; blocks given back after that (by another
// thread-local's destructor) go to the heap.
struct Drain {
    ~Drain() {
        ThreadState& t = thread_state;
        for (PoolList& list : t.pools) {
            while (list.head != nullptr) ::operator delete(std::exchange(list.head, list.head->next));
            list.kept = 0;
        }
        t.pools_ended = true;
    }
};

}  // namespace

void arm_pool_drain() {
    static thread_local Drain drain;
    thread_state.pools_drain_armed = true;
}

}  // namespace model
