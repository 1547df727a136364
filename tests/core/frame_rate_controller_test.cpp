#include "core/frame_rate_controller.h"

#include <gtest/gtest.h>

#include <string>

#include "core/clock.h"

namespace {

// A clock the test moves by hand; a wait jumps just past the deadline plus any extra work time
// the test asks for.
class ManualClock : public timing::Clock {
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
    void SetUp() override {
        FrameRateController::UseClock(std::make_unique<ManualClock>(&now));
        FrameRateController::UseStep(FrameRateController::kGameFrameTime);
    }
    void TearDown() override {
        FrameRateController::UseClock(timing::MakeFixedStepClock(1.0 / 60.0));
        FrameRateController::UseStep(1.0 / 60.0);
    }

    // One frame whose work takes `work` seconds.
    void Frame(double work) {
        FrameRateController::StartFrame();
        now += work;
        FrameRateController::EndFrame();
    }

    double now = 0.0;
};

TEST_F(FrameRateControllerTest, TheFirstFrameRunsOneStepAndAFastFrameWaitsForTheNext) {
    FrameRateController::StartFrame();
    EXPECT_EQ(FrameRateController::GetFrameTime(), 0.0);
    EXPECT_EQ(FrameRateController::StepsDue(), 1);
    FrameRateController::EndFrame();
    for (int frame = 0; frame < 3; ++frame) {
        FrameRateController::StartFrame();
        // The clock wakes 0.1 ms past each deadline; the next wait is that much shorter.
        EXPECT_NEAR(FrameRateController::GetFrameTime(), 1.0 / 63.0, 0.0002);
        EXPECT_EQ(FrameRateController::StepsDue(), 1) << "frame " << frame;
        EXPECT_EQ(FrameRateController::GetDT(), FrameRateController::kGameFrameTime);
        FrameRateController::EndFrame();
    }
}

TEST_F(FrameRateControllerTest, ALateFrameIsCaughtUpByAShorterWait) {
    Frame(0.0);
    // 10 ms late: the next step is due 10 ms sooner, and the frame after runs it.
    Frame(1.0 / 63.0 + 0.01);
    const double before = now;
    Frame(0.0);
    EXPECT_NEAR(now - before, 1.0 / 63.0 - 0.01, 0.0002);
    FrameRateController::StartFrame();
    EXPECT_EQ(FrameRateController::StepsDue(), 1);
}

TEST_F(FrameRateControllerTest, ALongFrameRunsTheBoundedStepsAndTheRestIsNeverSimulated) {
    Frame(0.5);
    FrameRateController::StartFrame();
    EXPECT_DOUBLE_EQ(FrameRateController::GetFrameTime(), 0.5);
    EXPECT_DOUBLE_EQ(FrameRateController::GetActualFrameTime(), 0.5);
    EXPECT_EQ(FrameRateController::StepsDue(), FrameRateController::kMaxStepsPerFrame);
    EXPECT_LT(FrameRateController::StepFraction(), 1.0);
    FrameRateController::EndFrame();
    FrameRateController::StartFrame();
    EXPECT_EQ(FrameRateController::StepsDue(), 1) << "no catching up on the half second";
}

TEST_F(FrameRateControllerTest, StatisticsRollOverOncePerSecondOfFrameTime) {
    for (int i = 0; i < 4; ++i) {
        Frame(0.3);
        EXPECT_EQ(FrameRateController::GetFPS(), i < 3 ? 0 : 4) << "after frame " << i;
    }
    // The window closed at 1.2 s; its sum holds the lengths of frames 2..4 (the first frame has
    // none).
    EXPECT_NEAR(FrameRateController::GetAverageFrameTime(), 0.9 / 4, 1e-12);
    // The remaining 0.2 s carries over: three more frames of 0.3 s close the next window.
    Frame(0.3);
    Frame(0.3);
    EXPECT_EQ(FrameRateController::GetFPS(), 4);
    Frame(0.3);
    EXPECT_EQ(FrameRateController::GetFPS(), 3);
}

TEST_F(FrameRateControllerTest, StatsTextListsTheFrameAndItsProfileSharesSummedOverItsSteps) {
    Frame(0.5);
    Frame(0.5);
    FrameRateController::StartFrame();
    FrameRateController::Record("StartFrame", FrameRateController::MarkFrameStart());
    for (int step = 0; step < 2; ++step) {
        now += 0.0625;
        FrameRateController::Record("InputSystem", FrameRateController::Lap());
    }
    const std::string text = FrameRateController::BuildStatsText();
    // Percentages use the previous frame's work time (0.5 s).
    EXPECT_EQ(text,
              "FPS: 2\n"
              "Average Frame Time: 0.25\n"
              "Frame Time: 0.5\n"
              "Actual Frame Time: 0.5\n"
              "Simulation Steps: 5\n"
              "Steps Per Second: 6\n"
              "StartFrame: 0%\n"
              "InputSystem: 25%\n");
    FrameRateController::EndFrame();
    EXPECT_TRUE(FrameRateController::GetProfileEntries().empty());
}

TEST(CappedClock, AWaitLastsAtLeastTheShortestFrameSinceThePreviousWake) {
    double now = 0.0;
    auto clock = timing::MakeCappedClock(std::make_unique<ManualClock>(&now), 0.1);
    clock->WaitPast(0.01);
    EXPECT_DOUBLE_EQ(now, 0.1001) << "held to the shortest frame";
    clock->WaitPast(0.5);
    EXPECT_DOUBLE_EQ(now, 0.5001) << "a later deadline still holds";
    now += 0.3;
    clock->WaitPast(0.0);
    EXPECT_DOUBLE_EQ(now, 0.8001) << "a frame already longer does not wait";
}

TEST(SteadyClock, AWaitEndsStrictlyAfterItsDeadline) {
    std::unique_ptr<timing::Clock> clocks[] = {timing::MakeSteadyClock(),
                                               timing::MakeSpinningClock()};
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
