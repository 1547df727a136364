#include "engine/core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "platform/services.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/scripted_services.h"
#include "support/test_components.h"

namespace {

using testing_support::HeadlessEngine;

TEST(Core, ProfileEntriesFollowTheFrameSequence) {
    HeadlessEngine engine;
    // A game-logic component runs inside the last table system, so it sees every entry recorded
    // before that system's own.
    MessagingSystem::Send<LevelStartedMessage>("test");
    auto* object = new Object;
    auto* probe = new TestCounter;
    object->AddComponent("TestCounter", probe);
    LevelObjects().push_back(object);
    std::vector<std::string> seen;
    probe->onUpdate = [&](TestCounter&) {
        seen.clear();
        for (const auto& [name, seconds] : FrameRateController::GetProfileEntries()) {
            seen.push_back(name);
            EXPECT_GE(seconds, 0.0) << name;
        }
    };
    engine.RunFrames(2);
    // The frame's start, the queues and the input, then each table system before the last.
    const auto& systems = engine.core().Systems();
    ASSERT_EQ(seen.size(), systems.size() + 2);
    EXPECT_EQ(std::vector<std::string>(seen.begin(), seen.begin() + 3),
              (std::vector<std::string>{"StartFrame", "MessagingSystem", "InputSystem"}));
    for (std::size_t i = 3; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i], systems[i - 3].name);
    }
    EXPECT_EQ(systems.back().name, "GameLogicSystem");
    EXPECT_EQ(engine.core().GetSystem("NoSuchSystem"), nullptr);
}

// A machine drawing one frame per two steps: each frame runs every system twice, reads the pad
// twice, and a message sent in its first step is read in its second.
TEST(Core, AFrameOfTwoStepsRunsTheWholeStepTwice) {
    testing_support::ScriptedServices made = testing_support::MakeScriptedServices(2.0 / 63.0);
    testing_support::FakeGamepads& pad = *made.pads;
    pad.pads[0] = platform::ControllerState{};
    HeadlessEngine engine(std::move(made.services), 1.0 / 63.0);
    engine.RunFrames(3);
    int steps = 0;
    int heardIn = 0;
    engine.core().SetStepHooks({[&] { ++steps; },
                                [&] {
                                    for (const auto& message : MessagingSystem::GetMessages()) {
                                        if (As<LevelStartedMessage>(*message)) {
                                            heardIn = steps;
                                        }
                                    }
                                    if (steps == 1) {
                                        MessagingSystem::Send<LevelStartedMessage>("test");
                                    }
                                }});
    const int readsBefore = pad.reads[0];
    engine.RunFrames(1);
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(heardIn, 2);
    EXPECT_EQ(pad.reads[0] - readsBefore, 2);
}

// Wired to the input system: the code restarts the game, or ends it while input is recorded.
TEST(Core, BackToTheFirstLevelRestartsTheGameOrQuitsWhileInputIsRecorded) {
    HeadlessEngine engine;
    MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kBackToFirstLevel);
    engine.RunFrames(1);
    EXPECT_TRUE(isRunning);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 0);
    InputSystem::SetRecordInput(true);
    MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kBackToFirstLevel);
    engine.RunFrames(1);
    EXPECT_FALSE(isRunning);
    InputSystem::SetRecordInput(false);
}

}  // namespace
