#include "graphics/step_interpolation.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "objects/transform2d.h"

namespace {

using Pose = StepInterpolation::Pose;

// Two steps of one thing: `before`, then `latest`; returns the pose drawn `fraction` on.
Pose DrawnAfter(const Pose& before, const Pose& latest, double fraction) {
    StepInterpolation steps;
    const std::uint64_t thing = 7;
    steps.BeginStep();
    steps.Note(thing, before);
    steps.BeginStep();
    steps.Note(thing, latest);
    return steps.Drawn(thing, latest, fraction);
}

TEST(StepInterpolation, DrawsTheFractionOfAStepOnFromThePoseBefore) {
    struct Case {
        const char* what;
        Pose before;
        Pose latest;
        double fraction;
        Pose drawn;
    };
    const float degree = kPi / 180.0f;
    const Case cases[] = {
        {"still", {{5, 5}, 1.0f}, {{5, 5}, 1.0f}, 0.7, {{5, 5}, 1.0f}},
        {"a quarter on", {{0, 0}, 0.0f}, {{20, -8}, 0.4f}, 0.25, {{5, -2}, 0.1f}},
        {"just past the step", {{0, 0}, 0.0f}, {{20, 0}, 0.0f}, 0.0, {{0, 0}, 0.0f}},
        {"a whole step on", {{0, 0}, 0.0f}, {{20, 0}, 0.0f}, 1.0, {{20, 0}, 0.0f}},
        {"rolled the short way round",
         {{0, 0}, 179 * degree},
         {{0, 0}, -179 * degree},
         0.5,
         {{0, 0}, 180 * degree}},
        {"teleported", {{0, 0}, 0.0f}, {{500, 0}, 0.0f}, 0.5, {{500, 0}, 0.0f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Pose drawn = DrawnAfter(c.before, c.latest, c.fraction);
        EXPECT_NEAR(drawn.position.x, c.drawn.position.x, 1e-4f);
        EXPECT_NEAR(drawn.position.y, c.drawn.position.y, 1e-4f);
        EXPECT_NEAR(drawn.radians, c.drawn.radians, 1e-4f);
    }
}

// Thousands of things, a different half of them each step: the table grows and forgets without
// mixing one thing's poses with another's. A thing not noted in the step before is drawn where it
// is, even when it was noted two steps before.
TEST(StepInterpolation, ManyThingsComingAndGoingKeepTheirOwnPoses) {
    StepInterpolation steps;
    for (int step = 0; step < 6; ++step) {
        steps.BeginStep();
        for (int k = 0; k < 3000; ++k) {
            if ((k + step) % 2 == 0 || k < 1000) {
                steps.Note(static_cast<std::uint64_t>(k + 1),
                           {{static_cast<float>(k + step), 0.0f}, 0.0f});
            }
        }
    }
    // Noted in the last step: below 1000 and odd k; in the step before: below 1000 and even k.
    for (int k : {0, 999, 1000, 1001, 2998, 2999}) {
        SCOPED_TRACE(k);
        const Pose latest{{static_cast<float>(k + 5), 0.0f}, 0.0f};
        const bool seenBefore = k < 1000 || k % 2 == 0;
        const float drawn = steps.Drawn(static_cast<std::uint64_t>(k + 1), latest, 0.5).position.x;
        EXPECT_EQ(drawn, seenBefore ? k + 4.5f : k + 5.0f);
    }
}

}  // namespace
