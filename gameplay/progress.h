// Progress: what the game keeps for a player between runs: the furthest level reached, the most
// stars found in each level, and the two mute switches. It lives in one small text file in the
// player's data folder, replaced whole through a temporary file and a rename, so an interrupted
// save leaves the old file. A missing file is a first launch; an unreadable or corrupt one gets
// one line on standard error and a fresh start, never a crash.
//
// ProgressKeeper is the game's one copy, switched on by the game at start-up (tests and tools
// keep nothing). It follows the levels and switches as the UISystem reports them and saves on
// each change; it also decides whether the controller screen offers "Continue".
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct Progress {
    static constexpr int kLevels = 21;

    // Furthest playable level started (0 before any).
    std::int32_t furthestLevel = 0;
    // Most stars found in each level in one visit.
    std::array<std::int32_t, kLevels> stars{};
    bool musicOff = false;
    bool soundOff = false;

    // Stars found in the levels before `level`.
    std::int32_t StarsBefore(std::int32_t level) const;
    std::int32_t StarsFound() const { return StarsBefore(kLevels); }
    bool operator==(const Progress&) const = default;
};

namespace ProgressFile {

inline constexpr const char* kFileName = "progress";

std::string Format(const Progress& progress);
// Nothing when `text` is not a progress file; `why` (if given) then says what is wrong.
std::optional<Progress> Parse(std::string_view text, std::string* why = nullptr);
// A fresh Progress when `path` does not exist; also when it cannot be read or is corrupt, after
// one line on standard error.
Progress Load(const std::filesystem::path& path);
// Replaces `path` whole (its folder is made when missing). False, after one line on standard
// error, when it cannot be written; the old file is then unchanged.
bool Save(const std::filesystem::path& path, const Progress& progress);

}  // namespace ProgressFile

// Stars placed in the level file `levelName` (objects with a StarComponent).
std::int32_t StarsInLevelFile(const std::string& levelName);
// Stars placed in every level of the game.
std::int32_t StarsInGame();

namespace ProgressKeeper {

// Loads `file` and keeps progress there from now on. The mute switches it holds are an older
// version's: the settings (meta/settings.h) take them over once.
void Enable(std::filesystem::path file);
// Forgets everything and keeps nothing (tests).
void Disable();
bool Enabled();
const Progress& Current();

// A level started; `starsCommitted` is the game's count of stars committed on entering it.
void LevelStarted(std::int32_t level, std::int32_t starsCommitted);
void MuteSwitchesChanged(bool musicOff, bool soundOff);

// Whether the controller screen should offer "Continue": once per run, to a player who got
// beyond the first level.
bool ContinueOffered();
// Takes the offer: the stars found before the furthest level count again; returns that level.
std::int32_t TakeContinue();
// Declines it: a new game from the first level.
void DeclineContinue();

}  // namespace ProgressKeeper
