// Skipping a test for want of something the machine lacks (a display with OpenGL 3.3, virtual
// gamepads) is fine on a developer's machine. Under CI=true the machine is meant to have it, so a
// skip would hide a broken set-up: the test fails instead.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace testing_support {

inline bool RunningUnderCi() {
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

}  // namespace testing_support

// Use where GTEST_SKIP would be (a test body or SetUp); `reason` streams like a message.
#define VORL_SKIP_OR_FAIL_UNDER_CI(reason)                                       \
    do {                                                                         \
        if (testing_support::RunningUnderCi()) {                                 \
            FAIL() << reason << " (CI=true: a missing capability is a failure)"; \
        }                                                                        \
        GTEST_SKIP() << reason;                                                  \
    } while (0)
