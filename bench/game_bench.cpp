// The shipped game, headless on the game's own frame length (1/63 s), from the source tree's
// assets:
// - startup/game: from an empty process state to the first frame that draws the splash's
//   objects (every list, archetype and the splash level read, and the sheets that frame draws).
//   It has no baseline: the engine alone starts in microseconds, so the figure is the data's cost.
// - startup/art_read_ahead: the same, on until the renderer has read every sheet it reads ahead
//   while the splash shows (all but the big pictures, read when first shown).
// - level_frame/<level>: one frame of a level at rest, reported with the median and the 99th
//   percentile over the measured frames; the heaviest shipped level (the most objects) against
//   the intro as its baseline.
// Times are this thread's CPU time, so that other work on a shared machine does not tilt a ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "engine/core.h"
#include "graphics/texture.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "support/headless_engine.h"
#include "support/ratio_main.h"
#include "support/thread_clock.h"

namespace {

using bench_support::ThreadSeconds;

constexpr double kGameFrame = FrameRateController::kGameFrameTime;
constexpr int kSettleFrames = 120;

void UseShippedAssets() {
    Assets::SetRoot(std::string(VORL_SOURCE_DIR) + "/assets");
}

// Runs frames until the level's objects are live; false if they never come.
bool RunUntilLevelLoaded(Core& core) {
    for (int frame = 0; frame < 600; ++frame) {
        core.Update();
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (message->type == MessageType::LevelObjectsLoaded) {
                return true;
            }
        }
    }
    return false;
}

void StartupGame(benchmark::State& state) {
    UseShippedAssets();
    for (auto _ : state) {
        const double start = ThreadSeconds();
        {
            testing_support::HeadlessEngine engine(kGameFrame);  // resets the level sequence
            LevelManager::SetStartLevel(0);
            LoadGameData(engine.core());
            if (!RunUntilLevelLoaded(engine.core())) {
                state.SkipWithError("the splash never loaded");
                return;
            }
            engine.core().Update();  // the first frame that draws the splash
            state.SetIterationTime(ThreadSeconds() - start);
        }
    }
}

void StartupArtReadAhead(benchmark::State& state) {
    UseShippedAssets();
    for (auto _ : state) {
        const double start = ThreadSeconds();
        {
            testing_support::HeadlessEngine engine(kGameFrame);
            LevelManager::SetStartLevel(0);
            LoadGameData(engine.core());
            if (!RunUntilLevelLoaded(engine.core())) {
                state.SkipWithError("the splash never loaded");
                return;
            }
            for (int frame = 0; frame < 600 && ListedTexturesWaiting() > 0; ++frame) {
                engine.core().Update();
            }
            if (ListedTexturesWaiting() > 0) {
                state.SkipWithError("the art never finished loading");
                return;
            }
            state.SetIterationTime(ThreadSeconds() - start);
            state.counters["decoded_MiB"] =
                static_cast<double>(DecodedTextureBytes()) / (1024.0 * 1024.0);
        }
    }
}

// Frame times of a level at rest: median and 99th percentile as counters, in microseconds.
void LevelFrame(benchmark::State& state, int level) {
    UseShippedAssets();
    testing_support::HeadlessEngine engine(kGameFrame);  // resets the level sequence
    LevelManager::SetStartLevel(level);
    LoadGameData(engine.core());
    if (!RunUntilLevelLoaded(engine.core())) {
        state.SkipWithError("the level never loaded");
        return;
    }
    engine.RunFrames(kSettleFrames);
    std::vector<double> times;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        engine.core().Update();
        const double spent = ThreadSeconds() - start;
        state.SetIterationTime(spent);
        times.push_back(spent * 1.0e6);
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[std::min(times.size() - 1, times.size() * 99 / 100)];
    state.counters["objects"] = static_cast<double>(LevelObjects().size());
}

// The shipped level with the most objects.
int HeaviestLevel() {
    UseShippedAssets();
    int heaviest = 2;
    std::size_t most = 0;
    for (int level = 2; level < LevelManager::kLevelCount; ++level) {
        testing_support::HeadlessEngine engine(kGameFrame);
        LevelManager::SetStartLevel(level);
        LoadGameData(engine.core());
        if (RunUntilLevelLoaded(engine.core()) && LevelObjects().size() > most) {
            most = LevelObjects().size();
            heaviest = level;
        }
    }
    return heaviest;
}

}  // namespace

BENCHMARK(StartupGame)->Name("startup/game")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StartupArtReadAhead)
    ->Name("startup/art_read_ahead")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    const int heaviest = HeaviestLevel();
    benchmark::RegisterBenchmark("level_frame/baseline", LevelFrame, 2)
        ->UseManualTime()
        ->Iterations(2000)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("level_frame/" + LevelManager::LevelTable()[heaviest]).c_str(),
                                 LevelFrame, heaviest)
        ->UseManualTime()
        ->Iterations(2000)
        ->Unit(benchmark::kMicrosecond);
    return bench_support::RunWithRatios(argc, argv, "baseline");
}
