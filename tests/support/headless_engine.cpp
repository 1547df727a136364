#include "support/headless_engine.h"

#include "core/clock.h"
#include "core/editor_mode.h"
#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "gameplay/run_state.h"
#include "graphics/camera.h"
#include "graphics/looping_background_component.h"
#include "graphics/texture.h"
#include "input/input_system.h"
#include "objects/graveyard.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "objects/object_system.h"
#include "support/fake_gamepads.h"
#include "support/scripted_services.h"
#include "support/scripted_window.h"

namespace testing_support {

void ResetEngineState() {
    DestroyAllLevelObjects();
    DestroyAllArchetypes();
    MessagingSystem::Reset();
    Graveyard::FreeAll();
    LevelManager::Reset();
    LevelManager::GetHooks() = {};
    EditorMode::SetActive(false);
    ClearTextureTables();
    ResetCameras();
    LoopingBackgroundComponent::ResetDepthFlag();
    BeginNewGame();
    InputSystem::InputInitialize();
    FrameRateController::UseClock(timing::MakeFixedStepClock(1.0 / 60.0));
    FrameRateController::UseStep(1.0 / 60.0);
    isRunning = true;
}

ScriptedServices MakeScriptedServices(double clockFrame) {
    ScriptedServices made{platform::MakeHeadlessServices(clockFrame)};
    auto window = std::make_unique<ScriptedWindow>();
    made.window = window.get();
    made.services.window = std::move(window);
    auto pads = std::make_unique<FakeGamepads>();
    made.pads = pads.get();
    made.services.gamepads = std::move(pads);
    return made;
}

HeadlessEngine::HeadlessEngine(double step)
    : HeadlessEngine(platform::MakeHeadlessServices(step), step) {}

HeadlessEngine::HeadlessEngine(platform::Services services, double step) {
    ResetEngineState();
    FrameRateController::UseStep(step);
    core_ = std::make_unique<Core>(std::move(services));
}

HeadlessEngine::~HeadlessEngine() {
    core_.reset();
    ResetEngineState();
}

void HeadlessEngine::RunFrames(int count) {
    for (int i = 0; i < count; ++i) {
        core_->Update();
    }
}

}  // namespace testing_support
