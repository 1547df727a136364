// GameLogicSystem: when it runs and which components it takes up. How removal during a pass leaves
// every other component updated exactly once is the component list's (component_list_test.cpp).
#include "objects/game_logic_system.h"

#include <gtest/gtest.h>

#include "core/editor_mode.h"
#include "core/messaging.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

class GameLogicTest : public testing_support::EngineTest {
protected:
    // One frame of the system: what was sent so far becomes readable, then the system runs.
    void Frame() {
        MessagingSystem::Update();
        system.Update();
    }

    // A level object with one counter, taken up by the system in the next frame.
    template <class T = TestCounter>
    T* AddCounter(const std::string& name) {
        auto* counter = new T;
        MakeLevelObject(name)->AddComponent("TestCounter", counter);
        return counter;
    }

    GameLogicSystem system;
};

TEST_F(GameLogicTest, RunsFromTheFirstLevelStartedUntilPausedAndAgainOnResume) {
    TestCounter* counter = AddCounter("A");
    Frame();
    EXPECT_FALSE(system.update);
    EXPECT_EQ(counter->updates, 0);
    // A level started in the editor does not resume it.
    EditorMode::SetActive(true);
    MessagingSystem::Send<LevelStartedMessage>("L");
    Frame();
    EXPECT_FALSE(system.update);
    EditorMode::SetActive(false);

    MessagingSystem::Send<LevelStartedMessage>("L");
    Frame();
    EXPECT_EQ(counter->updates, 1);

    using MessagingSystem::Send;
    void (*const stops[])() = {
        [] { Send<TogglePauseMessage>(); }, [] { Send<EnterLevelEditorMessage>(); },
        [] { Send<EnterArchetypeEditorMessage>(); }, [] { Send<DeviceLostToggleMessage>(); }};
    for (const auto stop : stops) {
        stop();
        const int before = counter->updates;
        Frame();
        Frame();
        EXPECT_EQ(counter->updates, before);
        Send<ResumeMessage>();
        Frame();
        EXPECT_EQ(counter->updates, before + 1);
    }
}

// Which components the list takes up is component_list_test.cpp's; here the system forgets them.
TEST_F(GameLogicTest, ForgetsItsComponentsOnArchetypesLoaded) {
    AddCounter("Level");
    Frame();
    EXPECT_EQ(system.Components().Size(), 1u);
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    EXPECT_TRUE(system.Components().Empty());
}

TEST_F(GameLogicTest, InTheEditorOnlyParticleEmittersRunAndDetachedComponentsStillLeave) {
    TestCounter* counter = AddCounter("Counter");
    TestEmitter* emitter = AddCounter<TestEmitter>("Emitter");
    TestCounter* doomed = AddCounter("Doomed");
    Frame();
    EditorMode::SetActive(true);
    doomed->GetOwner()->Destroy();
    Frame();
    Frame();
    EXPECT_EQ(counter->updates, 0);
    EXPECT_EQ(emitter->updates, 2);
    EXPECT_EQ(doomed->updates, 0);
    EXPECT_EQ(system.Components().Size(), 2u);
}

}  // namespace
