// The same input gives the same game whatever the machine's drawing rate: a jump, a fan's lift of
// the light form and a cannon's throw measure the same on machines drawing 30, 45 and 120 frames a
// second as at the game's own 63, the game stepping by its own 1/63 s on each.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/frame_rate_controller.h"
#include "input/input_system.h"
#include "objects/object.h"
#include "physics/rigid_body2d.h"
#include "support/gameplay_scene.h"

namespace {

using testing_support::GameplayScene;
using testing_support::PlayerLine;
using testing_support::SceneTiming;
using testing_support::Solid;
using testing_support::Trigger;

constexpr double kGameStep = FrameRateController::kGameFrameTime;
constexpr float kRest = 50.0f;  // the player's centre on the floor
// Higher than a rolling box's corner lifts the player: off the floor.
constexpr float kClear = 15.0f;

const std::string kFloor = Solid("Crate 0 0 4000 20");
const std::string kFan = Trigger("Fan 0 192 64 192", "FanComponent speed 3000.0");
const std::string kCannon = Trigger("Cannon 0 150 40 40 45", "CannonComponent speed 3000.0");

// Drawn frames for `seconds` of the machine's clock.
void Run(GameplayScene& game, double seconds, double clockFrame) {
    game.Frames(static_cast<int>(std::lround(seconds / clockFrame)));
}

// How high the player rises from rest on the floor (and `extra`) at the tap of the last of `keys`,
// each earlier key tapped a second before it.
float Rise(double clockFrame, const std::string& extra, const std::vector<int>& keys,
           double seconds) {
    GameplayScene game(kFloor + extra + PlayerLine(0, kRest), SceneTiming{clockFrame, kGameStep});
    Run(game, 0.5, clockFrame);
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        game.Tap(keys[i]);
        Run(game, 1.0, clockFrame);
    }
    const float rest = game.At().y;
    float top = rest;
    game.EachStep([&] { top = std::max(top, game.At().y); });
    game.Tap(keys.back());
    Run(game, seconds, clockFrame);
    return top - rest;
}

// Where the full form, dropped into a cannon, lands after the throw.
float CannonThrow(double clockFrame) {
    GameplayScene game(kFloor + kCannon + PlayerLine(0, 260), SceneTiming{clockFrame, kGameStep});
    bool held = false;
    bool thrown = false;
    float landedAt = NAN;
    game.EachStep([&] {
        const bool inCannon = game.PlayerBody().heldByCannon;
        thrown = thrown || (held && !inCannon);
        held = held || inCannon;
        if (thrown && std::isnan(landedAt) && game.At().y < kRest + kClear) {
            landedAt = game.At().x;
        }
    });
    Run(game, 6.0, clockFrame);
    return landedAt;
}

// Within 1 % of the game drawn at its own rate, and a real motion, not two zeros. The figures go
// to the test's output, where a tuning session reads them.
TEST(SameGameAtEveryFrameRate, AJumpInBothFormsAFansLiftAndACannonsThrowMeasureTheSame) {
    struct Measure {
        const char* what;
        std::function<float(double)> at;
        float atLeast;
    };
    const Measure measures[] = {
        {"full form jump", [](double f) { return Rise(f, "", {VirtualKey::Up}, 2.0); }, 50.0f},
        {"light form jump",
         [](double f) {
             return Rise(f, "", {VirtualKey::Space, VirtualKey::Up}, 2.0);
         },
         100.0f},
        {"fan lift of the light form",
         [](double f) { return Rise(f, kFan, {VirtualKey::Space}, 4.0); }, 100.0f},
        {"cannon throw lands at x", CannonThrow, 300.0f},
    };
    for (const Measure& m : measures) {
        const float atGameRate = m.at(kGameStep);
        EXPECT_GE(std::fabs(atGameRate), m.atLeast) << m.what;
        for (const int rate : {30, 45, 120}) {
            const float measured = m.at(1.0 / rate);
            std::printf("%s: %.1f at %d fps, %.1f at the game's own\n", m.what, measured, rate,
                        atGameRate);
            EXPECT_NEAR(measured, atGameRate, 0.01f * std::fabs(atGameRate)) << m.what << rate;
        }
    }
}

}  // namespace
