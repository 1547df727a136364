#include "core/messaging.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/headless_engine.h"

namespace {

class Messaging : public ::testing::Test {
protected:
    void SetUp() override { MessagingSystem::Reset(); }
    void TearDown() override { MessagingSystem::Reset(); }

    static std::vector<std::int32_t> ReadTargets() {
        std::vector<std::int32_t> targets;
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* change = As<ChangeLevelMessage>(*message)) {
                targets.push_back(change->target);
            }
        }
        return targets;
    }
};

// A message is read by every reader, in sending order and without being consumed, during the
// whole frame after the one it was sent in (replies sent while reading included) and only then.
TEST_F(Messaging, AMessageIsSeenDuringTheWholeNextFrameAndOnlyThen) {
    MessagingSystem::Send<ChangeLevelMessage>(4);
    MessagingSystem::Send<ChangeLevelMessage>(5);
    EXPECT_TRUE(ReadTargets().empty()) << "not visible in the frame it was sent";
    MessagingSystem::Update();
    for (const auto& message : MessagingSystem::GetMessages()) {
        if (const auto* change = As<ChangeLevelMessage>(*message)) {
            MessagingSystem::Send<ChangeLevelMessage>(change->target + 2);
        }
    }
    EXPECT_EQ(ReadTargets(), (std::vector<std::int32_t>{4, 5}));
    EXPECT_EQ(ReadTargets(), (std::vector<std::int32_t>{4, 5})) << "reading does not consume";
    MessagingSystem::Update();
    EXPECT_EQ(ReadTargets(), (std::vector<std::int32_t>{6, 7}));
    MessagingSystem::Update();
    EXPECT_TRUE(ReadTargets().empty());
}

TEST_F(Messaging, CollisionOtherFollowsTheOtherObjectRule) {
    int a = 0, b = 0, c = 0;  // stand-ins: only the addresses matter
    auto* objectA = reinterpret_cast<Object*>(&a);
    auto* objectB = reinterpret_cast<Object*>(&b);
    auto* stranger = reinterpret_cast<Object*>(&c);
    const CollisionMessage contact(CollisionKind::Continues, objectA, objectB);
    EXPECT_EQ(contact.Other(objectA), objectB);
    EXPECT_EQ(contact.Other(objectB), objectA);
    EXPECT_EQ(contact.Other(stranger), nullptr);
}

TEST_F(Messaging, QueuedPointersAreReportedUntilTheMessageIsFreed) {
    int a = 0;
    auto* object = reinterpret_cast<Object*>(&a);
    MessagingSystem::Send<AttachSoundMessage>("SFX/Fan", object);
    for (int frame = 0; frame < 2; ++frame) {
        std::vector<const void*> refs;
        MessagingSystem::CollectReferences(refs);
        EXPECT_EQ(refs, std::vector<const void*>{object}) << "frame " << frame;
        MessagingSystem::Update();
    }
    std::vector<const void*> refs;
    MessagingSystem::CollectReferences(refs);
    EXPECT_TRUE(refs.empty());
}

}  // namespace
