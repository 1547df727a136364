// Measures how much CPU the engine uses while it idles at the frame cap, with the sleeping clock
// the game uses and with a clock that spins through the whole wait.
//
//   frame_cap_cpu [seconds per clock, default 5]
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/core.h"
#include "core/frame_rate_controller.h"
#include "platform/clock.h"
#include "platform/services.h"

namespace {

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void Measure(const char* label, std::unique_ptr<platform::Clock> clock, double seconds) {
    platform::Services services = platform::MakeHeadlessServices();
    services.clock = std::move(clock);
    Core core(std::move(services));
    const auto wall = platform::MakeSteadyClock();
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
    Measure("sleeping", platform::MakeSteadyClock(), seconds);
    Measure("spinning", platform::MakeSpinningClock(), seconds);
    return 0;
}
