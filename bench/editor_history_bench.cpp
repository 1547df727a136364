// What one undo step costs the editor on a large level (1,000 objects with a rigid body each),
// against a baseline measured in the same run: writing the level's text, which every recorded
// step does once. Recording adds the comparison with the previous state; undoing rebuilds the
// whole level from its text.
#include <benchmark/benchmark.h>

#include <cstdio>
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

void BuildLevel() {
    std::ostringstream text;
    char block[512];
    for (int i = 0; i < kObjects; ++i) {
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

struct Level {
    Level() { BuildLevel(); }
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

}  // namespace

BENCHMARK(Baseline_WriteText)->Name("EditorHistory1000/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(RecordStep)->Name("EditorHistory1000/record")->Unit(benchmark::kMillisecond);
BENCHMARK(UndoStep)->Name("EditorHistory1000/undo")->Unit(benchmark::kMillisecond);

VORL_BENCHMARK_MAIN_WITH_RATIOS("baseline")
