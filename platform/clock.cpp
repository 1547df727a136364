#include "platform/clock.h"

#include <cassert>
#include <chrono>
#include <cstdint>
#include <thread>

namespace platform {
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

class SteadyClock : public SpinningClock {
public:
    void WaitPast(double deadline) override {
        // Sleep granularity on a loaded desktop is around a millisecond; two leave a margin.
        constexpr double kSpinMargin = 0.002;
        const double sleepFor = deadline - kSpinMargin - Now();
        if (sleepFor > 0.0) {
            std::this_thread::sleep_for(std::chrono::duration<double>(sleepFor));
        }
        SpinningClock::WaitPast(deadline);
    }
};

class FixedStepClock : public Clock {
public:
    explicit FixedStepClock(double step) : step_(step) {
        assert(step > 0.0 && "a fixed-step clock needs a positive step");
    }
    double Now() override { return static_cast<double>(ticks_) * step_; }
    void WaitPast(double /*deadline*/) override { ++ticks_; }

private:
    double step_;
    std::uint64_t ticks_ = 0;
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

}  // namespace platform
