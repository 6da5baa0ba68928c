// The whole native run must end with no engine object alive. Checked only at the end, so that a
// child process of a fresh-process test never loads the engine before its own scenario does.
#include <gtest/gtest.h>

#include "engine_test.h"

namespace {

class LiveObjectsCheck : public testing::Environment {
public:
    void TearDown() override { EXPECT_EQ(live_objects(), 0) << "engine objects leaked across the native tests"; }
};

[[maybe_unused]] testing::Environment* const kLiveObjectsCheck = testing::AddGlobalTestEnvironment(new LiveObjectsCheck);

}  // namespace
