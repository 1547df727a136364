#include "core/frame_rate_controller.h"

#include <sstream>

#include "platform/clock.h"

namespace FrameRateController {
namespace {

constexpr double kTargetFrameRate = 60.0;
constexpr double kMinimumFrameTime = 1.0 / (kTargetFrameRate + 3.0);

struct State {
    std::unique_ptr<platform::Clock> clock = platform::MakeSteadyClock();
    double frameStart = 0.0;
    double dt = 0.0;
    double frameTime = 0.0;
    double actualFrameTime = 0.0;
    double sectionMark = 0.0;
    int frameCount = 0;
    double windowTime = 0.0;
    double dtSum = 0.0;
    int fps = 0;
    double averageFrameTime = 0.0;
    std::vector<std::pair<std::string, double>> profile;
    std::ostringstream statsText;
};

State& S() {
    static State state;
    return state;
}

}  // namespace

void StartFrame() {
    State& s = S();
    s.dt = s.frameTime;
    s.dtSum += s.dt;
    s.frameTime = 0.0;
    s.frameStart = s.clock->Now();
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
    S().profile.emplace_back(name, seconds);
}

void EndFrame() {
    State& s = S();
    s.actualFrameTime = s.clock->Now() - s.frameStart;
    s.clock->WaitPast(s.frameStart + kMinimumFrameTime);
    s.frameTime = s.clock->Now() - s.frameStart;
    ++s.frameCount;
    s.windowTime += s.frameTime;
    if (s.windowTime >= 1.0) {
        s.fps = s.frameCount;
        s.frameCount = 0;
        s.windowTime -= 1.0;
        s.averageFrameTime = s.dtSum / s.fps;
        s.dtSum = 0.0;
    }
    s.profile.clear();
}

double GetDT() {
    return S().dt;
}
int GetFPS() {
    return S().fps;
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
    s.statsText << "Frame Time: " << s.dt << '\n';
    s.statsText << "Actual Frame Time: " << s.actualFrameTime << '\n';
    for (const auto& [name, seconds] : s.profile) {
        s.statsText << name << ": " << seconds / s.actualFrameTime * 100.0 << "%" << '\n';
    }
    return s.statsText.str();
}

void UseClock(std::unique_ptr<platform::Clock> clock) {
    State& s = S();
    s = State{};
    s.clock = std::move(clock);
}

}  // namespace FrameRateController
