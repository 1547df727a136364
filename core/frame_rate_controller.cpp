#include "core/frame_rate_controller.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/check.h"
#include "core/clock.h"

namespace FrameRateController {
namespace {

struct State {
    std::unique_ptr<timing::Clock> clock = timing::MakeSteadyClock();
    bool started = false;
    double frameStart = 0.0;
    double lastFrameTime = 0.0;
    double frameTime = 0.0;
    double actualFrameTime = 0.0;
    double sectionMark = 0.0;
    // Clock time not yet simulated, in seconds.
    double owed = 0.0;
    int stepsDue = 0;
    bool displayWaits = false;
    double refreshPeriod = 0.0;
    // Clock time measured but not yet counted, while frames are taken as whole refreshes.
    double drift = 0.0;
    int frameCount = 0;
    int stepCount = 0;
    int stepsPerSecond = 0;
    double windowTime = 0.0;
    double frameTimeSum = 0.0;
    int fps = 0;
    double averageFrameTime = 0.0;
    std::vector<std::pair<std::string, double>> profile;
    std::ostringstream statsText;
};

State& S() {
    static State state;
    return state;
}

double& Step() {
    static double step = kGameFrameTime;
    return step;
}

// A frame measured on a clock of exactly the step must owe exactly one step, although the
// difference of two clock readings may miss it by a rounding error.
double Tolerance() {
    return Step() * 1e-6;
}

// A present that waits returns a little after the refresh, by a varying amount.
constexpr double kRefreshSnap = 0.2;
// The share of the drift counted each frame: small enough to leave motion even, large enough to
// follow a refresh rate read 0.1 % wrong.
constexpr double kDriftFeed = 0.05;

// The time a frame that lasted `measured` stands for.
double CountedFrameTime(State& s, double measured) {
    if (!s.displayWaits || s.refreshPeriod <= 0.0) {
        return measured;
    }
    const double refreshes = std::round(measured / s.refreshPeriod);
    if (refreshes < 1.0 ||
        std::fabs(measured - refreshes * s.refreshPeriod) > kRefreshSnap * s.refreshPeriod) {
        return measured;
    }
    s.drift += measured - refreshes * s.refreshPeriod;
    const double fed = s.drift * kDriftFeed;
    s.drift -= fed;
    return refreshes * s.refreshPeriod + fed;
}

}  // namespace

void StartFrame() {
    State& s = S();
    const double step = Step();
    if (!s.started) {
        s.started = true;
        s.owed = step;
    }
    s.lastFrameTime = s.frameTime;
    s.frameTimeSum += s.lastFrameTime;
    s.frameTime = 0.0;
    s.frameStart = s.clock->Now();

    s.owed += CountedFrameTime(s, s.lastFrameTime);
    s.stepsDue = 0;
    while (s.owed >= step - Tolerance() && s.stepsDue < kMaxStepsPerFrame) {
        s.owed -= step;
        ++s.stepsDue;
    }
    if (s.owed >= step - Tolerance()) {
        // More than the bound: the whole steps left over are never simulated.
        s.owed = std::fmod(s.owed, step);
    }
    s.stepCount += s.stepsDue;
}

void UsePacing(bool displayWaits, double refreshRate) {
    State& s = S();
    const double period = refreshRate > 0.0 ? 1.0 / refreshRate : 0.0;
    if (displayWaits != s.displayWaits || period != s.refreshPeriod) {
        s.drift = 0.0;
    }
    s.displayWaits = displayWaits;
    s.refreshPeriod = period;
}

double MarkFrameStart() {
    State& s = S();
    s.sectionMark = s.clock->Now();
    return s.sectionMark - s.frameStart;
}

double Lap() {
    State& s = S();
    const double now = s.clock->Now();
    const double lap = now - s.sectionMark;
    s.sectionMark = now;
    return lap;
}

void Record(const std::string& name, double seconds) {
    auto& profile = S().profile;
    const auto entry = std::find_if(profile.begin(), profile.end(),
                                    [&](const auto& e) { return e.first == name; });
    if (entry != profile.end()) {
        entry->second += seconds;
    } else {
        profile.emplace_back(name, seconds);
    }
}

void EndFrame() {
    State& s = S();
    s.actualFrameTime = s.clock->Now() - s.frameStart;
    if (s.displayWaits) {
        s.clock->WaitPast(s.frameStart + 0.5 * (s.refreshPeriod > 0.0 ? s.refreshPeriod : Step()));
    } else if (s.refreshPeriod > 0.0) {
        s.clock->WaitPast(s.frameStart + s.refreshPeriod);
    } else {
        s.clock->WaitPast(s.frameStart + Step() - s.owed);
    }
    s.frameTime = s.clock->Now() - s.frameStart;
    ++s.frameCount;
    s.windowTime += s.frameTime;
    if (s.windowTime >= 1.0) {
        s.fps = s.frameCount;
        s.frameCount = 0;
        s.stepsPerSecond = s.stepCount;
        s.stepCount = 0;
        s.windowTime -= 1.0;
        s.averageFrameTime = s.frameTimeSum / s.fps;
        s.frameTimeSum = 0.0;
    }
    s.profile.clear();
}

double GetDT() {
    return Step();
}
int StepsDue() {
    return S().stepsDue;
}
double StepFraction() {
    return std::clamp(S().owed / Step(), 0.0, 1.0);
}
double GetFrameTime() {
    return S().lastFrameTime;
}
int GetFPS() {
    return S().fps;
}
int GetStepsPerSecond() {
    return S().stepsPerSecond;
}
double GetAverageFrameTime() {
    return S().averageFrameTime;
}
double GetActualFrameTime() {
    return S().actualFrameTime;
}
const std::vector<std::pair<std::string, double>>& GetProfileEntries() {
    return S().profile;
}

std::string BuildStatsText() {
    State& s = S();
    s.statsText.str("");
    s.statsText.clear();
    s.statsText << "FPS: " << s.fps << '\n';
    s.statsText << "Average Frame Time: " << s.averageFrameTime << '\n';
    s.statsText << "Frame Time: " << s.lastFrameTime << '\n';
    s.statsText << "Actual Frame Time: " << s.actualFrameTime << '\n';
    s.statsText << "Simulation Steps: " << s.stepsDue << '\n';
    s.statsText << "Steps Per Second: " << s.stepsPerSecond << '\n';
    for (const auto& [name, seconds] : s.profile) {
        s.statsText << name << ": " << seconds / s.actualFrameTime * 100.0 << "%" << '\n';
    }
    return s.statsText.str();
}

void UseClock(std::unique_ptr<timing::Clock> clock) {
    State& s = S();
    s = State{};
    s.clock = std::move(clock);
}

void UseStep(double seconds) {
    if (VORL_CHECK(seconds > 0.0, "the simulation step must be positive")) {
        Step() = seconds;
    }
}

}  // namespace FrameRateController
