// The game: builds the engine on the desktop services and runs it until the window closes or a
// quit is requested. The program takes no options.
#include <iostream>

#include "core/core.h"
#include "core/frame_rate_controller.h"
#include "platform/services.h"

int main() {
    // Until the desktop window and renderer land, the game runs headless on the real clock for
    // three seconds and prints its frame statistics.
    platform::Services services = platform::MakeHeadlessServices();
    services.clock = platform::MakeSteadyClock();
    std::cout << "Running the engine headless for 3 seconds (no window yet)..." << std::endl;
    Core core(std::move(services));
    LoadGameData(core);
    int frames = 0;
    while (isRunning && frames < 180) {
        core.Update();
        ++frames;
    }
    std::cout << FrameRateController::BuildStatsText();
    core.Shutdown();
    return 0;
}
