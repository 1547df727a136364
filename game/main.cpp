// The game: builds the engine on the desktop services and runs it until the window closes or a
// quit is requested. The program takes no options; it reads its data from "assets/" under the
// working directory.
//
// One test aid: VORL_START_LEVEL=<0..20> in the environment starts the game on that level instead
// of the splash screen, so that end-to-end tests can reach a level without playing through the
// screens before it. Anything else in it is ignored.
#include <cstdlib>
#include <iostream>
#include <string>

#include "core/core.h"
#include "objects/level_manager.h"
#include "platform/services.h"

namespace {

void ApplyStartLevelAid() {
    const char* level = std::getenv("VORL_START_LEVEL");
    if (!level) {
        return;
    }
    const std::string text = level;
    if (text.empty() || text.size() > 2 ||
        text.find_first_not_of("0123456789") != std::string::npos ||
        !LevelManager::SetStartLevel(std::stoi(text))) {
        std::cerr << "VORL_START_LEVEL=" << text << " ignored: not a level number 0..20\n";
    }
}

}  // namespace

int main() {
    platform::Services services = platform::MakeDesktopServices();
    if (!services.window) {
        std::cerr << "Vorl needs a display with OpenGL 3.3; see the line above.\n";
        return 1;
    }
    Core core(std::move(services));
    ApplyStartLevelAid();
    LoadGameData(core);
    while (isRunning) {
        core.Update();
    }
    core.Shutdown();
    return 0;
}
