#include "meta/settings.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <system_error>

#include "meta/safe_file.h"
#include "platform/gamepad.h"

namespace {

constexpr std::string_view kHeader = "vorl settings 1";

struct Switch {
    const char* key;
    bool Settings::*value;
    // The word for true: the mute switches say "off" when on.
    const char* trueWord;
    const char* falseWord;
};
constexpr Switch kSwitches[] = {
    {"music", &Settings::musicOff, "off", "on"},
    {"sound", &Settings::soundOff, "off", "on"},
    {"full-screen", &Settings::fullScreen, "on", "off"},
    {"vertical-sync", &Settings::verticalSync, "on", "off"},
    {"show-timer", &Settings::showTimer, "on", "off"},
};

struct Volume {
    const char* key;
    int Settings::*value;
};
constexpr Volume kVolumes[] = {
    {"music-volume", &Settings::musicVolume},
    {"effects-volume", &Settings::effectsVolume},
};

struct PadWord {
    const char* word;
    std::uint16_t button;
};
constexpr PadWord kPadWords[] = {
    {"a", platform::PadButton::A},
    {"b", platform::PadButton::B},
    {"x", platform::PadButton::X},
    {"y", platform::PadButton::Y},
    {"start", platform::PadButton::Start},
    {"back", platform::PadButton::Back},
    {"left-shoulder", platform::PadButton::LeftShoulder},
    {"right-shoulder", platform::PadButton::RightShoulder},
    {"left-thumb", platform::PadButton::LeftThumb},
    {"right-thumb", platform::PadButton::RightThumb},
    {"dpad-up", platform::PadButton::DPadUp},
    {"dpad-down", platform::PadButton::DPadDown},
    {"dpad-left", platform::PadButton::DPadLeft},
    {"dpad-right", platform::PadButton::DPadRight},
};
constexpr const char* kNone = "none";

// A key code as the file writes it ("0x57"), or "none" for 0; -1 for anything else.
int ReadKeyCode(const std::string& word) {
    if (word == kNone) {
        return 0;
    }
    if (word.size() < 3 || word.size() > 4 || word[0] != '0' || word[1] != 'x' ||
        word.find_first_not_of("0123456789abcdefABCDEF", 2) != std::string::npos) {
        return -1;
    }
    const int code = std::stoi(word.substr(2), nullptr, 16);
    return code > 0 && code < 256 ? code : -1;
}

std::string KeyCodeWord(int code) {
    if (code <= 0 || code > 255) {
        return kNone;
    }
    char word[8];
    std::snprintf(word, sizeof word, "0x%02X", code);
    return word;
}

// A "key" or "pad" line into `settings`; false, with the reason in `why`, when it names no key or
// button (the action then keeps what it had).
bool ReadBinding(const std::string& line, Settings& settings, std::string& why) {
    std::istringstream words(line);
    std::string kind, action;
    words >> kind >> action;
    std::vector<std::string> values;
    for (std::string value; words >> value;) {
        values.push_back(value);
    }
    if (action.empty() || values.empty()) {
        why = "\"" + line + "\" names no " + (kind == "key" ? "key" : "pad button");
        return false;
    }
    if (kind == "key") {
        std::array<int, 2> codes{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int code = i < codes.size() ? ReadKeyCode(values[i]) : -1;
            if (code < 0) {
                why = "\"" + values[i] + "\" is not a key code such as 0x57";
                return false;
            }
            codes[i] = code;
        }
        settings.keys[action] = codes;
        return true;
    }
    const std::uint16_t button = SettingsFile::PadButtonFromWord(values[0]);
    if (values.size() > 1 || (button == 0 && values[0] != kNone)) {
        why = "\"" + values[0] + "\" is not a pad button";
        return false;
    }
    settings.padButtons[action] = button;
    return true;
}

// Whether `line` sets a known setting in `settings`; `known` says whether its key is ours at all.
bool ReadLine(const std::string& line, Settings& settings, bool& known) {
    std::istringstream words(line);
    std::string key, value, rest;
    words >> key >> value;
    const bool single = !value.empty() && !(words >> rest);
    for (const Switch& entry : kSwitches) {
        if (key == entry.key) {
            known = true;
            if (!single || (value != entry.trueWord && value != entry.falseWord)) {
                return false;
            }
            settings.*entry.value = value == entry.trueWord;
            return true;
        }
    }
    for (const Volume& entry : kVolumes) {
        if (key == entry.key) {
            known = true;
            if (!single || value.size() > 3 ||
                value.find_first_not_of("0123456789") != std::string::npos) {
                return false;
            }
            const int volume = std::stoi(value);
            if (volume > Settings::kFullVolume || volume % Settings::kVolumeStep != 0) {
                return false;
            }
            settings.*entry.value = volume;
            return true;
        }
    }
    known = false;
    return true;
}

}  // namespace

int StepVolume(int volume, int steps) {
    return std::clamp(volume + steps * Settings::kVolumeStep, 0, Settings::kFullVolume);
}

namespace SettingsFile {

std::string PadButtonWord(std::uint16_t button) {
    for (const PadWord& entry : kPadWords) {
        if (entry.button == button) {
            return entry.word;
        }
    }
    return button == 0 ? kNone : "";
}

std::uint16_t PadButtonFromWord(std::string_view word) {
    for (const PadWord& entry : kPadWords) {
        if (word == entry.word) {
            return entry.button;
        }
    }
    return 0;
}

std::string Format(const Settings& settings) {
    std::ostringstream out;
    out << kHeader << "\n";
    for (const Volume& entry : kVolumes) {
        out << entry.key << " " << settings.*entry.value << "\n";
    }
    for (const Switch& entry : kSwitches) {
        out << entry.key << " " << (settings.*entry.value ? entry.trueWord : entry.falseWord)
            << "\n";
    }
    for (const auto& [action, codes] : settings.keys) {
        out << "key " << action << " " << KeyCodeWord(codes[0]) << " " << KeyCodeWord(codes[1])
            << "\n";
    }
    for (const auto& [action, button] : settings.padButtons) {
        out << "pad " << action << " " << PadButtonWord(button) << "\n";
    }
    for (const std::string& line : settings.unknownLines) {
        out << line << "\n";
    }
    return out.str();
}

std::optional<Settings> Parse(std::string_view text, std::string* why,
                              std::vector<std::string>* dropped) {
    std::istringstream in{std::string(text)};
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        if (why) {
            *why = "line 1 is not \"" + std::string(kHeader) + "\"";
        }
        return std::nullopt;
    }
    Settings settings;
    int number = 1;
    while (std::getline(in, line)) {
        ++number;
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        if (line.starts_with("key ") || line.starts_with("pad ")) {
            std::string fault;
            if (!ReadBinding(line, settings, fault) && dropped) {
                dropped->push_back("line " + std::to_string(number) + ": " + fault +
                                   "; that action keeps its default");
            }
            continue;
        }
        bool known = false;
        if (!ReadLine(line, settings, known)) {
            if (why) {
                *why = "line " + std::to_string(number) + " is not understood: \"" + line + "\"";
            }
            return std::nullopt;
        }
        if (!known) {
            settings.unknownLines.push_back(line);
        }
    }
    return settings;
}

std::filesystem::path Location(const std::string& configHome, const std::string& home) {
    if (!configHome.empty() && std::filesystem::path(configHome).is_absolute()) {
        return std::filesystem::path(configHome) / "vorl" / kFileName;
    }
    if (!home.empty()) {
        return std::filesystem::path(home) / ".config" / "vorl" / kFileName;
    }
    return {};
}

Settings Load(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    std::string text, why;
    if (!SafeFile::ReadAll(path, &text, &why)) {
        std::cerr << "Settings in " << path.string() << " not used (" << why
                  << "); using the defaults\n";
        return {};
    }
    std::vector<std::string> dropped;
    if (std::optional<Settings> settings = Parse(text, &why, &dropped)) {
        for (const std::string& entry : dropped) {
            std::cerr << path.string() << ": " << entry << "\n";
        }
        return *settings;
    }
    std::filesystem::path aside = path;
    aside += ".damaged";
    std::filesystem::rename(path, aside, error);
    std::cerr << path.string() << ": " << why << "; using the default settings"
              << (error ? "" : " (the file is kept as " + aside.filename().string() + ")") << "\n";
    return {};
}

bool Save(const std::filesystem::path& path, const Settings& settings) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::string why;
    if (SafeFile::Replace(path, Format(settings), &why)) {
        return true;
    }
    std::cerr << "Settings not saved: " << path.string() << " cannot be written (" << why << ")\n";
    return false;
}

}  // namespace SettingsFile

namespace SettingsKeeper {
namespace {

struct State {
    std::filesystem::path file;
    Settings settings;
};

State& Keeper() {
    static State state;
    return state;
}

std::uint64_t revision = 0;

}  // namespace

void Enable(std::filesystem::path file, bool oldMusicOff, bool oldSoundOff) {
    State& keeper = Keeper();
    std::error_code error;
    const bool existed = std::filesystem::exists(file, error);
    keeper.settings = SettingsFile::Load(file);
    keeper.file = std::move(file);
    ++revision;
    if (!existed && (oldMusicOff || oldSoundOff)) {
        Change([&](Settings& settings) {
            settings.musicOff = oldMusicOff;
            settings.soundOff = oldSoundOff;
        });
    }
}

void Disable() {
    Keeper() = State{};
    ++revision;
}

const Settings& Current() {
    return Keeper().settings;
}

void Change(const std::function<void(Settings&)>& edit) {
    State& keeper = Keeper();
    Settings changed = keeper.settings;
    edit(changed);
    if (changed == keeper.settings) {
        return;
    }
    keeper.settings = std::move(changed);
    ++revision;
    if (!keeper.file.empty()) {
        SettingsFile::Save(keeper.file, keeper.settings);
    }
}

std::uint64_t Revision() {
    return revision;
}

}  // namespace SettingsKeeper
