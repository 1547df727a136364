// Best runs: level 3's solution played on the pad and then with the keys, as a player plays, is
// kept and watched to its goal on its last step, under other bindings, or stopped halfway; a
// shorter run replaces a longer; a damaged file counts as none, in one line. (A run that no longer
// matches its level is watched in tests/e2e/best_run_replay_test.sh.)
#include "gameplay/best_runs.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/frame_rate_controller.h"
#include "core/messaging.h"
#include "input/bindings.h"
#include "input/input_recording.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "support/asset_folder.h"
#include "support/fake_gamepads.h"
#include "support/headless_engine.h"
#include "support/scripted_services.h"
#include "support/scripted_window.h"

namespace {

namespace fs = std::filesystem;
using BestRun = BestRuns::Run;

constexpr int kLevel = 3;

// The shipped data with a scratch user folder.
struct ScratchUser : testing_support::TempAssets {
    ScratchUser() {
        Assets::Folders folders = Assets::Current();
        folders.shipped = folders.saves = fs::path(VORL_SOURCE_DIR) / "assets";
        folders.user = Folder();
        Assets::Use(folders);
        BestRuns::Reset();
    }
    ~ScratchUser() { BestRuns::Reset(); }
};

BestRun Steps(std::size_t count) {
    platform::ControllerState record;
    record.packetNumber = BestRuns::kTag;
    return BestRun(count, record);
}

// Level 3's shipped solution.
BestRun Solution() {
    InputRecording::Reader reader;
    EXPECT_TRUE(reader.Open(kLevel, 0));
    BestRun run;
    for (platform::ControllerState state;
         reader.Next(state) == InputRecording::Reader::Result::Record;) {
        run.push_back(state);
    }
    return run;
}

// The real game on level 3, its pad and keys played by the test one step at a time.
struct Game {
    testing_support::FakeGamepads* pads = nullptr;
    testing_support::ScriptedWindow* window = nullptr;
    std::unique_ptr<testing_support::HeadlessEngine> engine;
    bool levelLive = false;

    Game() {
        testing_support::ScriptedServices made = testing_support::MakeScriptedServices();
        pads = made.pads;
        window = made.window;
        pads->pads[0] = platform::ControllerState{};
        engine = std::make_unique<testing_support::HeadlessEngine>(
            std::move(made.services), FrameRateController::kGameFrameTime);
        LevelManager::SetStartLevel(kLevel);
        LoadGameData(engine->core());
    }

    // Plays `solution` from the step the level's objects are live: on the pad, or as the keys
    // standing for its buttons, until the next level starts.
    void Play(const BestRun& solution, bool keys) {
        std::size_t next = 0;
        std::uint16_t held = 0;
        engine->core().SetStepHooks(
            {[&] {
                 const platform::ControllerState now = levelLive && next < solution.size()
                                                           ? solution[next++]
                                                           : platform::ControllerState{};
                 if (!keys) {
                     pads->pads[0] = now;
                     return;
                 }
                 const bool right = (now.buttons & PadButton::DPadRight) || now.thumbLX > 8192;
                 const auto want = static_cast<std::uint16_t>((right ? PadButton::DPadRight : 0) |
                                                              (now.buttons & PadButton::A));
                 if ((want ^ held) & PadButton::DPadRight) {
                     window->QueueKey(VirtualKey::Right, right);
                 }
                 if ((want ^ held) & PadButton::A) {
                     window->QueueKey(VirtualKey::Up, (want & PadButton::A) != 0);
                 }
                 held = want;
             },
             [&] {
                 levelLive = levelLive || MessagingSystem::WasSent(MessageType::LevelObjectsLoaded);
             }});
        for (int frame = 0; frame < 1500 && LevelManager::GetCurrentLevel() == kLevel; ++frame) {
            engine->core().Update();
        }
        engine->core().SetStepHooks({});
    }

    // Watches level 3's best run to its end.
    BestRuns::Outcome Watch() {
        EXPECT_TRUE(BestRuns::Watch(kLevel));
        for (int frame = 0; frame < 1200 && BestRuns::IsWatching(); ++frame) {
            engine->core().Update();
        }
        return BestRuns::LastOutcome();
    }
};

TEST(BestRuns, APlayedLevelIsKeptAndItsReplayReachesTheGoalOnItsLastStep) {
    for (const bool keys : {false, true}) {
        SCOPED_TRACE(keys ? "keys" : "pad");
        ScratchUser user;
        Game game;
        game.Play(Solution(), keys);
        ASSERT_TRUE(BestRuns::Has(kLevel));
        const std::optional<BestRun> kept = BestRuns::Load(kLevel);
        ASSERT_TRUE(kept);
        const auto bytes = fs::file_size(BestRuns::FileOf(kLevel));
        // Kept under one layout, watched under another (Right now moves left): the replay presses
        // the keys bound now.
        Bindings::Rebind(Bindings::Action::MoveLeft, VirtualKey::Right);
        EXPECT_EQ(game.Watch(), BestRuns::Outcome::Matched);
        Bindings::ResetToDefaults();
        // Watching keeps nothing new, and the game goes back where it was.
        EXPECT_EQ(fs::file_size(BestRuns::FileOf(kLevel)), bytes);
        game.engine->RunFrames(4);
        EXPECT_EQ(LevelManager::GetCurrentLevel(), kLevel + 1);
        EXPECT_EQ(kept->size() * InputRecording::kRecordSize, bytes);
        // The keys are kept apart from the pad's buttons.
        const bool keysKept = std::any_of(kept->begin(), kept->end(), [](const auto& record) {
            return (record.packetNumber & 0xFFFFu) != 0 && record.buttons == 0;
        });
        EXPECT_EQ(keysKept, keys);
        // Stopped halfway (the menu's key), the watch goes back and leaves no key held.
        game.engine->RunFrames(4);
        ASSERT_TRUE(BestRuns::Watch(kLevel));
        game.engine->RunFrames(100);
        BestRuns::StopWatching();
        game.engine->RunFrames(4);
        EXPECT_EQ(BestRuns::LastOutcome(), BestRuns::Outcome::Stopped);
        EXPECT_EQ(LevelManager::GetCurrentLevel(), kLevel + 1);
        EXPECT_FALSE(InputSystem::KeyDown(VirtualKey::Right));
    }
}

// Watched from the pause menu of its own level: the level starts again for the replay, and
// again after it.
TEST(BestRuns, WatchingARunGivesThePlayerNoStarAndNoTime) {
    ScratchUser user;
    ProgressKeeper::Enable(Assets::Current().user / "progress");
    Game game;
    game.engine->RunFrames(4);
    BestRun run = Solution();
    for (platform::ControllerState& record : run) {
        record.packetNumber = BestRuns::kTag;
    }
    ASSERT_TRUE(BestRuns::Offer(kLevel, run));
    EXPECT_NE(game.Watch(), BestRuns::Outcome::None);
    game.engine->RunFrames(4);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), kLevel);
    const Progress& progress = ProgressKeeper::Current();
    EXPECT_EQ(progress.found[kLevel], 0u);
    EXPECT_EQ(progress.bestSteps[kLevel], 0);
    EXPECT_EQ(StarCount, 0);
    EXPECT_EQ(StarsTakenHere | StarsTakenInLevelLeft, 0u);
    ProgressKeeper::Disable();
}

TEST(BestRuns, AShorterRunReplacesTheKeptOneAndADamagedFileCountsAsNone) {
    struct Case {
        const char* kept;  // the file's bytes, "" for none
        std::size_t offered;
        std::size_t keptAfter;
        const char* line;  // part of the one line said, null for none
    };
    const std::string ten(10 * InputRecording::kRecordSize, '\0');
    const Case cases[] = {
        {"", 12, 12, nullptr},
        {"steps:10", 12, 10, nullptr},
        {"steps:10", 8, 8, nullptr},
        {"short", 12, 12, "5 bytes are not"},
        {"untagged", 12, 12, "not a best run's record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kept);
        ScratchUser user;
        testing_support::CapturedDiagnostics lines;
        const std::string kept = c.kept;
        if (kept == "steps:10") {
            ASSERT_TRUE(BestRuns::Offer(kLevel, Steps(10)));
        } else if (!kept.empty()) {
            fs::create_directories(BestRuns::FileOf(kLevel).parent_path());
            std::ofstream(BestRuns::FileOf(kLevel), std::ios::binary)
                << (kept == "short" ? std::string("short") : ten);
        }
        EXPECT_EQ(BestRuns::Offer(kLevel, Steps(c.offered)), c.offered == c.keptAfter);
        const std::optional<BestRun> after = BestRuns::Load(kLevel);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->size(), c.keptAfter);
        EXPECT_EQ(lines.Lines().size(), c.line ? 1u : 0u);
        EXPECT_TRUE(!c.line || lines.Contains(c.line));
    }
}

}  // namespace
