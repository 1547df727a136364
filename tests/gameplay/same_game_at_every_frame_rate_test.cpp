// The same input gives the same game whatever the machine's drawing rate: a jump, a fan's lift of
// the light form and a cannon's throw measure the same on machines drawing 30, 45, 63 and 120
// frames a second, the game stepping by its own 1/63 s on each.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "core/frame_rate_controller.h"
#include "input/input_system.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/gameplay_scene.h"

namespace {

using testing_support::GameplayScene;
using testing_support::PlayerLine;
using testing_support::SceneTiming;

constexpr double kGameStep = FrameRateController::kGameFrameTime;
constexpr float kRest = 50.0f;  // the player's centre on the floor
// Higher than a rolling box's corner lifts the player: off the floor.
constexpr float kClear = 15.0f;

constexpr const char* kFloor = R"(
Crate 0 0 4000 20
  RigidBody2D mass 0.0 state 0
  BoxCollider2D
)";

constexpr const char* kFan = R"(
Fan 0 192 64 192
  RigidBody2D mass 0.0 state 0
  BoxCollider2D mHollow true
  FanComponent speed 3000.0
)";

constexpr const char* kCannon = R"(
Cannon 0 150 40 40 45
  RigidBody2D mass 0.0 state 0
  BoxCollider2D mHollow true
  CannonComponent speed 3000.0
)";

float Y(const GameplayScene& game) {
    return game.Find("Player1")->GetTransform().GetPosition().y;
}

// Drawn frames for `seconds` of the machine's clock.
void Run(GameplayScene& game, double seconds, double clockFrame) {
    game.Frames(static_cast<int>(std::lround(seconds / clockFrame)));
}

// How high one jump from rest rises, in either form.
float JumpRise(double clockFrame, bool light) {
    GameplayScene game(std::string(kFloor) + PlayerLine(0, kRest),
                       SceneTiming{clockFrame, kGameStep});
    Run(game, 0.5, clockFrame);
    if (light) {
        game.Tap(VirtualKey::Space);
        Run(game, 1.0, clockFrame);
    }
    const float rest = Y(game);
    float top = rest;
    game.EachStep([&] { top = std::max(top, Y(game)); });
    game.Tap(VirtualKey::Up);
    Run(game, 2.0, clockFrame);
    return top - rest;
}

// How high a fan lifts the light form from the floor it rests on.
float FanLift(double clockFrame) {
    GameplayScene game(std::string(kFloor) + kFan + PlayerLine(0, kRest),
                       SceneTiming{clockFrame, kGameStep});
    Run(game, 0.5, clockFrame);
    const float rest = Y(game);
    float top = rest;
    game.EachStep([&] { top = std::max(top, Y(game)); });
    game.Tap(VirtualKey::Space);
    Run(game, 4.0, clockFrame);
    return top - rest;
}

// Where the full form, dropped into a cannon, lands after the throw.
float CannonThrow(double clockFrame) {
    GameplayScene game(std::string(kFloor) + kCannon + PlayerLine(0, 260),
                       SceneTiming{clockFrame, kGameStep});
    bool held = false;
    bool thrown = false;
    float landedAt = NAN;
    game.EachStep([&] {
        const bool inCannon = game.PlayerBody().heldByCannon;
        thrown = thrown || (held && !inCannon);
        held = held || inCannon;
        if (thrown && std::isnan(landedAt) && Y(game) < kRest + kClear) {
            landedAt = game.Find("Player1")->GetTransform().GetPosition().x;
        }
    });
    Run(game, 6.0, clockFrame);
    return landedAt;
}

struct Rate {
    const char* name;
    double clockFrame;
};
void PrintTo(const Rate& rate, std::ostream* out) {
    *out << rate.name;
}

class SameGameAtEveryFrameRate : public ::testing::TestWithParam<Rate> {};

// Within 1 % of the game drawn at its own rate, and a real motion, not two zeros. The figures go
// to the test's output, where a tuning session reads them.
void ExpectSame(const char* what, float measured, float atGameRate, float atLeast) {
    std::printf("%s: %.1f at this rate, %.1f at the game's own\n", what, measured, atGameRate);
    EXPECT_GE(std::fabs(atGameRate), atLeast);
    EXPECT_NEAR(measured, atGameRate, 0.01f * std::fabs(atGameRate));
}

TEST_P(SameGameAtEveryFrameRate, AJumpRisesAsHighInBothForms) {
    const double frame = GetParam().clockFrame;
    ExpectSame("full form jump", JumpRise(frame, false), JumpRise(kGameStep, false), 50.0f);
    ExpectSame("light form jump", JumpRise(frame, true), JumpRise(kGameStep, true), 100.0f);
}

TEST_P(SameGameAtEveryFrameRate, AFanLiftsTheLightFormAsHigh) {
    ExpectSame("fan lift", FanLift(GetParam().clockFrame), FanLift(kGameStep), 100.0f);
}

TEST_P(SameGameAtEveryFrameRate, ACannonThrowsAsFar) {
    ExpectSame("cannon throw lands at x", CannonThrow(GetParam().clockFrame),
               CannonThrow(kGameStep), 300.0f);
}

INSTANTIATE_TEST_SUITE_P(Clock, SameGameAtEveryFrameRate,
                         ::testing::Values(Rate{"30fps", 1.0 / 30.0}, Rate{"45fps", 1.0 / 45.0},
                                           Rate{"63fps", 1.0 / 63.0}, Rate{"120fps", 1.0 / 120.0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
