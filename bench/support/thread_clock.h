// This thread's CPU time, the clock the benchmarks time with: work elsewhere on a shared machine
// does not count, so a ratio against a baseline in the same run stays steady.
#pragma once

#include <time.h>

namespace bench_support {

inline double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1.0e-9;
}

}  // namespace bench_support
