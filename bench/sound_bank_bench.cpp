// Start-up cost of the game's sound: the audio system built on an OpenAL Soft loopback device
// reads the bank, decodes every short sound and reads the long ones it will stream
// ("SoundBank/load"), against a baseline in the same run that builds it on the silent device,
// which reads the bank and decodes nothing. The absolute
// time of "load" is the start-up figure; it must stay well under 300 ms.
#include <benchmark/benchmark.h>

#include "audio/audio_system.h"
#include "meta/assets.h"
#include "platform/openal/loopback_device.h"
#include "support/ratio_main.h"

namespace {

void UseGameAssets() {
    Assets::SetRoot(std::string(VORL_SOURCE_DIR) + "/assets");
}

void Baseline_SilentDevice(benchmark::State& state) {
    UseGameAssets();
    std::unique_ptr<platform::AudioDevice> device = platform::MakeSilentAudioDevice();
    for (auto _ : state) {
        AudioSystem audio(*device);
        benchmark::DoNotOptimize(&audio);
    }
}

void LoadAndDecode(benchmark::State& state) {
    UseGameAssets();
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<platform::AudioDevice> device = platform::OpenLoopbackAudioDevice(44100);
        if (!device) {
            state.SkipWithError("no OpenAL Soft loopback device");
            break;
        }
        state.ResumeTiming();
        {
            AudioSystem audio(*device);
            benchmark::DoNotOptimize(&audio);
            state.PauseTiming();
        }
        device.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(Baseline_SilentDevice)->Name("SoundBank/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndDecode)->Name("SoundBank/load")->Unit(benchmark::kMillisecond)->Iterations(5);

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
