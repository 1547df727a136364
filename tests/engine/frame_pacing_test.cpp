// Smooth on every display: a level played on displays that show frames on a refresh grid of 60
// (read as 60, really 59.94), 75, 120 and 144 Hz, and on a slow machine that misses every other
// refresh of an 80 Hz display (40 frames a second). A body gliding at constant speed must travel
// the same distance on screen every displayed frame, although each frame runs zero, one or two
// 1/63 s steps; and a jump must show within a bounded number of displayed frames of its key.
#include <gtest/gtest.h>

#include "core/frame_rate_controller.h"
#include "graphics/graphics_system.h"
#include "input/input_system.h"
#include "support/vblank_display.h"

namespace {

using testing_support::DrawnFrame;
using testing_support::kGlideSpeed;
using testing_support::PacedLevel;
using testing_support::PacingScene;
using testing_support::TravelDeviation;
using testing_support::VblankTiming;

struct Display {
    const char* name;
    VblankTiming timing;
    // Displayed frames a second.
    double shown;
};
void PrintTo(const Display& display, std::ostream* out) {
    *out << display.name;
}

const Display kDisplays[] = {
    {"60Hz", {59.94, 0.004, 0.0003, 60.0}, 59.94},
    {"75Hz", {75.0, 0.004, 0.0003, 75.0}, 75.0},
    {"120Hz", {120.0, 0.003, 0.0003, 120.0}, 120.0},
    {"144Hz", {144.0, 0.003, 0.0003, 144.0}, 144.0},
    {"40Hz_slow_machine", {80.0, 0.014, 0.0003, 80.0}, 40.0},
};

constexpr double kStep = FrameRateController::kGameFrameTime;

class FramePacing : public ::testing::TestWithParam<Display> {
protected:
    // Two seconds of gliding, past the first frames.
    double Deviation(bool interpolation) {
        PacedLevel level(PacingScene(), GetParam().timing);
        level.core().Graphics().SetStepInterpolation(interpolation);
        for (int i = 0; i < 10; ++i) {
            level.Frame();
        }
        const std::size_t from = level.Frames().size();
        while (level.Now() < 2.5) {
            level.Frame();
        }
        const std::vector<DrawnFrame> frames(level.Frames().begin() + static_cast<long>(from),
                                             level.Frames().end());
        // The glide is in real time: the frames travel the speed over the time they span.
        const double meanTravel =
            (frames.back().glider.x - frames.front().glider.x) / double(frames.size() - 1);
        EXPECT_NEAR(meanTravel, kGlideSpeed / GetParam().shown, 0.01 * meanTravel);
        return TravelDeviation(frames);
    }
};

TEST_P(FramePacing, AGlideTravelsEvenlyEveryDisplayedFrameOnlyWithInterpolation) {
    const double smooth = Deviation(true);
    const double stepped = Deviation(false);
    EXPECT_LE(smooth, 0.02);
    // What the measure is for: whole steps drawn as they fall make some frames travel none, one
    // or two steps.
    EXPECT_GT(stepped, 0.25);
}

TEST_P(FramePacing, AJumpShowsWithinTwoStepsAndADisplayedFrameOfItsKey) {
    PacedLevel level(PacingScene(), GetParam().timing);
    const double period = 1.0 / GetParam().shown;
    for (int jump = 0; jump < 8; ++jump) {
        // Two seconds and a bit between jumps, so that each falls on another phase of the steps.
        const double pressAt = level.Now() + 2.0 + 0.0023 * jump;
        while (level.Now() < pressAt) {
            level.Frame();
        }
        const float rest = level.Frames().back().player.y;
        level.Key(VirtualKey::Up, true);
        const double pressed = level.Now();
        int shownIn = 0;
        for (int frame = 1; frame <= 12 && shownIn == 0; ++frame) {
            level.Frame();
            if (level.Frames().back().player.y > rest + 0.01f) {
                shownIn = frame;
                // The key waits for the next step's pump, and the body moves a step after the
                // controller reads it; a frame may start just before that step is due.
                EXPECT_LE(level.Frames().back().start - pressed, 2.0 * kStep + period + 1e-3)
                    << "jump " << jump;
            }
        }
        level.Key(VirtualKey::Up, false);
        ASSERT_GT(shownIn, 0) << "jump " << jump << " never showed";
    }
}

INSTANTIATE_TEST_SUITE_P(Displays, FramePacing, ::testing::ValuesIn(kDisplays),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
