#include "support/ratio_main.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench_support {
namespace {

// The benchmark's name without the options the library appends ("/iterations:2000",
// "/manual_time", ...), so that contenders compare by the names they were given.
std::string WithoutOptions(std::string name) {
    for (const char* option :
         {"/iterations:", "/repeats:", "/min_time:", "/manual_time", "/real_time", "/threads:"}) {
        const auto at = name.find(option);
        if (at != std::string::npos) {
            name.erase(at);
        }
    }
    return name;
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: a report piped into a file or a script stays plain text.
    explicit RatioReporter(std::string baseline)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular),
          baseline_(std::move(baseline)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) {
                continue;
            }
            const std::string name = WithoutOptions(run.benchmark_name());
            const auto slash = name.find('/');
            if (slash == std::string::npos) {
                continue;
            }
            const std::string scene = name.substr(0, slash);
            const std::string contender = name.substr(slash + 1);
            times_[scene][contender] = run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-28s %-18s %14s %14s %8s\n", "scene", "contender", "time", "baseline",
                    "ratio");
        for (const auto& [scene, contenders] : times_) {
            auto base = contenders.find(baseline_);
            if (base == contenders.end()) {
                continue;
            }
            for (const auto& [contender, time] : contenders) {
                if (contender == baseline_) {
                    continue;
                }
                std::printf("%-28s %-18s %14.1f %14.1f %8.3f\n", scene.c_str(), contender.c_str(),
                            time, base->second, time / base->second);
            }
        }
    }

private:
    std::string baseline_;
    std::map<std::string, std::map<std::string, double>> times_;
};

}  // namespace

int RunWithRatios(int argc, char** argv, const char* baseline) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter(baseline);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench_support
