// Settings: how the player likes the game, kept apart from their progress in
// "$XDG_CONFIG_HOME/vorl/settings" (else "~/.config/vorl/settings"): the two volumes, the two mute
// switches, full screen or a window, vertical sync, the timer, and the keys and pad buttons the
// player chose for the game's actions ("key jump 0x57 0x26", "pad jump a"). A line this version
// does not
// know (written by a newer one) is kept and written back as it was. A binding line that names no
// key or button is reported in one line and dropped, so that action keeps its default; a binding
// for an action this version does not have is kept. Any other damaged file is moved aside
// to "settings.damaged", reported in one line, and the defaults are used; it is never a crash.
// Saves replace the file whole (meta/safe_file.h).
//
// SettingsKeeper is the game's one copy, switched on by the game at start-up (tests and tools keep
// nothing but still read Current()). The systems read Current() each frame and apply what
// changed; whoever changes a setting calls Change(), which saves at once.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Settings {
    static constexpr int kVolumeStep = 10;
    static constexpr int kFullVolume = 100;

    // Percent, 0 to 100 in steps of 10.
    int musicVolume = kFullVolume;
    int effectsVolume = kFullVolume;
    bool musicOff = false;
    bool soundOff = false;
    bool fullScreen = true;
    bool verticalSync = true;
    bool showTimer = false;
    // By action name: a primary and a secondary virtual-key code (0 for none), and a pad button
    // (a PadButton bit, 0 for none). An action named in neither keeps its default bindings.
    std::map<std::string, std::array<int, 2>> keys;
    std::map<std::string, std::uint16_t> padButtons;
    // Lines of a newer version, in file order, without their line ends.
    std::vector<std::string> unknownLines;

    bool operator==(const Settings&) const = default;
};

// `volume` moved by `steps` of kVolumeStep, held to 0..100.
int StepVolume(int volume, int steps);

namespace SettingsFile {

inline constexpr const char* kFileName = "settings";

std::string Format(const Settings& settings);
// Nothing when `text` is not a settings file; `why` (if given) then names the line at fault.
// Binding lines that name no key or button are left out and described in `dropped`, one entry
// ("line 4: ...") each.
std::optional<Settings> Parse(std::string_view text, std::string* why = nullptr,
                              std::vector<std::string>* dropped = nullptr);
// "$XDG_CONFIG_HOME/vorl/settings", else "<home>/.config/vorl/settings"; empty with neither.
std::filesystem::path Location(const std::string& configHome, const std::string& home);
// The file's word for a pad button bit ("a", "dpad-left", ...), empty for none or several bits;
// and back, 0 for a word that names no button.
std::string PadButtonWord(std::uint16_t button);
std::uint16_t PadButtonFromWord(std::string_view word);
// Defaults when `path` does not exist. Each binding line dropped is said in one line on standard
// error naming the file. A damaged or unreadable file gives the defaults too, after
// one line on standard error naming the file; a damaged one is first moved aside.
Settings Load(const std::filesystem::path& path);
// False, after one line on standard error, when the file cannot be written (the old one stays).
bool Save(const std::filesystem::path& path, const Settings& settings);

}  // namespace SettingsFile

namespace SettingsKeeper {

// Loads `file` and saves there from now on. When there is no such file yet, the mute switches of
// an older version's progress (`oldMusicOff`, `oldSoundOff`) carry over into it, once.
void Enable(std::filesystem::path file, bool oldMusicOff = false, bool oldSoundOff = false);
// Back to the defaults, keeping nothing (tests).
void Disable();
const Settings& Current();
// Applies `edit` to the settings and saves them when they changed.
void Change(const std::function<void(Settings&)>& edit);
// Grows whenever Current() may have changed, so readers can keep what they derive from it.
std::uint64_t Revision();

}  // namespace SettingsKeeper
