// The player as a player feels it: rolling, jumping, changing form, falling and restarting.
#include "gameplay/player_control_component.h"

#include <gtest/gtest.h>

#include <string>

#include "core/messaging.h"
#include "gameplay/progress.h"
#include "gameplay/run_state.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/gameplay_scene.h"

namespace {

using testing_support::GameplayScene;
using testing_support::PlayerLine;
using testing_support::Solid;
using testing_support::Trigger;

// A long floor of crates with the player resting on it.
std::string OnGround(const std::string& groundName = "Crate") {
    return Solid(groundName + " 0 0 2000 20") + PlayerLine(0, 60);
}

void Settle(GameplayScene& game) {
    game.Frames(60);
}

// The full form (given no kick here) has no top speed.
TEST(Player, TheHalfFormStartsRollingAtOnceAndNeverPassesItsTopSpeed) {
    struct Case {
        const char* how;
        bool gamepad;
        float kick;
    };
    for (const Case& c : {Case{"keyboard", false, 100.0f}, Case{"gamepad", true, 50.0f},
                          Case{"full form", false, 0.0f}}) {
        SCOPED_TRACE(c.how);
        const bool half = c.kick > 0.0f;
        GameplayScene game(OnGround());
        Settle(game);
        if (half) {
            game.Tap(VirtualKey::Space);
            ASSERT_FALSE(game.Player().isFull);
            EXPECT_FLOAT_EQ(game.PlayerBody().GetMass(), 1.2f);
        }
        if (c.gamepad) {
            game.Pad().thumbLX = 32767;
        } else {
            game.Press(VirtualKey::Right);
        }
        game.Frames(1);
        if (half) {
            EXPECT_FLOAT_EQ(game.PlayerBody().GetVelocity().x, c.kick) << "a standing start";
        }
        float fastest = 0.0f;
        for (int i = 0; i < 300; ++i) {
            game.Frames(1);
            fastest = std::max(fastest, game.PlayerBody().GetVelocity().x);
            ASSERT_TRUE(!half || fastest <= 300.0f) << "frame " << i << ": " << fastest;
        }
        EXPECT_FLOAT_EQ(std::min(fastest, 300.0f), 300.0f) << "the half form's cap is reached";
        EXPECT_EQ(fastest > 300.0f, !half) << "the full form passes it";
        EXPECT_LT(game.Find("Player1")->GetTransform().GetScale().x, 0.0f) << "faces right";
    }
}

// The ground a jump leaves is still reported the frame after; it must not hand the jump back, or
// a second press in the air would climb almost twice as high.
TEST(Player, JumpsOnlyFromCratesBreakableBlocksAndMovablesAndOnceUntilLanding) {
    struct Case {
        const char* ground;
        bool jumps;
    };
    for (const Case& c : {Case{"Crate", true}, Case{"BreakBlock", true}, Case{"Movable", true},
                          Case{"Floor", false}, Case{"crate", false}}) {
        for (const bool half : {false, true}) {
            SCOPED_TRACE(std::string(c.ground) + (half ? " half form" : " full form"));
            GameplayScene game(OnGround(c.ground));
            Settle(game);
            if (half) {
                game.Tap(VirtualKey::Space);
                Settle(game);
            }
            const float rest = game.At().y;
            const auto highest = [&] {
                float top = rest;
                for (int i = 0; i < 90; ++i) {
                    game.Frames(1);
                    top = std::max(top, game.At().y);
                }
                return top;
            };
            game.Tap(VirtualKey::Up);
            const float single = highest();
            EXPECT_EQ(single > rest + 20.0f, c.jumps) << "rose " << single - rest;
            EXPECT_EQ(game.Count("PlaySound SFX/Player_Jump_01"), c.jumps ? 1 : 0);
            if (c.jumps) {
                Settle(game);
                game.Tap(VirtualKey::Up);
                game.Tap(VirtualKey::Up);
                game.Frames(5);
                game.Tap(VirtualKey::Up);
                EXPECT_NEAR(highest(), single, 1.0f) << "presses in the air add no height";
                EXPECT_EQ(game.Count("PlaySound SFX/Player_Jump_01"), 2);
            }
        }
    }
}

TEST(Player, CrossingFromOneGroundTileOntoTheNextKeepsTheFullFormsJump) {
    GameplayScene game(Solid("Crate 0 0 32 32") + Solid("Crate 64 0 32 32") + PlayerLine(0, 64));
    Settle(game);
    ASSERT_TRUE(game.Player().canJump);
    Object* player = game.Find("Player1");
    Object* first = game.Find("Crate");
    Object* next = nullptr;
    for (Object* object : LevelObjects()) {
        next = object->GetName() == "Crate" && object != first ? object : next;
    }
    // On the seam the next tile's contact begins and the last one's ends in the same frame.
    MessagingSystem::Send<CollisionMessage>(CollisionKind::Began, player, next);
    MessagingSystem::Send<CollisionMessage>(CollisionKind::Ended, player, first);
    game.Frames(1);
    EXPECT_TRUE(game.Player().canJump);
    game.Tap(VirtualKey::Up);
    EXPECT_EQ(game.Count("PlaySound SFX/Player_Jump_01"), 1);
}

TEST(Player, SpaceSwitchesFormTheFaceShowsOnlyInTheFullForm) {
    GameplayScene game(OnGround());
    Settle(game);
    Object* face = game.Player().GetFace();
    ASSERT_NE(face, nullptr);
    EXPECT_TRUE(face->IsVisible());
    EXPECT_EQ(face->GetTransform().GetPosition(), game.At());
    game.Tap(VirtualKey::Space);
    EXPECT_FALSE(face->IsVisible());
    EXPECT_EQ(game.Count("PlayerFormChanged 0"), 1);
    game.Tap(VirtualKey::Space);
    EXPECT_TRUE(face->IsVisible());
    EXPECT_FLOAT_EQ(game.PlayerBody().GetMass(), 2.13f);
    EXPECT_EQ(game.Count("PlayerFormChanged 1"), 1);
}

TEST(Player, FallingOutOfTheLevelPlaysTheDefeatOnceThenReloadsTheLevel) {
    GameplayScene game(PlayerLine(0, 0));
    game.FramesUntil(600, [&] { return game.At().y < -384.0f; });
    game.Frames(1);
    EXPECT_FALSE(game.Player().active) << "control stops at the fall";
    const int reload = game.FirstFrame("ChangeLevel 22");
    game.FramesUntil(600, [&] { return game.FirstFrame("ChangeLevel 22") > 0; });
    EXPECT_EQ(game.Count("PlaySound SFX/Player_Defeat"), 1);
    EXPECT_EQ(reload, -1) << "no reload before y < -484";
    game.Frames(4);
    ASSERT_NE(game.Find("Player1"), nullptr);
    EXPECT_GT(game.At().y, -384.0f) << "the player is back at its start";
    EXPECT_TRUE(game.Player().active);
}

// The player drops through a star to its death, or restarts by hand, and does it again: each
// attempt takes the star once, but the level, the game and the saved progress count it once.
TEST(Player, StarsOfAnAttemptEndedByAFallOrAReloadAreGivenBackAndCountOnce) {
    for (const bool byFall : {true, false}) {
        SCOPED_TRACE(byFall ? "ended by a fall" : "ended by the restart key");
        const std::filesystem::path progress = testing::TempDir() + "vorl-stars-progress";
        std::filesystem::remove(progress);
        GameplayScene game(PlayerLine(0, 200) + Trigger("Star 0 0 20 20", "StarComponent"),
                           {{3, "Floor 0 0 10 10\n"}});
        ProgressKeeper::Enable(progress);
        for (int attempt = 1; attempt <= 3; ++attempt) {
            SCOPED_TRACE(attempt);
            ASSERT_GT(game.FramesUntil(300, [] { return StarCount == 1; }), 0);
            EXPECT_FALSE(game.Find("Star")->IsVisible());
            // Back above the star: passing it again takes nothing.
            game.Find("Player1")->GetTransform().SetPosition({0, 60});
            game.Frames(20);
            const int restarts = game.Count("LevelStarted level_Intro");
            if (!byFall) {
                game.Tap('R');
            }
            game.FramesUntil(600,
                             [&] { return game.Count("LevelStarted level_Intro") > restarts; });
            game.Frames(2);
            EXPECT_EQ(StarCount, 0) << "the star is back in the level and out of the count";
            EXPECT_EQ(game.Count("PlaySound SFX/Star_Collect"), attempt) << "taken once an attempt";
        }
        EXPECT_EQ(game.Count("PlaySound SFX/Player_Defeat") > 0, byFall) << "R restarts at once";
        game.FramesUntil(300, [] { return StarCount == 1; });
        MessagingSystem::Send<ChangeLevelMessage>(3);
        game.Frames(4);
        EXPECT_EQ(StarCountAtLevelStart, 1);
        EXPECT_EQ(ProgressKeeper::Current().stars[2], 1);
        EXPECT_EQ(ProgressFile::Load(progress).stars[2], 1);
        ProgressKeeper::Disable();
        BeginNewGame();
        std::filesystem::remove(progress);
    }
}

}  // namespace
