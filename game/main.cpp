// The game: finds its data, builds the engine on the desktop services and runs it until the window
// closes or a quit is requested. The program takes no options; its data is the "assets/" folder
// of a working copy or the data installed beside it (meta/assets.h says where).
//
// One test aid: VORL_START_LEVEL=<0..20> in the environment starts the game on that level instead
// of the splash screen, so that end-to-end tests can reach a level without playing through the
// screens before it. Anything else in it is ignored.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/core.h"
#include "meta/assets.h"
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

// Points the data reader at the game's data; false, after saying where it looked, when there is
// none.
bool FindGameData() {
    std::vector<std::filesystem::path> looked;
    const std::optional<Assets::Folders> folders =
        Assets::Locate(Assets::Surroundings::OfThisProcess(), &looked);
    if (!folders) {
        std::cerr << "Vorl cannot find its data: no archetype list \"Objects\" in";
        for (const std::filesystem::path& folder : looked) {
            std::cerr << "\n  " << folder.string();
        }
        std::cerr << "\nStart it from the repository's root, or install it.\n";
        return false;
    }
    Assets::Use(*folders);
    return true;
}

}  // namespace

int main() {
    if (!FindGameData()) {
        return 1;
    }
    platform::Services services = platform::MakeDesktopServices(Assets::PathOf("Vorl1.ico"));
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
