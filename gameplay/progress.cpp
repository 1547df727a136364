#include "gameplay/progress.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <numeric>
#include <sstream>
#include <system_error>

#include "core/messaging.h"
#include "gameplay/run_state.h"
#include "meta/assets.h"
#include "meta/data_diagnostics.h"
#include "meta/safe_file.h"
#include "objects/level_manager.h"

namespace {

constexpr std::string_view kHeaderStart = "vorl progress ";
// Version 2 added the check line; a version 1 file (no check) is still read.
constexpr int kVersion = 2;
constexpr std::string_view kCheckKey = "check ";
constexpr std::int32_t kFirstPlayableLevel = 2;
// The ending: a player who reached the final screen continues with the ending again.
constexpr std::int32_t kLastContinuableLevel = 19;
// A year of play at 60 steps a second: more is a damaged number.
constexpr std::int64_t kMostSteps = 60ll * 60 * 60 * 24 * 366;

// Keeps the count at least the stars the level knows were found.
void CountFound(Progress& progress, std::size_t level) {
    progress.stars[level] = std::max(
        progress.stars[level], static_cast<std::int32_t>(std::popcount(progress.found[level])));
}

bool ReadSwitch(std::istringstream& words, bool& off) {
    std::string state;
    if (!(words >> state) || (state != "on" && state != "off")) {
        return false;
    }
    off = state == "off";
    return true;
}

// 32-bit FNV-1a, as eight hex digits.
std::string CheckOf(std::string_view text) {
    std::uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", hash);
    return digits;
}

// Whether `line` is a line this version knows, read into `progress`.
bool ReadKnownLine(const std::string& line, Progress& progress) {
    std::istringstream words(line);
    std::string key;
    words >> key;
    Progress read = progress;
    bool good = false;
    if (key == "furthest") {
        good = (words >> read.furthestLevel) && read.furthestLevel >= 0 &&
               read.furthestLevel < Progress::kLevels;
    } else if (key == "stars") {
        std::int32_t level = -1, found = -1;
        good = (words >> level >> found) && level >= 0 && level < Progress::kLevels && found >= 0 &&
               found < 1000;
        if (good) {
            read.stars[static_cast<std::size_t>(level)] = found;
        }
    } else if (key == "found") {
        std::int32_t level = -1;
        std::int64_t mask = -1;
        good = (words >> level >> mask) && level >= 0 && level < Progress::kLevels && mask >= 0 &&
               mask <= 0xFFFFFFFFll;
        if (good) {
            read.found[static_cast<std::size_t>(level)] = static_cast<std::uint32_t>(mask);
        }
    } else if (key == "best") {
        std::int32_t level = -1;
        std::int64_t steps = -1;
        good = (words >> level >> steps) && level >= 0 && level < Progress::kLevels && steps > 0 &&
               steps < kMostSteps;
        if (good) {
            read.bestSteps[static_cast<std::size_t>(level)] = steps;
        }
    } else if (key == "bestrun") {
        good =
            (words >> read.bestRunSteps) && read.bestRunSteps > 0 && read.bestRunSteps < kMostSteps;
    } else if (key == "music" || key == "sound") {
        good = ReadSwitch(words, key == "music" ? read.musicOff : read.soundOff);
    }
    std::string rest;
    if (!good || (words >> rest)) {
        return false;
    }
    progress = std::move(read);
    return true;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    return date;
}

// Renames `path` to a free "<path>.unreadable-<date>[-n]"; empty when it cannot.
std::filesystem::path MoveAside(const std::filesystem::path& path) {
    const std::string stem = path.string() + std::string(ProgressFile::kUnreadableMark) + Today();
    std::error_code error;
    for (int n = 1; n < 1000; ++n) {
        const std::filesystem::path aside = n == 1 ? stem : stem + "-" + std::to_string(n);
        if (std::filesystem::exists(aside, error) || error) {
            continue;
        }
        // A hard link never replaces what is there, so a name taken meanwhile is not lost.
        std::filesystem::create_hard_link(path, aside, error);
        if (!error) {
            std::filesystem::remove(path, error);
            return aside;
        }
        if (error == std::errc::file_exists) {
            continue;
        }
        // No hard links here: a plain rename, after the check above.
        std::filesystem::rename(path, aside, error);
        return error ? std::filesystem::path{} : aside;
    }
    return {};
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
    out << kHeaderStart << kVersion << "\nfurthest " << progress.furthestLevel << "\n";
    for (int level = 0; level < Progress::kLevels; ++level) {
        if (const std::int32_t found = progress.stars[static_cast<std::size_t>(level)]) {
            out << "stars " << level << " " << found << "\n";
        }
    }
    for (int level = 0; level < Progress::kLevels; ++level) {
        if (const std::uint32_t mask = progress.found[static_cast<std::size_t>(level)]) {
            out << "found " << level << " " << mask << "\n";
        }
    }
    for (int level = 0; level < Progress::kLevels; ++level) {
        if (const std::int64_t steps = progress.bestSteps[static_cast<std::size_t>(level)]) {
            out << "best " << level << " " << steps << "\n";
        }
    }
    if (progress.bestRunSteps > 0) {
        out << "bestrun " << progress.bestRunSteps << "\n";
    }
    out << "music " << (progress.musicOff ? "off" : "on") << "\n";
    out << "sound " << (progress.soundOff ? "off" : "on") << "\n";
    for (const std::string& line : progress.keptLines) {
        out << line << "\n";
    }
    std::string text = out.str();
    return text + std::string(kCheckKey) + CheckOf(text) + "\n";
}

std::optional<Progress> Parse(std::string_view text, std::string* why) {
    const auto fail = [why](std::string reason) -> std::optional<Progress> {
        if (why) {
            *why = std::move(reason);
        }
        return std::nullopt;
    };
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\r' && c != '\t') || byte == 0x7F) {
            return fail("it holds bytes that are not text");
        }
    }
    const std::size_t headerEnd = std::min(text.find('\n'), text.size());
    const std::string_view header = text.substr(0, headerEnd);
    int version = 0;
    const std::string_view number = header.substr(std::min(kHeaderStart.size(), header.size()));
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), version);
    if (!header.starts_with(kHeaderStart) || error != std::errc{} ||
        end != number.data() + number.size() || version < 1) {
        return fail("the first line is not \"" + std::string(kHeaderStart) + "<version>\"");
    }
    // The check line is the last; it covers every byte before it.
    std::string_view body = text;
    const std::size_t checkAt = text.rfind("\n" + std::string(kCheckKey));
    if (checkAt != std::string_view::npos) {
        body = text.substr(0, checkAt + 1);
        const std::string_view check = text.substr(checkAt + 1 + kCheckKey.size());
        if (check != CheckOf(body) + "\n") {
            return fail("it is damaged: its check line does not match what it holds");
        }
    } else if (version >= 2) {
        return fail("it is damaged: its check line is missing");
    }
    Progress progress;
    std::istringstream in{
        std::string(body.substr(headerEnd == text.size() ? headerEnd : headerEnd + 1))};
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        if (!ReadKnownLine(line, progress)) {
            progress.keptLines.push_back(line);
        }
    }
    for (std::size_t level = 0; level < Progress::kLevels; ++level) {
        CountFound(progress, level);
    }
    return progress;
}

Progress Load(const std::filesystem::path& path, Trouble* trouble) {
    std::error_code error;
    if (!std::filesystem::exists(path, error) && !error) {
        return {};
    }
    std::string text;
    std::string why;
    if (!SafeFile::ReadAll(path, &text, &why)) {
        // Not damaged as far as we know: it stays where it is, and nothing is written over it.
        const std::string notice = "Your saved progress could not be read (" + why +
                                   "). It is left as it is and nothing is saved this time.";
        DataDiagnostics::Report(path.string(), 0, "progress not read (" + why + "); not saving");
        if (trouble) {
            *trouble = {notice, {}};
        }
        return {};
    }
    if (std::optional<Progress> progress = Parse(text, &why)) {
        return *progress;
    }
    const std::filesystem::path aside = MoveAside(path);
    std::string notice = "Your saved progress could not be read.\n";
    if (aside.empty()) {
        notice += "It could not be moved aside, so nothing is saved this time.";
        DataDiagnostics::Report(path.string(), 0,
                                "progress not used (" + why + "); it could not be moved aside");
    } else {
        notice += "It is kept as " + aside.filename().string() + "; a new game begins.";
        DataDiagnostics::Report(path.string(), 0,
                                "progress not used (" + why + "); kept as " + aside.string());
    }
    if (trouble) {
        *trouble = {notice, aside};
    }
    return {};
}

bool Save(const std::filesystem::path& path, const Progress& progress) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::string why;
    if (SafeFile::Replace(path, Format(progress), &why)) {
        return true;
    }
    DataDiagnostics::Report(path.string(), 0,
                            "progress not saved: it cannot be written (" + why + ")");
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
    // Said to the player before the file is written again.
    std::string notice;
    // Saves wait for the notice to be seen; `never` when the file could not be moved aside.
    bool savesHeld = false;
    bool savesNever = false;
    bool changedWhileHeld = false;
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
    if (keeper.file.empty() || keeper.savesNever) {
        return;
    }
    if (keeper.savesHeld) {
        keeper.changedWhileHeld = true;
        return;
    }
    ProgressFile::Save(keeper.file, keeper.progress);
}

// Whether the level's stars grew by `count` found in one visit or by the stars `taken`.
bool RecordFound(std::int32_t level, std::int32_t count, std::uint32_t taken) {
    Progress& progress = Keeper().progress;
    const auto at = static_cast<std::size_t>(level);
    const Progress before = progress;
    progress.found[at] |= taken;
    progress.stars[at] = std::max(progress.stars[at], count);
    CountFound(progress, at);
    return progress.found[at] != before.found[at] || progress.stars[at] != before.stars[at];
}

bool Playable(std::int32_t level) {
    return level >= kFirstPlayableLevel && level < Progress::kLevels;
}

}  // namespace

void Enable(std::filesystem::path file) {
    State& keeper = Keeper();
    keeper = State{};
    ProgressFile::Trouble trouble;
    keeper.progress = ProgressFile::Load(file, &trouble);
    keeper.notice = trouble.notice;
    keeper.savesHeld = !trouble.notice.empty();
    keeper.savesNever = keeper.savesHeld && trouble.keptAs.empty();
    keeper.file = std::move(file);
    keeper.offerPending = keeper.progress.furthestLevel > kFirstPlayableLevel;
}

const std::string& Notice() {
    return Keeper().notice;
}

void NoticeSeen() {
    State& keeper = Keeper();
    keeper.notice.clear();
    if (keeper.savesHeld) {
        keeper.savesHeld = false;
        if (keeper.changedWhileHeld) {
            SaveNow();
        }
    }
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

void LevelStarted(std::int32_t level, std::int32_t starsCommitted, std::uint32_t takenInLevelLeft) {
    State& keeper = Keeper();
    if (!Enabled()) {
        return;
    }
    bool changed = false;
    // Moving on commits the stars found in the level left; a restart of the same level does not.
    if (level != keeper.visitLevel && keeper.visitLevel >= kFirstPlayableLevel &&
        keeper.visitLevel < Progress::kLevels) {
        changed =
            RecordFound(keeper.visitLevel, starsCommitted - keeper.starsAtVisit, takenInLevelLeft);
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

void LevelWon(std::int32_t level, std::int64_t steps) {
    if (!Enabled() || !Playable(level) || steps <= 0) {
        return;
    }
    std::int64_t& best = Keeper().progress.bestSteps[static_cast<std::size_t>(level)];
    if (best == 0 || steps < best) {
        best = steps;
        SaveNow();
    }
}

void RunFinished(std::int64_t steps) {
    std::int64_t& best = Keeper().progress.bestRunSteps;
    if (Enabled() && steps > 0 && (best == 0 || steps < best)) {
        best = steps;
        SaveNow();
    }
}

void ChooseLevel(std::int32_t level, std::uint32_t takenHere) {
    State& keeper = Keeper();
    if (Enabled() && Playable(keeper.visitLevel) &&
        RecordFound(keeper.visitLevel, std::popcount(takenHere), takenHere)) {
        SaveNow();
    }
    // The count of the visit left is settled here; the level chosen starts a visit of its own.
    keeper.visitLevel = -1;
    keeper.offerPending = false;
    StarCount = keeper.progress.StarsBefore(level);
    CommitStars();
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
