// The puzzle pieces as the player meets them: fans, cannons, goals, breakable blocks. (Stars are
// the player's test of ended attempts.)
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "gameplay/cannon_component.h"
#include "gameplay/player_control_component.h"
#include "gameplay/run_state.h"
#include "input/input_system.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/gameplay_scene.h"

namespace {

using testing_support::GameplayScene;
using testing_support::PlayerLine;
using testing_support::Solid;
using testing_support::Trigger;

const std::string kFloor = Solid("Crate 0 0 2000 20");

TEST(Fan, LiftsTheHalfFormButNotTheFullForm) {
    for (const bool half : {false, true}) {
        SCOPED_TRACE(half ? "half form" : "full form");
        GameplayScene game(kFloor + Trigger("Fan 0 200 60 200", "FanComponent speed 2000.0") +
                           PlayerLine(0, 60));
        if (half) {
            game.Tap(VirtualKey::Space);
        }
        float highest = 0.0f;
        for (int i = 0; i < 180; ++i) {
            game.Frames(1);
            highest = std::max(highest, game.At().y);
        }
        EXPECT_EQ(highest > 150.0f, half) << "highest " << highest;
        EXPECT_GE(game.Count(half ? "PlaySound SFX/Wind_Light" : "PlaySound SFX/Wind_Heavy"), 1);
    }
}

// Held, the player is pulled toward the centre but drawn there with its face, until the launch.
TEST(Cannon, CatchesPullsInAndFiresAlongItsRotationOnTheFiftiethFrame) {
    struct Case {
        int degrees;
        Vector2D direction;
    };
    for (const Case& c : {Case{0, {0, 1}}, Case{-90, {-1, 0}}, Case{90, {1, 0}}}) {
        SCOPED_TRACE(c.degrees);
        GameplayScene game(
            Trigger("Cannon 100 50 40 40 " + std::to_string(c.degrees), "CannonComponent") +
            PlayerLine(100, 140));
        const Vector2D centre{100.0f, 50.0f};
        Object* player = game.Find("Player1");
        auto& cannon = *game.Find("Cannon")->Get<CannonComponent>("CannonComponent");
        EXPECT_FALSE(player->DrawnAt().has_value());
        game.FramesUntil(120, [&] { return cannon.occupied; });
        ASSERT_TRUE(cannon.occupied) << "the player was caught";
        int held = 0;
        float distance = (game.At() - centre).Length();
        while (game.PlayerBody().heldByCannon && held < 100) {
            EXPECT_TRUE(game.Player().inCannon);
            EXPECT_FALSE(game.Player().canJump);
            game.Frames(1);
            ++held;
            const float now = (game.At() - centre).Length();
            if (held >= 3 && held < 45) {
                ASSERT_EQ(player->DrawnAt(), centre) << "frame " << held << " of holding";
                ASSERT_EQ(game.Player().GetFace()->DrawnAt(), centre);
                ASSERT_LT(now, distance) << "pulled toward the centre, frame " << held;
            }
            distance = now;
        }
        // The capture frame itself counts one persist message short of the fiftieth.
        EXPECT_EQ(held, 50);
        EXPECT_LT(distance, 40.0f) << "pulled to the centre";
        EXPECT_FALSE(player->DrawnAt().has_value()) << "launched: drawn where it flies";
        const Vector2D v = game.PlayerBody().GetVelocity();
        const float along = v.x * c.direction.x + v.y * c.direction.y;
        EXPECT_GT(along, 2000.0f) << "5000 / 2.13 along the barrel";
        EXPECT_EQ(game.Count("PlaySound SFX/Star_Cannon_01"), 1);
    }
}

TEST(Goal, ReachingItSpinsThePlayerThenMovesOnWithTheStarsCommitted) {
    GameplayScene game(kFloor + Trigger("Goal 200 60 30 30", "GoalComponent") + PlayerLine(0, 60),
                       {{3, "Next 0 0 10 10\n  RigidBody2D\n"}});
    StarCount = 4;
    game.Press(VirtualKey::Right);
    game.FramesUntil(300, [&] { return game.Player().IsWinning(); });
    ASSERT_TRUE(game.Player().IsWinning());
    EXPECT_FALSE(game.Find("Goal")->IsVisible());
    const int turned = game.Find("Player1")->GetTransform().GetRotationDegrees();
    game.Frames(1);
    EXPECT_EQ(game.Find("Player1")->GetTransform().GetRotationDegrees() - turned, 17);
    EXPECT_EQ(game.Count("PlaySound SFX/Level_Complete"), 1);
    // How long the spin lasts, gameplay.runner.play_recording measures.
    game.FramesUntil(400, [&] { return game.FirstFrame("ChangeLevel 3") > 0; });
    EXPECT_EQ(StarCountAtLevelStart, 4);
}

TEST(BreakBlock, BreaksUnderTheFullFormAndAMovableButCarriesTheHalfForm) {
    struct Case {
        const char* what;
        std::string faller;
        bool half;
        bool breaks;
    };
    const std::string movable =
        "Movable 0 100 20 20\n  RigidBody2D mass 1.0 state 1 gravity 600.0 friction 10000\n"
        "  BoxCollider2D\n";
    for (const Case& c : {Case{"full form", PlayerLine(0, 100), false, true},
                          Case{"half form", PlayerLine(0, 100), true, false},
                          Case{"movable", movable, false, true}}) {
        SCOPED_TRACE(c.what);
        GameplayScene game(Solid("BreakBlock 0 0 60 20", "TextureComponent\nBreakBlock") +
                           Solid("Crate 0 -300 2000 20") + c.faller +
                           (c.half ? "" : PlayerLine(500, 100)));
        if (c.half) {
            game.Tap(VirtualKey::Space);
        }
        game.Frames(120);
        EXPECT_EQ(!game.Find("BreakBlock")->HasComponent("BoxCollider2D"), c.breaks);
        EXPECT_EQ(!game.Find("BreakBlock")->IsVisible(), c.breaks);
    }
}

TEST(PuzzleBehavior, ReactsToMarkedPiecesOnlyWhileItsSwitchIsOn) {
    for (const int react : {1, 0}) {
        SCOPED_TRACE(react);
        GameplayScene game(kFloor + Trigger("Lift 0 200 60 200", "PuzzleComponent PuzzleID 1") +
                           PlayerLine(0, 60) + "  PuzzleBehavior FanStrength 3000.0 React_Fan " +
                           std::to_string(react) + "\n");
        float highest = 0.0f;
        for (int i = 0; i < 120; ++i) {
            game.Frames(1);
            highest = std::max(highest, game.At().y);
        }
        EXPECT_EQ(highest > 150.0f, react == 1) << "highest " << highest;
    }
}

}  // namespace
