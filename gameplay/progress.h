// Progress: what the game keeps for a player between runs: the furthest level reached, the stars
// found in each level (how many, and which), the best time of each level and of a whole run, and
// the two mute switches. It lives in one small text file in the
// player's data folder, replaced whole through a temporary file and a rename, so an interrupted
// save leaves the old file. A missing file is a first launch. Lines the game does not know (a
// newer version's) are kept and written back. A file that cannot be read at all (not text, no
// header, its check line not matching what it holds) is moved aside as
// "progress.unreadable-<date>", never overwritten; the player is told on screen and on standard
// error, and nothing is saved until the notice has been shown.
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
#include <vector>

struct Progress {
    static constexpr int kLevels = 21;

    // Furthest playable level started (0 before any).
    std::int32_t furthestLevel = 0;
    // Stars found in each level: at least as many as `found` holds (a file from before `found`
    // only has the count).
    std::array<std::int32_t, kLevels> stars{};
    // Which stars of each level were found on any visit: bit i is the i-th star its file lists.
    std::array<std::uint32_t, kLevels> found{};
    // Fewest simulation steps from a level's start to its goal; 0 when never reached.
    std::array<std::int64_t, kLevels> bestSteps{};
    // Fewest steps of a run from the first level to the final screen; 0 when none.
    std::int64_t bestRunSteps = 0;
    bool musicOff = false;
    bool soundOff = false;
    // Lines this version does not understand, as they were read: written back after the rest.
    std::vector<std::string> keptLines;

    // Stars found in the levels before `level`.
    std::int32_t StarsBefore(std::int32_t level) const;
    std::int32_t StarsFound() const { return StarsBefore(kLevels); }
    bool operator==(const Progress&) const = default;
};

namespace ProgressFile {

inline constexpr const char* kFileName = "progress";
// Where an unreadable file goes: "<file>" + kUnreadableMark + "<yyyy-mm-dd>" (then "-2", "-3"...
// when that is taken).
inline constexpr std::string_view kUnreadableMark = ".unreadable-";

// Ends with a "check" line that covers every byte before it, so a damaged file is known.
std::string Format(const Progress& progress);
// Nothing when `text` cannot be read as a progress file; `why` (if given) then says why. A file
// of the first version has no check line.
std::optional<Progress> Parse(std::string_view text, std::string* why = nullptr);

// What became of a file that could not be used.
struct Trouble {
    // A sentence for the player; empty when the file was read (or there was none).
    std::string notice;
    // Where the damaged file now is; empty when it could not be moved (then nothing may be
    // written over it in this run).
    std::filesystem::path keptAs;
};

// A fresh Progress when `path` does not exist. A file that cannot be read is moved aside (see
// above) and reported in one line; `trouble` (if given) says what the player must be told.
Progress Load(const std::filesystem::path& path, Trouble* trouble = nullptr);
// Replaces `path` whole (its folder is made when missing). False, after one line, when it
// cannot be written; the old file is then unchanged.
bool Save(const std::filesystem::path& path, const Progress& progress);

}  // namespace ProgressFile

// Stars placed in the level file `levelName` (objects with a StarComponent).
std::int32_t StarsInLevelFile(const std::string& levelName);
// Stars placed in every level of the game.
std::int32_t StarsInGame();

namespace ProgressKeeper {

// Loads `file` and keeps progress there from now on. The mute switches it holds are an older
// version's: the settings (meta/settings.h) take them over once. When the file could not be read,
// nothing is saved until NoticeSeen(), and nothing at all in this run when the file could not be
// moved aside.
void Enable(std::filesystem::path file);
// What the player must be told about the file before it is written again; empty when nothing.
const std::string& Notice();
// The notice has been on screen: saves may go ahead (the changes held so far are saved now).
void NoticeSeen();
// Forgets everything and keeps nothing (tests).
void Disable();
bool Enabled();
const Progress& Current();

// A level started; `starsCommitted` is the game's count of stars committed on entering it, and
// `takenInLevelLeft` which stars of the level left were taken (bits as Progress::found).
void LevelStarted(std::int32_t level, std::int32_t starsCommitted,
                  std::uint32_t takenInLevelLeft = 0);
// The goal of `level` was reached `steps` simulation steps after the level started.
void LevelWon(std::int32_t level, std::int64_t steps);
// A run from the first level reached the final screen in `steps`.
void RunFinished(std::int64_t steps);
// The player chose `level` from the level select while `takenHere` (bits) of the level being
// played were taken: those count as found, and the game goes on from `level` with the stars
// found before it, as Continue does.
void ChooseLevel(std::int32_t level, std::uint32_t takenHere);
void MuteSwitchesChanged(bool musicOff, bool soundOff);

// Whether the controller screen should offer "Continue": once per run, to a player who got
// beyond the first level.
bool ContinueOffered();
// Takes the offer: the stars found before the furthest level count again; returns that level.
std::int32_t TakeContinue();
// Declines it: a new game from the first level.
void DeclineContinue();

}  // namespace ProgressKeeper
