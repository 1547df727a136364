// Measures how late a sleep wakes on this machine, then how much CPU the engine uses while it
// idles at the frame cap, with the sleeping clock the game uses and with a clock that spins
// through the whole wait.
//
//   frame_cap_cpu [seconds per clock, default 5]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "core/frame_rate_controller.h"
#include "engine/core.h"
#include "platform/services.h"

namespace {

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Sleeps of a frame's typical wait (14 ms) and of a short one (1 ms), and how much later than
// asked each one ends.
void MeasureSleepLateness() {
    const auto wall = timing::MakeSteadyClock();
    for (const double asked : {0.014, 0.001}) {
        std::vector<double> late;
        for (int i = 0; i < (asked > 0.01 ? 100 : 300); ++i) {
            const double start = wall->Now();
            std::this_thread::sleep_for(std::chrono::duration<double>(asked));
            late.push_back(wall->Now() - start - asked);
        }
        std::sort(late.begin(), late.end());
        auto at = [&](double share) {
            return 1e6 * late[static_cast<std::size_t>(share * (late.size() - 1))];
        };
        std::printf(
            "sleep %4.1f ms wakes late by: median %.0f us, 90%% %.0f us, 99%% %.0f us, "
            "max %.0f us\n",
            asked * 1e3, at(0.5), at(0.9), at(0.99), at(1.0));
    }
}

void Measure(const char* label, std::unique_ptr<timing::Clock> clock, double seconds) {
    platform::Services services = platform::MakeHeadlessServices();
    services.clock = std::move(clock);
    Core core(std::move(services));
    const auto wall = timing::MakeSteadyClock();
    const double wallStart = wall->Now();
    const double cpuStart = ProcessCpuSeconds();
    int frames = 0;
    while (wall->Now() - wallStart < seconds) {
        core.Update();
        ++frames;
    }
    const double elapsed = wall->Now() - wallStart;
    const double cpu = ProcessCpuSeconds() - cpuStart;
    std::printf("%-10s %6d frames in %.2f s: %.1f fps, CPU %.1f%% of one core\n", label, frames,
                elapsed, frames / elapsed, 100.0 * cpu / elapsed);
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    MeasureSleepLateness();
    Measure("sleeping", timing::MakeSteadyClock(), seconds);
    Measure("spinning", timing::MakeSpinningClock(), seconds);
    return 0;
}
