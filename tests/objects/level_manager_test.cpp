// The level sequence: the level table, every ChangeLevel target, and the frames of a level change
// as the real engine runs them.
#include "objects/level_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "engine/core.h"
#include "graphics/texture.h"
#include "objects/game_logic_system.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/check_listener.h"
#include "support/data_file_test.h"
#include "support/test_components.h"

namespace {

using testing_support::HeadlessEngine;
using testing_support::LevelObjectNames;

// What was sent during the frame that just ran, as seen from the next one.
struct Sent {
    std::vector<MessageType> types;
    std::vector<std::string> levelsStarted;
    bool Has(MessageType t) const {
        return std::find(types.begin(), types.end(), t) != types.end();
    }
};

// The messages readable now.
Sent Read() {
    Sent sent;
    for (const auto& m : MessagingSystem::GetMessages()) {
        sent.types.push_back(m->type);
        if (const auto* started = As<LevelStartedMessage>(*m)) {
            sent.levelsStarted.push_back(started->levelName);
        }
    }
    return sent;
}

// Drives the sequencer alone: makes everything sent so far readable, runs one update, and returns
// what that update sent.
Sent Step() {
    MessagingSystem::Update();
    LevelManager::Update();
    MessagingSystem::Update();
    return Read();
}

class LevelManagerTest : public testing_support::DataFileTest {
protected:
    // Archetypes loaded and level `level` started, as after start-up.
    void StartAt(int level) {
        ASSERT_TRUE(LevelManager::SetStartLevel(level));
        MessagingSystem::Send<ArchetypesLoadedMessage>();
        Step();
    }

    void Request(int target) { MessagingSystem::Send<ChangeLevelMessage>(target); }
};

TEST_F(LevelManagerTest, ALevelStartedBeforeTheArchetypesAreLoadedReadsNoFile) {
    assets.Write("level_Intro", "Early\n{\n}\n");
    LevelManager::StartLevel("level_Intro");
    const Sent sent = Step();
    EXPECT_FALSE(sent.Has(MessageType::LevelObjectsLoaded));
    EXPECT_TRUE(LevelObjects().empty());
}

// Requests in the frames after a start: each frame's requests, the level that frame starts ("" for
// none: nothing is sent at all), and where the sequence stands after the last frame. A start
// always clears the old level first. 21 is the code after the last level, 22 and -1 restart.
TEST_F(LevelManagerTest, LevelRequestsStartTheirLevels) {
    struct Frame {
        std::vector<int> requests;
        const char* started;
    };
    const struct {
        const char* name;
        int start;
        std::vector<Frame> frames;
        int current;
    } cases[] = {
        {"a level number", 0, {{{3}, "level_MovingTut1"}}, 3},
        {"the current level", 4, {{{4}, ""}}, 4},
        {"the last of a frame", 0, {{{5, 7}, "level_PreJump"}}, 7},
        {"after the last level, then a restart",
         20,
         {{{21}, "BrelSplashLevel"}, {{22}, "BrelSplashLevel"}},
         0},
        {"restarts",
         0,
         {{{22}, "BrelSplashLevel"},
          {{6}, "level_PreFan"},
          {{-1}, "level_PreFan"},
          {{22}, "level_PreFan"}},
         6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LevelManager::Reset();
        StartAt(c.start);
        for (const Frame& frame : c.frames) {
            for (const int target : frame.requests) {
                Request(target);
            }
            const Sent sent = Step();
            if (*frame.started == '\0') {
                EXPECT_TRUE(sent.types.empty());
            } else {
                EXPECT_EQ(sent.types, (std::vector<MessageType>{MessageType::ClearLevel,
                                                                MessageType::LevelStarted}));
                EXPECT_EQ(sent.levelsStarted, (std::vector<std::string>{frame.started}));
            }
        }
        EXPECT_EQ(LevelManager::GetCurrentLevel(), c.current);
    }
}

// Which level ArchetypesLoaded starts at start-up is LevelSequenceTest's.
TEST_F(LevelManagerTest, StartLevelCallsItsHooksAndTheEditorCodesSetUpTheirViews) {
    std::vector<std::string> called;
    auto& hooks = LevelManager::GetHooks();
    hooks.resetCameras = [&] { called.push_back("cameras"); };
    hooks.stopRumble = [&] { called.push_back("rumble"); };
    hooks.setUpLevelEditorView = [&] { called.push_back("level view"); };
    hooks.setUpArchetypeEditorView = [&] { called.push_back("archetype view"); };
    StartAt(2);
    EXPECT_EQ(called, (std::vector<std::string>{"cameras", "rumble"}));
    Request(23);
    Sent sent = Step();
    EXPECT_EQ(sent.types, (std::vector<MessageType>{MessageType::EnterLevelEditor}));
    EXPECT_EQ(called.back(), "level view");
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 23);

    Request(24);
    sent = Step();
    EXPECT_EQ(sent.types, (std::vector<MessageType>{MessageType::ClearLevel,
                                                    MessageType::EnterArchetypeEditor}));
    EXPECT_EQ(called,
              (std::vector<std::string>{"cameras", "rumble", "level view", "archetype view"}));

    // From an editor a level number starts that level.
    Request(2);
    EXPECT_EQ(Step().levelsStarted, (std::vector<std::string>{"level_Intro"}));
}

TEST_F(LevelManagerTest, UnknownCodesAndRestartsFromAnEditorAreIgnored) {
    const testing_support::ExpectedCheckFailures expected;
    StartAt(5);
    Request(26);
    EXPECT_TRUE(Step().types.empty());
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 5);
    EXPECT_TRUE(isRunning);

    Request(23);
    Step();
    Request(22);
    EXPECT_TRUE(Step().types.empty());
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 23);
    EXPECT_EQ(expected.Count(), 2) << "no sender makes either request";
    // A reload of the archetypes in an editor starts no level either.
    MessagingSystem::Send<ArchetypesLoadedMessage>();
    EXPECT_TRUE(Step().levelsStarted.empty());
}

// The real engine: frame by frame through start-up (the texture list, the animation list, the
// archetypes) and one level change.
class LevelSequenceTest : public testing_support::DataFileTest {
protected:
    void SetUp() override {
        assets.Write("Objects", "Counter\n");
        assets.Write("Counter", "TestCounter step 2 \n");
        assets.Write("TextureList", "Wall\n");
        std::filesystem::copy_file(std::filesystem::path(VORL_SOURCE_DIR) / "assets" / "Wall.png",
                                   assets.Folder() / "Wall.png");
        assets.Write("AnimationList", "Spin Wall 0 10 0.05\n");
        assets.Write("BrelSplashLevel", "Splash\n{\nTransform2D 0.0 0.0 0.0 1.0 1.0 0.0\n}\n");
        assets.Write("level_Intro",
                     "Counted\n{\nTransform2D 1.0 2.0 0.0 1.0 1.0 0.0\nTestCounter step 3 \n}\n");
    }
};

TEST_F(LevelSequenceTest, StartUpAndALevelChangeFollowTheirFrames) {
    HeadlessEngine engine;
    LoadGameData(engine.core());
    EXPECT_EQ(MessagingSystem::FrameNumber(), 1u) << "after one warm-up frame on empty data";
    // The animation found its sheet, so the texture list was read first.
    ASSERT_NE(AnimationTable().Get("Spin"), nullptr);
    EXPECT_EQ(AnimationTable().Get("Spin")->texture, TextureTable().Get("Wall"));
    ASSERT_TRUE(ArchetypeTable().Contains("Counter"));
    auto* logic = engine.core().Get<GameLogicSystem>("GameLogicSystem");

    engine.RunFrames(1);  // reads ArchetypesLoaded, starts level 0
    EXPECT_TRUE(Read().Has(MessageType::ArchetypesLoaded));
    EXPECT_TRUE(LevelObjects().empty());

    engine.RunFrames(1);  // reads LevelStarted, loads the splash level
    EXPECT_TRUE(Read().Has(MessageType::LevelStarted));
    EXPECT_EQ(LevelObjectNames(), (std::vector<std::string>{"Splash"}));
    EXPECT_TRUE(logic->update);

    // Frame N: a level change is requested.
    MessagingSystem::Send<ChangeLevelMessage>(2);

    engine.RunFrames(1);  // N+1: the sequencer switches; the old level still stands
    EXPECT_TRUE(Read().Has(MessageType::ChangeLevel));
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 2);
    EXPECT_EQ(LevelObjectNames(), (std::vector<std::string>{"Splash"}));

    engine.RunFrames(1);  // N+2: the old level is cleared and the new file read
    EXPECT_TRUE(Read().Has(MessageType::ClearLevel));
    EXPECT_TRUE(Read().Has(MessageType::LevelStarted));
    ASSERT_EQ(LevelObjectNames(), (std::vector<std::string>{"Counted"}));
    auto* counter = LevelObjects()[0]->Get<TestCounter>("TestCounter");
    ASSERT_NE(counter, nullptr);
    EXPECT_EQ(counter->step, 3);
    EXPECT_EQ(counter->updates, 0);
    EXPECT_TRUE(logic->Components().Empty());

    engine.RunFrames(1);  // N+3: the new components are taken up and run
    EXPECT_TRUE(Read().Has(MessageType::LevelObjectsLoaded));
    ASSERT_EQ(logic->Components().Size(), 1u);
    EXPECT_EQ(counter->updates, 1);
    EXPECT_TRUE(diagnostics.Lines().empty());
}

}  // namespace
