// The scripted pieces: the camera, the title screens, the ending, the once-per-game mover.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/messaging.h"
#include "gameplay/camera_follow_component.h"
#include "gameplay/ending.h"
#include "gameplay/player_control_component.h"
#include "gameplay/run_state.h"
#include "graphics/camera.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/gameplay_scene.h"

namespace {

using testing_support::GameplayScene;

TEST(CameraFollow, StaysInsideTheLevelAndMovesAtMostMaxSpeedAFrame) {
    GameplayScene game(R"(
Player1 0 0 30 30
  CameraFollowComponent minX -2000 maxX 2000 minY -300 maxY 300
)");
    Object* player = game.Find("Player1");
    Vector2D last = MainCamera()->GetPosition();
    for (const float x : {1800.0f, -1800.0f, 500.0f}) {
        player->GetTransform().SetPosition({x, 700.0f});
        for (int i = 0; i < 200; ++i) {
            game.Frames(1);
            const Vector2D c = MainCamera()->GetPosition();
            ASSERT_LE((c - last).Length(), 20.0f + 1e-3f);
            ASSERT_EQ(c.x, std::floor(c.x));
            ASSERT_EQ(c.y, 0.0f) << "a level lower than the view keeps the camera's height";
            last = c;
        }
        // The camera rests with the player inside its dead zone, or at the level's edge.
        const float kept = std::clamp(x, -1200.0f, 1200.0f);
        EXPECT_LE(std::abs(last.x - kept), CameraFollowComponent::kDeadZone.x) << x;
        if (kept != x) {
            EXPECT_EQ(last.x, kept) << x;
        }
    }
}

TEST(CameraFollow, BobbingInsideTheDeadZoneLeavesTheCameraStillAndItEasesIn) {
    GameplayScene game(R"(
Player1 0 0 30 30
  CameraFollowComponent minX -4000 maxX 4000 minY -4000 maxY 4000
)");
    Object* player = game.Find("Player1");
    game.Frames(2);
    const Vector2D rest = MainCamera()->GetPosition();
    for (int i = 0; i < 120; ++i) {
        // A ball in a fan's wind: up and down by 80, a little sideways.
        player->GetTransform().SetPosition(
            {30.0f * std::sin(i * 0.3f), 80.0f * std::sin(i * 0.2f)});
        game.Frames(1);
        ASSERT_EQ(MainCamera()->GetPosition(), rest) << "frame " << i;
    }
    player->GetTransform().SetPosition({1000.0f, 0.0f});
    std::vector<float> steps;
    float last = MainCamera()->GetPosition().x;
    for (int i = 0; i < 120; ++i) {
        game.Frames(1);
        steps.push_back(MainCamera()->GetPosition().x - last);
        last = MainCamera()->GetPosition().x;
    }
    EXPECT_EQ(last, 1000.0f - CameraFollowComponent::kDeadZone.x);
    EXPECT_LT(steps[60], steps[0]) << "it slows as it nears the player";
    EXPECT_GT(steps[1], 0.0f);
}

TEST(TitleScreens, TheSplashMovesOnAfterThreeAndAHalfSeconds) {
    GameplayScene game("Splash 0 0 10 10\n  SplashScreenComponent\n", {}, {}, 0);
    const int start = game.frame();
    game.FramesUntil(300, [&] { return game.Count("ChangeLevel 1") > 0; });
    EXPECT_NEAR((game.FirstFrame("ChangeLevel 1") - start) / 60.0, 3.5, 2.5 / 60.0);
}

TEST(TitleScreens, TheControllerScreenGoesOnAtAnyKeyClickOrAfterThreeSeconds) {
    struct Case {
        const char* what;
        std::function<void(GameplayScene&)> act;
        int withinFrames;
    };
    const Case cases[] = {
        {"space", [](GameplayScene& g) { g.Press(VirtualKey::Space); }, 2},
        {"enter", [](GameplayScene& g) { g.Press(VirtualKey::Return); }, 2},
        {"escape", [](GameplayScene& g) { g.Press(VirtualKey::Escape); }, 2},
        {"click", [](GameplayScene& g) { g.Click(platform::MouseButton::Left); }, 2},
        {"right click", [](GameplayScene& g) { g.Click(platform::MouseButton::Right); }, 2},
        {"pad A", [](GameplayScene& g) { g.Pad().buttons = PadButton::A; }, 2},
        {"pad Start", [](GameplayScene& g) { g.Pad().buttons = PadButton::Start; }, 2},
        {"nothing", [](GameplayScene&) {}, 182},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameplayScene game("Screen 0 0 10 10\n  PlayerControllerComponentVerticalShooter\n", {}, {},
                           1);
        game.Frames(20);
        ASSERT_EQ(game.Count("ChangeLevel 2"), 0);
        c.act(game);
        const int from = game.frame();
        game.FramesUntil(300, [&] { return game.Count("ChangeLevel 2") > 0; });
        EXPECT_LE(game.FirstFrame("ChangeLevel 2") - from, c.withinFrames);
    }
}

// The ending's scene: the player caught by the catapult and thrown out with `stars` to give back,
// and won at once, so that only the ending holds it.
struct EndingScene {
    explicit EndingScene(int stars)
        : game(testing_support::Trigger("Catapult 0 0 100 20") + R"(
Player1 0 0 30 30
  PlayerControlComponent
  RigidBody2D mass 2.13 state 1 gravity 0.0 friction 10000
  BoxCollider2D
  EndOfGame
)",
               {}, {{"StarEnd", "FlyingStar\n"}}, 19) {
        StarCount = stars;
        game.Frames(3);
        EXPECT_FALSE(game.Player().active) << "caught by the catapult";
        game.Find("Player1")->GetTransform().SetPosition({0, 500});
        game.Frames(2);
        game.Player().Win();
    }
    const EndOfGame& Ending() { return *game.Find("Player1")->Get<EndOfGame>("EndOfGame"); }
    GameplayScene game;
};

TEST(Ending, StarsFlyUpEveryHalfSecondOnAlternateSidesUntilAKeyHurriesTheRestOutTogether) {
    EndingScene scene(6);
    GameplayScene& game = scene.game;
    std::vector<int> released;
    std::vector<float> drift;
    while (StarCount > 3 && game.frame() < 300) {
        const int before = StarCount;
        game.Frames(1);
        if (StarCount != before) {
            released.push_back(game.frame());
            drift.push_back(LevelObjects().back()->Get<FlyingStar>("FlyingStar")->speed.x);
        }
    }
    ASSERT_EQ(released.size(), 3u);
    EXPECT_NEAR(released[1] - released[0], 31, 1);
    EXPECT_NEAR(released[2] - released[1], 31, 1);
    EXPECT_EQ(drift, (std::vector<float>{-30.0f, 30.0f, -30.0f}));
    const FlyingStar* first = nullptr;
    for (const Object* object : LevelObjects()) {
        first = first ? first : object->Get<FlyingStar>("FlyingStar");
    }
    EXPECT_TRUE(scene.Ending().Hurriable());
    const std::size_t before = LevelObjects().size();
    game.Press('X');
    game.Frames(2);
    game.Release('X');
    EXPECT_EQ(StarCount, 0) << "the three left rise together";
    for (std::size_t i = before; i < LevelObjects().size(); ++i) {
        if (const auto* star = LevelObjects()[i]->Get<FlyingStar>("FlyingStar")) {
            drift.push_back(star->speed.x);
        }
    }
    ASSERT_EQ(drift.size(), 6u);
    std::sort(drift.begin() + 3, drift.end());
    EXPECT_EQ(std::adjacent_find(drift.begin() + 3, drift.end()), drift.end())
        << "fanned, not piled";
    EXPECT_FALSE(scene.Ending().Hurriable());
    EXPECT_GE(first->velocity.y, 1000.0f - 5.0f);
    EXPECT_LE(first->velocity.y, 2000.0f + 5.0f);
    // Out of sight in 1.5 s (90 frames), then straight on to the final screen.
    const int from = game.frame();
    game.FramesUntil(200, [&] { return game.Count("ChangeLevel 20") > 0; });
    EXPECT_NEAR(game.FirstFrame("ChangeLevel 20") - from, 90, 4);
}

TEST(Ending, UnhurriedTheLastWordWaitsForAKeyLongAfterTheLevelsSpinTime) {
    EndingScene scene(2);
    GameplayScene& game = scene.game;
    game.Player().spinTime = 1.0f;
    game.FramesUntil(400, [&] { return scene.Ending().AllRisen(); });
    ASSERT_TRUE(scene.Ending().AllRisen());
    game.Frames(60 * 10);
    EXPECT_EQ(game.Count("ChangeLevel 20"), 0) << "ten seconds on, the hint still stands";
    game.Press(VirtualKey::Return);
    game.Frames(3);
    EXPECT_EQ(game.Count("ChangeLevel 20"), 1);
}

TEST(ObjectMove, PushesOncePerGameNotAgainAfterAReloadButAgainInANewGame) {
    GameplayScene game(R"(
Block 0 0 10 10
  RigidBody2D mass 1.0 state 1 friction 10000
  ObjectMoveComponent direction 100.0 0.0
)");
    const auto speed = [&] {
        game.Frames(2);
        return game.Find("Block")->Get<RigidBody2D>("RigidBody2D")->GetVelocity().x;
    };
    // The old level is gone two frames after the request, the new one live two frames later.
    const auto reload = [&](bool newGame) {
        MessagingSystem::Send<ChangeLevelMessage>(LevelManager::kRestart);
        game.Frames(2);
        if (newGame) {
            BeginNewGame();
        }
        game.Frames(2);
    };
    EXPECT_GT(speed(), 50.0f);
    reload(false);
    EXPECT_EQ(speed(), 0.0f) << "the first play acts once";
    reload(true);
    EXPECT_GT(speed(), 50.0f) << "a new game re-arms it";
}

}  // namespace
