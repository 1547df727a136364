// Drawing the shipped levels: one whole engine frame of level 2 and of the ending, at rest, drawn
// by the real renderer on the OpenGL device at 1600 x 900, against a frame with nothing to draw
// (clear and swap) in the same run. The software rasteriser is told to draw on the calling thread
// (LP_NUM_THREADS=0), so this thread's CPU time is all the work a frame costs, whatever else the
// machine runs; on a GPU driver the figures say little. Needs a display with OpenGL 3.3 core (run
// under xvfb-run).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/frame_rate_controller.h"
#include "engine/core.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "platform/gl/opengl_device.h"
#include "platform/sdl/hidden_gl_surface.h"
#include "platform/services.h"
#include "support/headless_engine.h"
#include "support/ratio_main.h"
#include "support/thread_clock.h"

namespace {

using bench_support::ThreadSeconds;

constexpr double kGameFrame = FrameRateController::kGameFrameTime;
// Long enough for every level's pieces to come to rest and the art read ahead to finish.
constexpr int kSettleFrames = 300;

platform::GLSurface* Surface(std::string& error) {
    static std::string why;
    static const std::unique_ptr<platform::GLSurface> surface = [] {
        setenv("LP_NUM_THREADS", "0", 1);
        setenv("VORL_NO_MESSAGE_BOXES", "1", 1);
        return platform::MakeHiddenGLSurface(1600, 900, &why);
    }();
    error = why;
    return surface.get();
}

// `assets` holds the game's data; an empty folder gives a frame with nothing to draw.
void LevelFrame(benchmark::State& state, const std::string& assets, int level) {
    std::string error;
    platform::GLSurface* surface = Surface(error);
    if (!surface) {
        state.SkipWithError(("no OpenGL 3.3 core context: " + error).c_str());
        return;
    }
    Assets::SetRoot(assets);
    platform::Services services = platform::MakeHeadlessServices(kGameFrame);
    services.graphics = platform::MakeOpenGLGraphicsDevice(*surface);
    testing_support::HeadlessEngine engine(std::move(services));
    LevelManager::SetStartLevel(level);
    LoadGameData(engine.core());
    engine.RunFrames(kSettleFrames);
    for (auto _ : state) {
        const double start = ThreadSeconds();
        engine.core().Update();
        state.SetIterationTime(ThreadSeconds() - start);
    }
}

const std::string& ShippedAssets() {
    static const std::string path = std::string(VORL_SOURCE_DIR) + "/assets";
    return path;
}

const std::string& EmptyAssets() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "vorl_level_render_bench";
        std::filesystem::create_directories(folder);
        return folder.string();
    }();
    return path;
}

void NothingToDraw(benchmark::State& state) {
    LevelFrame(state, EmptyAssets(), 2);
}
void Intro(benchmark::State& state) {
    LevelFrame(state, ShippedAssets(), 2);
}
void Ending(benchmark::State& state) {
    LevelFrame(state, ShippedAssets(), 19);
}

BENCHMARK(NothingToDraw)
    ->Name("level_draw/baseline")
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Intro)
    ->Name("level_draw/level_Intro")
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Ending)
    ->Name("level_draw/level_End2")
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

}  // namespace

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
