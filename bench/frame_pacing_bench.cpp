// Frame pacing on displays of 60 (really 59.94), 75, 120 and 144 Hz and on a slow machine that
// misses every other refresh of an 80 Hz display: the pacing level (tests/support/vblank_display.h)
// plays two seconds of a body gliding at constant speed, in simulated time. The baseline draws
// each frame at the latest step, as a game without interpolation would; the contender
// interpolates between the last two steps. The counters say how even the glide is on screen
// ("departure_pct": the largest departure of one frame's travel from the mean travel, in per cent
// of it) and how many steps the frames ran; the time is this thread's CPU time per displayed frame,
// so the ratio is what interpolation costs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "core/frame_rate_controller.h"
#include "graphics/graphics_system.h"
#include "support/ratio_main.h"
#include "support/thread_clock.h"
#include "support/vblank_display.h"

namespace {

using bench_support::ThreadSeconds;
using testing_support::PacedLevel;
using testing_support::PacingScene;
using testing_support::TravelDeviation;
using testing_support::VblankTiming;

constexpr double kSeconds = 2.0;
constexpr long kSettle = 10;

void Pacing(benchmark::State& state, VblankTiming timing, bool interpolation) {
    double departure = 0.0;
    double frames = 0.0;
    double steps = 0.0;
    for (auto _ : state) {
        PacedLevel level(PacingScene(), timing);
        level.core().Graphics().SetStepInterpolation(interpolation);
        const double end = level.Now() + kSeconds;
        const double start = ThreadSeconds();
        int ran = 0;
        int stepsRun = 0;
        while (level.Now() < end) {
            level.Frame();
            stepsRun += FrameRateController::StepsDue();
            ++ran;
        }
        state.SetIterationTime((ThreadSeconds() - start) / ran);
        // Past the first frames, whose glider has no step before to start from.
        const std::vector<testing_support::DrawnFrame> settled(level.Frames().begin() + kSettle,
                                                               level.Frames().end());
        departure = 100.0 * TravelDeviation(settled);
        frames = ran / kSeconds;
        steps = stepsRun / kSeconds;
    }
    state.counters["departure_pct"] = departure;
    state.counters["shown_per_s"] = frames;
    state.counters["steps_per_s"] = steps;
}

struct Display {
    const char* name;
    VblankTiming timing;
};

const Display kDisplays[] = {
    {"60Hz", {59.94, 0.004, 0.0003, 60.0}},   {"75Hz", {75.0, 0.004, 0.0003, 75.0}},
    {"120Hz", {120.0, 0.003, 0.0003, 120.0}}, {"144Hz", {144.0, 0.003, 0.0003, 144.0}},
    {"40Hz", {80.0, 0.014, 0.0003, 80.0}},
};

const bool kRegistered = [] {
    for (const Display& display : kDisplays) {
        for (const bool interpolation : {false, true}) {
            const std::string name =
                std::string(display.name) + (interpolation ? "/interpolated" : "/baseline");
            benchmark::RegisterBenchmark(name.c_str(), Pacing, display.timing, interpolation)
                ->UseManualTime()
                ->Iterations(3)
                ->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

}  // namespace

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
