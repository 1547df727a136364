// Test fixtures: a headless engine on the fixed-step clock, and a clean slate of the engine's
// global state between tests (queues, live objects, archetypes, graveyard, input, level sequence
// and its hooks, textures and animations, cameras and the first background's depth, the editor
// flag, the stars of the run). Fixtures get the slate by deriving from EngineTest
// (support/engine_test.h).
#pragma once

#include <memory>

#include "engine/core.h"

namespace testing_support {

// Frees every queued message, live object, archetype and buried storage, and resets the services
// that keep global state. Call with no Core alive.
void ResetEngineState();

// A Core on the headless services whose every frame is one simulation step of `step` (1/60 s unless
// chosen). The global state is reset before it is built and after it is destroyed.
class HeadlessEngine {
public:
    explicit HeadlessEngine(double step = 1.0 / 60.0);
    // The same on services of the test's choosing (a scripted window, fake gamepads, a clock whose
    // frames differ from the step).
    explicit HeadlessEngine(platform::Services services, double step = 1.0 / 60.0);
    ~HeadlessEngine();
    Core& core() { return *core_; }
    void RunFrames(int count);

private:
    std::unique_ptr<Core> core_;
};

}  // namespace testing_support
