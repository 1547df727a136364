// What one undo step costs the editor on a large level (1,000 objects with a rigid body each),
// against a baseline measured in the same run: writing the level's text, which every recorded
// step does once. Recording adds the comparison with the previous state; undoing rebuilds the
// whole level from its text. EditorHistory10000/memory measures what 200 recorded edits on a
// level of 10,000 objects add to the process (counters in MB, one run).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/messaging.h"
#include "editor/level_history.h"
#include "levels/data_reader.h"
#include "levels/data_writer.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "support/ratio_main.h"

namespace {

constexpr int kObjects = 1000;
constexpr int kLargeObjects = 10000;
constexpr int kEdits = 200;

void BuildLevel(int objects = kObjects) {
    std::ostringstream text;
    char block[512];
    for (int i = 0; i < objects; ++i) {
        std::snprintf(block, sizeof block,
                      "Crate\n{\nTransform2D %d.0 %d.0 5.0 30.0 30.0 0.0\nRigidBody2D mass 1.0 "
                      "friction 100 \n}\n",
                      (i % 40) * 60, (i / 40) * 60);
        text << block;
    }
    std::istringstream in(text.str());
    ReadLevelObjects(in, "generated");
}

std::string LevelText() {
    std::ostringstream out;
    WriteLevel(out, LevelObjects());
    return out.str();
}

// The process's resident memory, in MB (Linux).
double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    double pages = 0.0;
    double resident = 0.0;
    statm >> pages >> resident;
    return resident * 4096.0 / (1024.0 * 1024.0);
}

struct Level {
    explicit Level(int objects = kObjects) { BuildLevel(objects); }
    ~Level() {
        DestroyAllLevelObjects();
        MessagingSystem::Reset();
        Graveyard::FreeAll();
    }
};

void Baseline_WriteText(benchmark::State& state) {
    Level level;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LevelText());
    }
}

void RecordStep(benchmark::State& state) {
    Level level;
    LevelHistory history;
    int step = 0;
    for (auto _ : state) {
        // A changed object, as after a drag, so every record is a new step.
        LevelObjects().front()->GetTransform().SetPosition({static_cast<float>(++step), 0.0f});
        benchmark::DoNotOptimize(history.Record(LevelText()));
    }
}

void UndoStep(benchmark::State& state) {
    Level level;
    const std::string text = LevelText();
    for (auto _ : state) {
        DestroyAllLevelObjects();
        std::istringstream in(text);
        ReadLevelObjects(in, "undo");
        state.PauseTiming();
        MessagingSystem::Reset();
        Graveyard::FreeAll();
        state.ResumeTiming();
    }
}

void RecordMemory(benchmark::State& state) {
    Level level(kLargeObjects);
    for (auto _ : state) {
        LevelHistory history;
        history.Reset(LevelText());
        const double before = ResidentMegabytes();
        for (int edit = 1; edit <= kEdits; ++edit) {
            Object* moved = LevelObjects()[static_cast<std::size_t>(edit * 37 % kLargeObjects)];
            moved->GetTransform().SetPosition({static_cast<float>(edit), 0.0f});
            history.Record(LevelText());
        }
        state.counters["rss_before_MB"] = before;
        state.counters["rss_after_MB"] = ResidentMegabytes();
        state.counters["steps_MB"] = static_cast<double>(history.StepBytes()) / (1024.0 * 1024.0);
        state.counters["level_text_MB"] =
            static_cast<double>(history.Current().size()) / (1024.0 * 1024.0);
    }
}

}  // namespace

BENCHMARK(RecordMemory)
    ->Name("EditorHistory10000/memory")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(Baseline_WriteText)->Name("EditorHistory1000/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(RecordStep)->Name("EditorHistory1000/record")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoStep)->Name("EditorHistory1000/undo")->Unit(benchmark::kMillisecond);

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
