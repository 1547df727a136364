// Load time of a generated 10,000-object level against a baseline measured in the same run:
// reading the file's lines alone. Reading plus tokenizing runs as a second contender, so the
// ratios say what tokenizing, and then building objects and components, cost on top of touching
// the text.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/messaging.h"
#include "levels/data_reader.h"
#include "meta/assets.h"
#include "meta/tokenizer.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object_system.h"
#include "support/ratio_main.h"

namespace {

constexpr int kObjects = 10000;
const char* const kLevelName = "level_Generated";

// A level as the editor writes it: a name, the transform, a rigid body per object.
std::string GenerateLevel() {
    std::ostringstream out;
    char line[512];
    for (int i = 0; i < kObjects; ++i) {
        std::snprintf(line, sizeof line,
                      "Crate %d\n{\nTransform2D %.9f %.9f 1.000000000 64.000000000 64.000000000 "
                      "0.000000000\nRigidBody2D mass 1.000000000 velocity 0.000000000 0.000000000 "
                      "state %d active true bounciness 0.000000000 friction 100 gravity "
                      "600.000000000 \n}\n",
                      i, (i % 100) * 64.0, (i / 100) * 64.0, i % 2);
        out << line;
    }
    return out.str();
}

struct Folder {
    Folder() {
        path =
            std::filesystem::temp_directory_path() / ("vorl-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::ofstream(path / kLevelName, std::ios::binary) << GenerateLevel();
        Assets::SetRoot(path.string());
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

Folder& TheFolder() {
    static Folder folder;
    return folder;
}

// Reads the generated level line by line and sums `measure` over its lines, so that the work
// cannot be optimised away.
template <class Measure>
void ReadLines(benchmark::State& state, Measure measure) {
    TheFolder();
    for (auto _ : state) {
        std::ifstream in(Assets::PathOf(kLevelName), std::ios::binary);
        LineReader lines(in, kLevelName);
        std::string line;
        std::size_t total = 0;
        while (lines.Next(line)) {
            total += measure(line);
        }
        benchmark::DoNotOptimize(total);
    }
}

void Baseline_ReadLines(benchmark::State& state) {
    ReadLines(state, [](const std::string& line) { return line.size(); });
}

void ReadAndTokenize(benchmark::State& state) {
    ReadLines(state,
              [](const std::string& line) { return Tokenize(line, LastToken::KeepEmpty).size(); });
}

void LoadLevel10000(benchmark::State& state) {
    TheFolder();
    for (auto _ : state) {
        LoadLevel(kLevelName);
        state.PauseTiming();
        if (LevelObjects().size() != kObjects) {
            state.SkipWithError("the generated level did not load whole");
        }
        DestroyAllLevelObjects();
        MessagingSystem::Reset();
        Graveyard::FreeAll();
        state.ResumeTiming();
    }
    state.counters["objects/s"] = benchmark::Counter(
        static_cast<double>(kObjects) * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(Baseline_ReadLines)->Name("LevelLoad10000/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndTokenize)->Name("LevelLoad10000/tokenize")->Unit(benchmark::kMillisecond);
BENCHMARK(LoadLevel10000)->Name("LevelLoad10000/load")->Unit(benchmark::kMillisecond);

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
