#include "core/clock.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

#include "core/check.h"

namespace timing {
namespace {

double SteadySeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

class SpinningClock : public Clock {
public:
    double Now() override { return SteadySeconds() - origin_; }
    void WaitPast(double deadline) override {
        while (Now() <= deadline) {
        }
    }

private:
    double origin_ = SteadySeconds();
};

// Sleeps until a margin before the deadline and spins the rest. The margin follows how late this
// machine's sleeps usually wake: it settles where four wakes in five come within it. The rare
// later wake of a busy machine is not chased (a mean would be, by its long tail): that frame just
// ends a little late, still longer than the deadline, and the usual frame goes on sleeping
// nearly all of its wait.
class SteadyClock : public SpinningClock {
public:
    void WaitPast(double deadline) override {
        const double wakeAt = deadline - margin_;
        const double sleepFor = wakeAt - Now();
        if (sleepFor > 0.0) {
            std::this_thread::sleep_for(std::chrono::duration<double>(sleepFor));
            Learn(Now() - wakeAt);
        }
        SpinningClock::WaitPast(deadline);
    }

private:
    // An idle desktop wakes about a tenth of a millisecond late (the kernel's timer slack and the
    // scheduler); the bounds keep the margin sane whatever the wakes say.
    static constexpr double kMinMargin = 0.00005;
    static constexpr double kMaxMargin = 0.002;
    static constexpr double kStep = 0.00001;

    // A wake past the margin raises it four steps, one within lowers it one step: it rests where
    // one wake in five is later.
    void Learn(double lateness) {
        margin_ = std::clamp(margin_ + (lateness > margin_ ? 4.0 * kStep : -kStep), kMinMargin,
                             kMaxMargin);
    }

    double margin_ = 0.0005;
};

class FixedStepClock : public Clock {
public:
    // A clock that never moves would hang every wait on it; a bad step becomes 1/60 s.
    explicit FixedStepClock(double step)
        : step_(VORL_CHECK(step > 0.0, "a fixed-step clock needs a positive step") ? step
                                                                                   : 1.0 / 60.0) {}
    double Now() override { return static_cast<double>(ticks_) * step_; }
    void WaitPast(double /*deadline*/) override { ++ticks_; }

private:
    double step_;
    std::uint64_t ticks_ = 0;
};

class CappedClock : public Clock {
public:
    CappedClock(std::unique_ptr<Clock> clock, double shortestFrame)
        : clock_(std::move(clock)), shortestFrame_(shortestFrame), lastWake_(clock_->Now()) {}
    double Now() override { return clock_->Now(); }
    void WaitPast(double deadline) override {
        clock_->WaitPast(std::max(deadline, lastWake_ + shortestFrame_));
        lastWake_ = clock_->Now();
    }

private:
    std::unique_ptr<Clock> clock_;
    double shortestFrame_;
    double lastWake_;
};

}  // namespace

std::unique_ptr<Clock> MakeSteadyClock() {
    return std::make_unique<SteadyClock>();
}
std::unique_ptr<Clock> MakeSpinningClock() {
    return std::make_unique<SpinningClock>();
}
std::unique_ptr<Clock> MakeFixedStepClock(double step) {
    return std::make_unique<FixedStepClock>(step);
}

std::unique_ptr<Clock> MakeCappedClock(std::unique_ptr<Clock> clock, double shortestFrame) {
    return std::make_unique<CappedClock>(std::move(clock), shortestFrame);
}

}  // namespace timing
