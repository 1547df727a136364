// Checks of what a caller promised, kept in every build. A broken promise is said on standard
// error with the place and the reason, and the check is false, so the caller takes its safe path
// (leaves the state as it was) instead of corrupting it:
//
//     if (!VORL_CHECK(!destroyed, "an object is destroyed once")) {
//         return;
//     }
//
// Unlike assert, nothing here depends on NDEBUG: the shipped game keeps the check and goes on.
#pragma once

#include <cstdio>

namespace check {

// How many checks have failed in this process: tests look at it to see that a safe path was taken.
inline int& FailureCount() {
    static int count = 0;
    return count;
}

inline bool Failed(const char* condition, const char* why, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: %s (%s is false); going on without it\n", file, line, why,
                 condition);
    ++FailureCount();
    return false;
}

}  // namespace check

#define VORL_CHECK(condition, why) \
    (static_cast<bool>(condition) || ::check::Failed(#condition, why, __FILE__, __LINE__))
