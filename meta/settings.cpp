#include "meta/settings.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <system_error>

#include "meta/safe_file.h"

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
    for (const std::string& line : settings.unknownLines) {
        out << line << "\n";
    }
    return out.str();
}

std::optional<Settings> Parse(std::string_view text, std::string* why) {
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
    if (std::optional<Settings> settings = Parse(text, &why)) {
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

}  // namespace

void Enable(std::filesystem::path file, bool oldMusicOff, bool oldSoundOff) {
    State& keeper = Keeper();
    std::error_code error;
    const bool existed = std::filesystem::exists(file, error);
    keeper.settings = SettingsFile::Load(file);
    keeper.file = std::move(file);
    if (!existed && (oldMusicOff || oldSoundOff)) {
        Change([&](Settings& settings) {
            settings.musicOff = oldMusicOff;
            settings.soundOff = oldSoundOff;
        });
    }
}

void Disable() {
    Keeper() = State{};
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
    if (!keeper.file.empty()) {
        SettingsFile::Save(keeper.file, keeper.settings);
    }
}

}  // namespace SettingsKeeper
