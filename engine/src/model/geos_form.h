// The GEOS form of an engine geometry, kept inside it. A geometry never changes once built, so
// the form made by the first operation that needs it serves every later relation test or overlay
// on the same geometry (the primary of a collection's tests, the running result of a fold) for as
// long as the engine geometry lives. A copy of the geometry starts without one.
#pragma once

#include <atomic>

struct GEOSGeom_t;

namespace model {

class GeosForm {
public:
    using Destroy = void (*)(GEOSGeom_t*);

    GeosForm() = default;
    GeosForm(const GeosForm&) {}
    // The geometry assigned to has new data: its form is dropped.
    GeosForm& operator=(const GeosForm&) {
        drop();
        return *this;
    }
    ~GeosForm() { drop(); }

    // The form, made by `make` (which returns a new GEOS geometry, or throws) on first use, and
    // destroyed with this by `destroy`. Safe from several threads at once without a lock: should
    // two make one at the same moment, the first kept wins and the other is destroyed at once.
    template <typename Make>
    const GEOSGeom_t* get(Make&& make, Destroy destroy) const {
        if (GEOSGeom_t* form = form_.load(std::memory_order_acquire)) return form;
        GEOSGeom_t* made = make();
        GEOSGeom_t* expected = nullptr;
        destroy_.store(destroy, std::memory_order_relaxed);
        if (form_.compare_exchange_strong(expected, made, std::memory_order_acq_rel)) return made;
        destroy(made);
        return expected;
    }

    // The form when it has been made already, else null.
    const GEOSGeom_t* made() const { return form_.load(std::memory_order_acquire); }

private:
    // Only where no other thread can be reading (destruction, assignment): no locked instruction.
    void drop() {
        if (GEOSGeom_t* form = form_.load(std::memory_order_acquire)) {
            form_.store(nullptr, std::memory_order_relaxed);
            destroy_.load(std::memory_order_relaxed)(form);
        }
    }

    mutable std::atomic<GEOSGeom_t*> form_{nullptr};
    mutable std::atomic<Destroy> destroy_{nullptr};
};

}  // namespace model
