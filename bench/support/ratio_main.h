// A benchmark main that reports, after the usual table, the ratio of each benchmark to its
// baseline. Benchmarks are named "<scene>/<contender>"; the contender named `baseline` is the
// denominator for every other contender of the same scene.
#pragma once

namespace bench_support {

int RunWithRatios(int argc, char** argv, const char* baseline);

}  // namespace bench_support

#define VORL_BENCHMARK_MAIN_WITH_RATIOS(baseline)                  \
    int main(int argc, char** argv) {                              \
        return bench_support::RunWithRatios(argc, argv, baseline); \
    }
