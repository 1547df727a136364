// Destroyed objects and components stay allocated exactly as long as something can still reach
// them: a queued message or a system's list. Run under AddressSanitizer, these scenes also prove
// that nothing reads freed storage.
#include "objects/graveyard.h"

#include <gtest/gtest.h>

#include "core/messaging.h"
#include "objects/component_list.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

using testing_support::HeadlessEngine;

Object* SpawnWithProbe(const std::string& name) {
    auto* object = new Object;
    object->SetName(name);
    object->AddComponent("TestCounter", new TestCounter);
    LevelObjects().push_back(object);
    return object;
}

TEST(Graveyard, AnObjectDestroyedMidFrameOutlivesTheMessagesThatNameIt) {
    HeadlessEngine engine;
    MessagingSystem::Send<LevelStartedMessage>("test");  // the game logic runs from next frame
    Object* victim = SpawnWithProbe("Crate");
    Object* killer = SpawnWithProbe("Player1");
    auto* killerProbe = killer->Get<TestCounter>("TestCounter");
    auto* victimProbe = victim->Get<TestCounter>("TestCounter");
    engine.RunFrames(1);  // registration and LevelStarted are read
    ASSERT_EQ(killerProbe->updates, 1) << "registered and run in the first frame";

    // During its next update the killer reports a contact with the victim, then destroys it.
    bool done = false;
    killerProbe->onUpdate = [&](TestCounter& self) {
        if (!done) {
            done = true;
            MessagingSystem::Send<CollisionMessage>(CollisionKind::Began, self.GetOwner(), victim);
            victim->Destroy();
        }
    };
    // Readers in the next frame look at the message: a reader that compares against the pointer
    // must find the storage still there.
    int seen = 0;
    engine.RunFrames(1);
    const int victimUpdatesAtDestroy = victimProbe->updates;
    EXPECT_EQ(Graveyard::ObjectCount(), 1u);
    EXPECT_EQ(Graveyard::ComponentCount(), 1u);

    killerProbe->onUpdate = [&](TestCounter& self) {
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* contact = As<CollisionMessage>(*message)) {
                if (contact->Other(self.GetOwner()) != nullptr) {
                    EXPECT_EQ(contact->objectB->GetName(), "Crate");
                    ++seen;
                }
            }
        }
    };
    engine.RunFrames(1);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Graveyard::ObjectCount(), 1u) << "the contact message still names it";
    EXPECT_EQ(victimProbe->updates, victimUpdatesAtDestroy) << "a detached component is not run";

    engine.RunFrames(1);
    EXPECT_EQ(Graveyard::ObjectCount(), 0u);
    EXPECT_EQ(Graveyard::ComponentCount(), 0u);
}

using GraveyardTest = testing_support::EngineTest;

TEST_F(GraveyardTest, AComponentStaysWhileASystemListStillHoldsIt) {
    Object* object = SpawnWithProbe("Fan");
    auto* probe = object->Get<TestCounter>("TestCounter");
    ComponentList<GameLogicComponent> list;
    ASSERT_TRUE(list.AddAnnounced(probe));
    MessagingSystem::Reset();  // no message holds anything

    object->Destroy();
    Graveyard::Collect();
    EXPECT_EQ(Graveyard::ComponentCount(), 1u);
    EXPECT_EQ(Graveyard::ObjectCount(), 0u);
    list.Prune();
    EXPECT_TRUE(list.Empty());
    Graveyard::Collect();
    EXPECT_EQ(Graveyard::ComponentCount(), 0u);
}

TEST(Graveyard, AThousandLevelClearsLeaveNothingBehind) {
    HeadlessEngine engine;
    for (int level = 0; level < 1000; ++level) {
        for (int i = 0; i < 10; ++i) {
            SpawnWithProbe("Crate")->AddComponent("TestSign", new TestSign);
        }
        MessagingSystem::Send<LevelStartedMessage>("level");
        engine.RunFrames(2);
        MessagingSystem::Send<ClearLevelMessage>();
        engine.RunFrames(3);
        ASSERT_TRUE(LevelObjects().empty()) << "clear " << level;
        ASSERT_EQ(Graveyard::ObjectCount(), 0u) << "clear " << level;
        ASSERT_EQ(Graveyard::ComponentCount(), 0u) << "clear " << level;
    }
}

}  // namespace
