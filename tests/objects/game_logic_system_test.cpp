// GameLogicSystem: when it runs, which components it takes up, and how removal during a pass
// leaves every other component updated exactly once.
#include "objects/game_logic_system.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/messaging.h"
#include "editor/editor_mode.h"
#include "objects/graveyard.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/headless_engine.h"
#include "support/test_components.h"

namespace {

class GameLogicTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::ResetEngineState(); }
    void TearDown() override {
        EditorMode::SetActive(false);
        // The list drops its references on destruction, so it goes before the storage is freed.
        logic.reset();
        testing_support::ResetEngineState();
    }

    // One frame of the system: what was sent so far becomes readable, then the system runs.
    void Frame() {
        MessagingSystem::Update();
        system.Update();
    }

    // A level object with one counter, taken up by the system in the next frame.
    template <class T = TestCounter>
    T* AddCounter(const std::string& name) {
        auto* object = new Object;
        object->SetName(name);
        LevelObjects().push_back(object);
        auto* counter = new T;
        object->AddComponent("TestCounter", counter);
        return counter;
    }

    std::unique_ptr<GameLogicSystem> logic = std::make_unique<GameLogicSystem>();
    GameLogicSystem& system = *logic;
};

TEST_F(GameLogicTest, RunsFromTheFirstLevelStartedUntilPausedAndAgainOnResume) {
    TestCounter* counter = AddCounter("A");
    Frame();
    EXPECT_FALSE(system.update);
    EXPECT_EQ(counter->updates, 0);

    MessagingSystem::Send<LevelStartedMessage>("L");
    Frame();
    EXPECT_EQ(counter->updates, 1);

    for (auto stop : {MessageType::TogglePause, MessageType::EnterLevelEditor,
                      MessageType::EnterArchetypeEditor, MessageType::DeviceLostToggle}) {
        switch (stop) {
            case MessageType::TogglePause:
                MessagingSystem::Send<TogglePauseMessage>();
                break;
            case MessageType::EnterLevelEditor:
                MessagingSystem::Send<EnterLevelEditorMessage>();
                break;
            case MessageType::EnterArchetypeEditor:
                MessagingSystem::Send<EnterArchetypeEditorMessage>();
                break;
            default:
                MessagingSystem::Send<DeviceLostToggleMessage>();
                break;
        }
        const int before = counter->updates;
        Frame();
        Frame();
        EXPECT_EQ(counter->updates, before) << static_cast<int>(stop);
        MessagingSystem::Send<ResumeMessage>();
        Frame();
        EXPECT_EQ(counter->updates, before + 1);
    }
}

TEST_F(GameLogicTest, ALevelStartInTheEditorDoesNotResume) {
    AddCounter("A");
    EditorMode::SetActive(true);
    MessagingSystem::Send<LevelStartedMessage>("L");
    Frame();
    EXPECT_FALSE(system.update);
}

TEST_F(GameLogicTest, TakesUpOnlyOwnedLevelComponentsAndForgetsThemOnArchetypesLoaded) {
    AddCounter("Level");
    Graveyard::Bury(new TestCounter);  // announced but never owned
    auto* archetype = new Object;
    archetype->SetArchetype(true);
    archetype->SetName("Template");
    ArchetypeTable().Insert("Template", archetype);
    archetype->AddComponent("TestCounter", new TestCounter);
    Frame();
    EXPECT_EQ(system.Components().Size(), 1u);

    MessagingSystem::Send<ArchetypesLoadedMessage>();
    Frame();
    EXPECT_TRUE(system.Components().Empty());
}

TEST_F(GameLogicTest, ADetachedComponentLeavesWithoutAnUpdateAndNoOtherIsSkippedOrRepeated) {
    TestCounter* first = AddCounter("First");
    TestCounter* second = AddCounter("Second");
    TestCounter* third = AddCounter("Third");
    TestCounter* fourth = AddCounter("Fourth");
    MessagingSystem::Send<LevelStartedMessage>("L");
    Frame();
    ASSERT_EQ(system.Components().Size(), 4u);

    // During the pass, the first component destroys the third object.
    Object* thirdOwner = third->GetOwner();
    first->onUpdate = [&] {
        if (thirdOwner) {
            thirdOwner->Destroy();
            thirdOwner = nullptr;
        }
    };
    Frame();
    EXPECT_EQ(first->updates, 2);
    EXPECT_EQ(second->updates, 2);
    EXPECT_EQ(third->updates, 1);
    EXPECT_EQ(fourth->updates, 2);
    EXPECT_EQ(system.Components().Size(), 3u);

    // Detached between frames: gone in the next pass, still not updated.
    second->GetOwner()->Destroy();
    Frame();
    EXPECT_EQ(second->updates, 2);
    EXPECT_EQ(first->updates, 3);
    EXPECT_EQ(fourth->updates, 3);
    EXPECT_EQ(system.Components().Size(), 2u);
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

TEST_F(GameLogicTest, WhilePausedDetachedComponentsStillLeaveTheList) {
    AddCounter("Kept");
    TestCounter* doomed = AddCounter("Doomed");
    Frame();
    doomed->GetOwner()->Destroy();
    Frame();
    EXPECT_EQ(system.Components().Size(), 1u);
    EXPECT_EQ(doomed->updates, 0);
}

}  // namespace
