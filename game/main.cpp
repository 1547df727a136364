// The game: finds its data, builds the engine on the desktop services and runs it until the window
// closes or a quit is requested. Its only option is --help; its data is the "assets/" folder of a
// working copy or the data installed beside it (meta/assets.h says where).
//
// Test aids, in the environment (anything else in them is ignored, with a line on standard error):
//  - VORL_START_LEVEL=<0..20> starts the game on that level instead of the splash screen, so that
//    end-to-end tests can reach a level without playing through the screens before it;
//  - VORL_MAX_FPS=<1..1000> draws no more frames a second than that, as a slow machine would;
//  - VORL_VSYNC=0 keeps vertical sync off whatever the options say (the window reads it);
//  - VORL_PLAYBACK=1 plays every level's recording ("Level<n>Input/inputfile<k>.input") into
//    gamepad 0 from the moment the level's objects are live, and moves on when it ends; each level
//    started is named on standard output ("level started: <name>"), so a script can follow the
//    game without reading the screen;
//  - VORL_WATCH_LEVEL=<2..20> starts on that level watching its best run (gameplay/best_runs.h),
//    says on standard output how the replay ended, and quits.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/messaging.h"
#include "engine/core.h"
#include "gameplay/best_runs.h"
#include "gameplay/progress.h"
#include "input/input_system.h"
#include "meta/assets.h"
#include "meta/safe_file.h"
#include "meta/settings.h"
#include "objects/level_manager.h"
#include "platform/services.h"

namespace {

// The whole number in environment variable `name`, from `lowest` to `highest`; none when the
// variable is unset or says something else (which is reported).
std::optional<int> NumberAid(const char* name, int lowest, int highest) {
    const char* value = std::getenv(name);
    if (!value) {
        return std::nullopt;
    }
    const std::string text = value;
    if (!text.empty() && text.size() <= 4 &&
        text.find_first_not_of("0123456789") == std::string::npos) {
        const int number = std::stoi(text);
        if (number >= lowest && number <= highest) {
            return number;
        }
    }
    std::cerr << name << "=" << text << " ignored: not a number " << lowest << ".." << highest
              << "\n";
    return std::nullopt;
}

// Before the engine is built: the clock is one of its services.
void ApplyClockAid(platform::Services& services) {
    if (const auto fps = NumberAid("VORL_MAX_FPS", 1, 1000)) {
        services.clock = timing::MakeCappedClock(std::move(services.clock), 1.0 / *fps);
    }
}

// After: building the engine starts the level sequence and the input afresh.
void ApplyGameAids(Core& core) {
    if (const auto level = NumberAid("VORL_START_LEVEL", 0, LevelManager::kLevelCount - 1)) {
        LevelManager::SetStartLevel(*level);
    }
    if (const auto level = NumberAid("VORL_WATCH_LEVEL", 2, LevelManager::kLevelCount - 1)) {
        if (!BestRuns::WatchAtLaunch(*level)) {
            std::cerr << "VORL_WATCH_LEVEL=" << *level << ": no best run of that level kept\n";
        }
    }
    if (NumberAid("VORL_PLAYBACK", 1, 1)) {
        InputSystem::SetPlaybackInput(true);
        core.SetStepHooks({nullptr, [] {
                               MessagingSystem::ForEach<LevelStartedMessage>(
                                   [](const LevelStartedMessage& started) {
                                       std::cout << "level started: " << started.levelName
                                                 << std::endl;
                                   });
                           }});
    }
}

// Points the data reader at the game's data; false, after saying where it looked, when there is
// none.
bool FindGameData() {
    std::vector<std::filesystem::path> looked;
    const std::optional<Assets::Folders> folders =
        Assets::Locate(Assets::Surroundings::OfThisProcess(), &looked);
    if (!folders) {
        std::string places;
        for (const std::filesystem::path& folder : looked) {
            places += (places.empty() ? "" : ", ") + folder.string();
        }
        std::cerr << "vorl: no game data (an archetype list \"Objects\") in " << places
                  << "; start it from the repository's root, or install it\n";
        return false;
    }
    Assets::Use(*folders);
    return true;
}

constexpr const char* kKeys = R"(Keys:
  Left/Right or A/D   roll              Up or W   jump
  Space               switch between the full and the half form
  Escape              the pause menu    F12       a screenshot
  F5                  the level editor  F6        the archetype editor
  A gamepad plays too: the left stick or D-pad rolls, A jumps, X switches, START pauses.
)";

void PrintHelp() {
    std::cout << "Usage: vorl [--help]\n\nA physics puzzle-platformer with a heavy and a light "
                 "form.\n\n"
              << kKeys << "\nData: the first folder holding the archetype list \"Objects\" of\n";
    std::vector<std::filesystem::path> looked;
    const auto folders = Assets::Locate(Assets::Surroundings::OfThisProcess(), &looked);
    if (folders) {
        std::cout << "  (found) " << folders->shipped.string() << "\n";
        if (folders->Installed()) {
            std::cout << "Saves, backups and recordings: " << folders->saves.string() << "\n";
        }
    } else {
        for (const std::filesystem::path& folder : looked) {
            std::cout << "  " << folder.string() << "\n";
        }
        std::cout << "  (none of them holds it)\n";
    }
}

// A save killed before it finished leaves its temporary file beside the file it was replacing.
void ClearInterruptedSaves() {
    for (const auto& folder : {Assets::Current().saves, Assets::Current().shipped}) {
        for (const auto& file : SafeFile::ClearStaleTemporaries(folder)) {
            std::cerr << "Removed " << file.string()
                      << ", left by a save that was interrupted (the saved file is whole)\n";
        }
        if (!Assets::Current().Installed()) {
            break;
        }
    }
}

// The player's settings, with an older version's mute switches carried over from the progress;
// the audio system starts with both switches off and flips one per message, as the keys do.
void UseSettings() {
    const Assets::Surroundings around = Assets::Surroundings::OfThisProcess();
    const std::filesystem::path file = SettingsFile::Location(around.configHome, around.home);
    if (!file.empty()) {
        const Progress& progress = ProgressKeeper::Current();
        SettingsKeeper::Enable(file, progress.musicOff, progress.soundOff);
    }
    if (SettingsKeeper::Current().musicOff) {
        MessagingSystem::Send<ToggleMute1Message>(true);
    }
    if (SettingsKeeper::Current().soundOff) {
        MessagingSystem::Send<ToggleMute2Message>(true);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        const std::string option = argv[1];
        if (option == "--help" || option == "-h") {
            PrintHelp();
            return 0;
        }
        std::cerr << "vorl: unknown option \"" << option << "\"; vorl --help lists what it takes\n";
        return 2;
    }
    if (!FindGameData()) {
        return 1;
    }
    ClearInterruptedSaves();
    platform::Services services =
        platform::MakeDesktopServices(Assets::ReadPathOf("Vorl1.ico", "the window icon"));
    if (!services.window) {
        std::cerr << "Vorl needs a display with OpenGL 3.3; see the line above.\n";
        return 1;
    }
    ApplyClockAid(services);
    Core core(std::move(services));
    ApplyGameAids(core);
    if (!Assets::Current().user.empty()) {
        ProgressKeeper::Enable(Assets::Current().user / ProgressFile::kFileName);
    }
    UseSettings();
    LoadGameData(core);
    while (isRunning) {
        core.Update();
    }
    core.Shutdown();
    return 0;
}
