// A GEOS operation that fails after the engine has made its GEOS parameter objects: the failure
// is an engine error and everything made on the way is freed (the sanitizer build's leak check
// catches what is not). GEOS is made to fail by an interrupt it honours inside its loops.
#include <geos_c.h>
#include <gtest/gtest.h>

#include "engine_test.h"
#include "model/engine_error.h"
#include "model/multipart.h"
#include "model/point.h"
#include "ops/shape.h"

namespace {

using namespace engine_test;

void interrupt_always() { GEOS_interruptRequest(); }

// Every GEOS loop that checks for interrupts stops while this lives.
class GeosInterrupted {
public:
    GeosInterrupted() : previous_(GEOS_interruptRegisterCallback(&interrupt_always)) {}
    ~GeosInterrupted() {
        GEOS_interruptRegisterCallback(previous_);
        GEOS_interruptCancel();
    }

private:
    GEOSInterruptCallback* previous_;
};

model::Multipart square() {
    model::Part ring;
    ring.points = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
    ring.ring = true;
    std::vector<model::Part> rings;
    rings.push_back(std::move(ring));
    return model::Multipart(model::GeometryKind::Polygon, std::move(rings), model::Dims{});
}

class GeosFailureTest : public EngineTest {};

TEST_F(GeosFailureTest, ABufferThatGeosGivesUpOnIsAnEngineErrorAndLeaksNothing) {
    const model::Point point(model::Vertex{1, 2}, model::Dims{});
    const model::Multipart polygon = square();
    for (const model::Geometry* g : {static_cast<const model::Geometry*>(&point), static_cast<const model::Geometry*>(&polygon)}) {
        {
            GeosInterrupted interrupted;
            EXPECT_THROW(ops::buffer(*g, 1.0), model::EngineError);
        }
        // GEOS works again once the interrupt is gone.
        EXPECT_NO_THROW(ops::buffer(*g, 1.0));
    }
}

}  // namespace
