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

TEST_F(Messaging, AMessageIsSeenDuringTheWholeNextFrameAndOnlyThen) {
    MessagingSystem::Send<ChangeLevelMessage>(4);
    EXPECT_TRUE(ReadTargets().empty()) << "not visible in the frame it was sent";
    MessagingSystem::Update();
    EXPECT_EQ(ReadTargets(), std::vector<std::int32_t>{4});
    // Sent after this frame's swap: not visible until the next one, the first stays visible.
    MessagingSystem::Send<ChangeLevelMessage>(5);
    EXPECT_EQ(ReadTargets(), std::vector<std::int32_t>{4});
    MessagingSystem::Update();
    EXPECT_EQ(ReadTargets(), std::vector<std::int32_t>{5});
    MessagingSystem::Update();
    EXPECT_TRUE(ReadTargets().empty());
}

TEST_F(Messaging, EveryReaderSeesTheWholeQueueInSendingOrder) {
    for (int target = 0; target < 5; ++target) {
        MessagingSystem::Send<ChangeLevelMessage>(target);
    }
    MessagingSystem::Update();
    const auto first = ReadTargets();
    const auto second = ReadTargets();
    EXPECT_EQ(first, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(first, second) << "reading does not consume";
}

TEST_F(Messaging, AReplySentWhileReadingArrivesNextFrame) {
    MessagingSystem::Send<ChangeLevelMessage>(1);
    MessagingSystem::Update();
    for (const auto& message : MessagingSystem::GetMessages()) {
        if (const auto* change = As<ChangeLevelMessage>(*message)) {
            MessagingSystem::Send<ChangeLevelMessage>(change->target + 1);
        }
    }
    EXPECT_EQ(ReadTargets(), std::vector<std::int32_t>{1});
    MessagingSystem::Update();
    EXPECT_EQ(ReadTargets(), std::vector<std::int32_t>{2});
}

TEST_F(Messaging, PayloadsKeepTheirTypeNumbers) {
    EXPECT_EQ(static_cast<std::uint32_t>(ClearLevelMessage().type), 0u);
    EXPECT_EQ(
        static_cast<std::uint32_t>(CollisionMessage(CollisionKind::Began, nullptr, nullptr).type),
        10u);
    EXPECT_EQ(static_cast<std::uint32_t>(ArchetypesLoadedMessage().type), 17u);
    EXPECT_EQ(static_cast<std::uint32_t>(ReturnToPauseMenuMessage().type), 35u);
    const PlaySoundMessage sound("SFX/Player_Jump_01");
    EXPECT_EQ(As<StopSoundMessage>(sound), nullptr);
    ASSERT_NE(As<PlaySoundMessage>(sound), nullptr);
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
