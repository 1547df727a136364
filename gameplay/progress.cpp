#include "gameplay/progress.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <numeric>
#include <sstream>
#include <system_error>

#include "core/messaging.h"
#include "gameplay/run_state.h"
#include "meta/assets.h"
#include "meta/safe_file.h"
#include "objects/level_manager.h"

namespace {

constexpr std::string_view kHeader = "vorl progress 1";
constexpr std::int32_t kFirstPlayableLevel = 2;
// The ending: a player who reached the final screen continues with the ending again.
constexpr std::int32_t kLastContinuableLevel = 19;

bool ReadSwitch(std::istringstream& words, bool& off) {
    std::string state;
    if (!(words >> state) || (state != "on" && state != "off")) {
        return false;
    }
    off = state == "off";
    return true;
}

}  // namespace

std::int32_t Progress::StarsBefore(std::int32_t level) const {
    std::int32_t total = 0;
    for (std::int32_t i = 0; i < level && i < kLevels; ++i) {
        total += stars[static_cast<std::size_t>(i)];
    }
    return total;
}

namespace ProgressFile {

std::string Format(const Progress& progress) {
    std::ostringstream out;
    out << kHeader << "\nfurthest " << progress.furthestLevel << "\n";
    for (int level = 0; level < Progress::kLevels; ++level) {
        if (const std::int32_t found = progress.stars[static_cast<std::size_t>(level)]) {
            out << "stars " << level << " " << found << "\n";
        }
    }
    out << "music " << (progress.musicOff ? "off" : "on") << "\n";
    out << "sound " << (progress.soundOff ? "off" : "on") << "\n";
    return out.str();
}

std::optional<Progress> Parse(std::string_view text, std::string* why) {
    std::istringstream in{std::string(text)};
    std::string line;
    if (!std::getline(in, line) || line != kHeader) {
        if (why) {
            *why = "the first line is not \"" + std::string(kHeader) + "\"";
        }
        return std::nullopt;
    }
    Progress progress;
    int number = 1;
    while (std::getline(in, line)) {
        ++number;
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) {
            continue;
        }
        bool good = false;
        if (key == "furthest") {
            good = (words >> progress.furthestLevel) && progress.furthestLevel >= 0 &&
                   progress.furthestLevel < Progress::kLevels;
        } else if (key == "stars") {
            std::int32_t level = -1, found = -1;
            good = (words >> level >> found) && level >= 0 && level < Progress::kLevels &&
                   found >= 0 && found < 1000;
            if (good) {
                progress.stars[static_cast<std::size_t>(level)] = found;
            }
        } else if (key == "music") {
            good = ReadSwitch(words, progress.musicOff);
        } else if (key == "sound") {
            good = ReadSwitch(words, progress.soundOff);
        }
        std::string rest;
        if (!good || (words >> rest)) {
            if (why) {
                *why = "line " + std::to_string(number) + " is not understood: \"" + line + "\"";
            }
            return std::nullopt;
        }
    }
    return progress;
}

Progress Load(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::string why = "it cannot be read";
    if (in) {
        if (std::optional<Progress> progress = Parse(text.str(), &why)) {
            return *progress;
        }
    }
    std::cerr << "Progress in " << path.string() << " not used (" << why << "); starting afresh\n";
    return {};
}

bool Save(const std::filesystem::path& path, const Progress& progress) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::string why;
    if (SafeFile::Replace(path, Format(progress), &why)) {
        return true;
    }
    std::cerr << "Progress not saved: " << path.string() << " cannot be written (" << why << ")\n";
    return false;
}

}  // namespace ProgressFile

std::int32_t StarsInLevelFile(const std::string& levelName) {
    std::ifstream in(Assets::PathOf(levelName));
    std::int32_t stars = 0;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("StarComponent")) {
            ++stars;
        }
    }
    return stars;
}

std::int32_t StarsInGame() {
    const auto& levels = LevelManager::LevelTable();
    return std::accumulate(
        levels.begin(), levels.end(), 0,
        [](std::int32_t sum, const std::string& name) { return sum + StarsInLevelFile(name); });
}

namespace ProgressKeeper {
namespace {

struct State {
    std::filesystem::path file;
    Progress progress;
    bool offerPending = false;
    std::int32_t visitLevel = -1;
    std::int32_t starsAtVisit = 0;
};

State& Keeper() {
    static State state;
    return state;
}

void SaveNow() {
    State& keeper = Keeper();
    if (!keeper.file.empty()) {
        ProgressFile::Save(keeper.file, keeper.progress);
    }
}

}  // namespace

void Enable(std::filesystem::path file) {
    State& keeper = Keeper();
    keeper = State{};
    keeper.progress = ProgressFile::Load(file);
    keeper.file = std::move(file);
    keeper.offerPending = keeper.progress.furthestLevel > kFirstPlayableLevel;
}

void Disable() {
    Keeper() = State{};
}

bool Enabled() {
    return !Keeper().file.empty();
}

const Progress& Current() {
    return Keeper().progress;
}

void LevelStarted(std::int32_t level, std::int32_t starsCommitted) {
    State& keeper = Keeper();
    if (!Enabled()) {
        return;
    }
    bool changed = false;
    // Moving on commits the stars found in the level left; a restart of the same level does not.
    if (level != keeper.visitLevel && keeper.visitLevel >= kFirstPlayableLevel &&
        keeper.visitLevel < Progress::kLevels) {
        std::int32_t& best = keeper.progress.stars[static_cast<std::size_t>(keeper.visitLevel)];
        const std::int32_t found = starsCommitted - keeper.starsAtVisit;
        if (found > best) {
            best = found;
            changed = true;
        }
    }
    if (level != keeper.visitLevel) {
        keeper.visitLevel = level;
        keeper.starsAtVisit = starsCommitted;
    }
    if (level > keeper.progress.furthestLevel && level >= kFirstPlayableLevel &&
        level < Progress::kLevels) {
        keeper.progress.furthestLevel = level;
        changed = true;
    }
    if (changed) {
        SaveNow();
    }
}

void MuteSwitchesChanged(bool musicOff, bool soundOff) {
    State& keeper = Keeper();
    if (!Enabled() ||
        (keeper.progress.musicOff == musicOff && keeper.progress.soundOff == soundOff)) {
        return;
    }
    keeper.progress.musicOff = musicOff;
    keeper.progress.soundOff = soundOff;
    SaveNow();
}

bool ContinueOffered() {
    return Keeper().offerPending;
}

std::int32_t TakeContinue() {
    State& keeper = Keeper();
    keeper.offerPending = false;
    const std::int32_t level =
        std::clamp(keeper.progress.furthestLevel, kFirstPlayableLevel, kLastContinuableLevel);
    StarCount = keeper.progress.StarsBefore(level);
    CommitStars();
    return level;
}

void DeclineContinue() {
    Keeper().offerPending = false;
}

}  // namespace ProgressKeeper
