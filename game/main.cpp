// The game: builds the engine on the desktop services and runs it until the window closes or a
// quit is requested. The program takes no options; it reads its data from "assets/" under the
// working directory.
#include <iostream>

#include "core/core.h"
#include "platform/services.h"

int main() {
    platform::Services services = platform::MakeDesktopServices();
    if (!services.window) {
        std::cerr << "Vorl needs a display with OpenGL 3.3; see the line above.\n";
        return 1;
    }
    Core core(std::move(services));
    LoadGameData(core);
    while (isRunning) {
        core.Update();
    }
    core.Shutdown();
    return 0;
}
