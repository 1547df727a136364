#include "core/frame_rate_controller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/clock.h"

namespace {

// A clock the test moves by hand; a wait jumps just past the deadline plus any extra work time
// the test asks for.
class ManualClock : public platform::Clock {
public:
    explicit ManualClock(double* now) : now_(now) {}
    double Now() override { return *now_; }
    void WaitPast(double deadline) override {
        if (*now_ <= deadline) {
            *now_ = deadline + 0.0001;
        }
    }

private:
    double* now_;
};

class FrameRateControllerTest : public ::testing::Test {
protected:
    void SetUp() override { FrameRateController::UseClock(std::make_unique<ManualClock>(&now)); }
    void TearDown() override {
        FrameRateController::UseClock(platform::MakeFixedStepClock(1.0 / 60.0));
    }

    // One frame whose work takes `work` seconds.
    void Frame(double work) {
        FrameRateController::StartFrame();
        now += work;
        FrameRateController::EndFrame();
    }

    double now = 0.0;
};

TEST_F(FrameRateControllerTest, TheFirstFrameHasNoLengthAndEveryFrameOutlastsTheCap) {
    FrameRateController::StartFrame();
    EXPECT_EQ(FrameRateController::GetDT(), 0.0);
    FrameRateController::EndFrame();
    FrameRateController::StartFrame();
    EXPECT_GT(FrameRateController::GetDT(), 1.0 / 63.0);
    EXPECT_LT(FrameRateController::GetDT(), 1.0 / 63.0 + 0.001);
    FrameRateController::EndFrame();
}

TEST_F(FrameRateControllerTest, ALongFrameIsNotClampedAndEndsWithoutWaiting) {
    Frame(0.2);
    FrameRateController::StartFrame();
    EXPECT_DOUBLE_EQ(FrameRateController::GetDT(), 0.2);
    EXPECT_DOUBLE_EQ(FrameRateController::GetActualFrameTime(), 0.2);
}

TEST_F(FrameRateControllerTest, StatisticsRollOverOncePerSecondOfFrameTime) {
    for (int i = 0; i < 4; ++i) {
        Frame(0.3);
        EXPECT_EQ(FrameRateController::GetFPS(), i < 3 ? 0 : 4) << "after frame " << i;
    }
    // The window closed at 1.2 s; its dt sum holds the dt of frames 2..4 (the first frame's dt is
    // 0).
    EXPECT_NEAR(FrameRateController::GetAverageFrameTime(), 0.9 / 4, 1e-12);
    // The remaining 0.2 s carries over: three more frames of 0.3 s close the next window.
    Frame(0.3);
    Frame(0.3);
    EXPECT_EQ(FrameRateController::GetFPS(), 4);
    Frame(0.3);
    EXPECT_EQ(FrameRateController::GetFPS(), 3);
}

TEST_F(FrameRateControllerTest, StatsTextListsTheFrameAndItsProfileShares) {
    Frame(0.5);
    Frame(0.5);
    FrameRateController::StartFrame();
    FrameRateController::Record("StartFrame", FrameRateController::MarkFrameStart());
    now += 0.125;
    FrameRateController::Record("InputSystem", FrameRateController::Lap());
    const std::string text = FrameRateController::BuildStatsText();
    // Percentages use the previous frame's work time (0.5 s).
    EXPECT_EQ(text,
              "FPS: 2\n"
              "Average Frame Time: 0.25\n"
              "Frame Time: 0.5\n"
              "Actual Frame Time: 0.5\n"
              "StartFrame: 0%\n"
              "InputSystem: 25%\n");
    FrameRateController::EndFrame();
    EXPECT_TRUE(FrameRateController::GetProfileEntries().empty());
}

TEST_F(FrameRateControllerTest, APercentageOverNoWorkIsNotFinite) {
    FrameRateController::StartFrame();
    FrameRateController::Record("StartFrame", 0.0);
    const std::string text = FrameRateController::BuildStatsText();
    EXPECT_NE(text.find("nan%"), std::string::npos) << text;
}

TEST(FixedStepClock, EachWaitAdvancesExactlyOneStep) {
    auto clock = platform::MakeFixedStepClock(0.25);
    EXPECT_EQ(clock->Now(), 0.0);
    clock->WaitPast(10.0);
    EXPECT_EQ(clock->Now(), 0.25);
    clock->WaitPast(0.0);
    EXPECT_EQ(clock->Now(), 0.5);
}

TEST(SteadyClock, AWaitEndsStrictlyAfterItsDeadline) {
    std::unique_ptr<platform::Clock> clocks[] = {platform::MakeSteadyClock(),
                                                 platform::MakeSpinningClock()};
    for (auto& clock : clocks) {
        // Several waits, so that the steady clock's margin has been learnt from its own wakes.
        for (int i = 0; i < 20; ++i) {
            const double deadline = clock->Now() + 0.003;
            clock->WaitPast(deadline);
            ASSERT_GT(clock->Now(), deadline) << "wait " << i;
        }
    }
}

}  // namespace
