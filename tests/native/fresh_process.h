// Process-wide states (a failed load, a poisoned environment) are observed in a fresh process: a
// death-test child started by re-running this test binary, so nothing done earlier in the parent
// leaks in. The child runs a scenario, writes its transcript to stderr and exits 0; the parent
// compares everything the child wrote to stderr with the expected text.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "stops.h"

// A POSIX extended regular expression that matches exactly `text`.
inline std::string exactly(const std::string& text) {
    std::string pattern = "^";
    for (char c : text) {
        if (std::string_view("\\.^$|()[]{}*+?").find(c) != std::string_view::npos) pattern.push_back('\\');
        pattern.push_back(c);
    }
    return pattern + "$";
}

class FreshProcessTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

#define EXPECT_IN_FRESH_PROCESS(scenario, expected_stderr)                                      \
    EXPECT_EXIT(                                                                                \
        {                                                                                       \
            const std::string transcript_ = (scenario)();                                       \
            std::fputs(transcript_.c_str(), stderr);                                            \
            std::fflush(stderr);                                                                \
            std::_Exit(0);                                                                      \
        },                                                                                      \
        ::testing::ExitedWithCode(0), exactly(expected_stderr))
