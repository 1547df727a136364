// What one play of the game carries from level to level: the stars the player has collected so
// far, how many it had when it entered the current level, and which once-per-game pieces have
// acted.
//
// Stars add to StarCount as they are picked up. Every level start settles the count: starting
// another level commits it, starting the same level again (a fall, R, the pause menu's reload)
// gives back the stars of the attempt that ended, as the level puts them back; so each star
// counts once however often it is taken. The ending spends them. A new game (the
// controller-preference screen, which every play passes through, also after "Restart Game")
// starts from no stars and re-arms the pieces that act once per game. Plain globals: the game
// has one player and one thread.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>

extern std::int32_t StarCount;
extern std::int32_t StarCountAtLevelStart;
// Which stars of the current level this attempt took: bit i is the i-th star its file lists
// (stars past the 32nd share the last bit).
extern std::uint32_t StarsTakenHere;
// What StarsTakenHere held when another level last started.
extern std::uint32_t StarsTakenInLevelLeft;

// The level's `index`-th star was taken: one more in the count and its bit.
void TakeStar(int index);

// StarCountAtLevelStart = StarCount.
void CommitStars();
// StarCount = StarCountAtLevelStart.
void RestoreStars();
// A level starts: the same level as the attempt before restores the stars, another commits them
// (and moves StarsTakenHere to StarsTakenInLevelLeft).
void SettleStarsAtLevelStart(std::int32_t level);

// All of the above and the once-per-game claims, kept aside while a replay plays and put back
// after it, so that watching one changes nothing of the player's own play.
struct RunSnapshot {
    std::int32_t starCount = 0;
    std::int32_t starCountAtLevelStart = 0;
    std::uint32_t starsTakenHere = 0;
    std::uint32_t starsTakenInLevelLeft = 0;
    std::int32_t attemptLevel = -1;
    std::set<std::string, std::less<>> claimed;
};
RunSnapshot SaveRun();
void RestoreRun(const RunSnapshot& snapshot);

// Starts a new play: no stars, every once-per-game piece armed again. Also the state at program
// start, for tests and tools that run many engines in one process.
void BeginNewGame();
// True the first time it is asked for `key` in the current play, false after that: for the
// pieces that act once per game.
bool ClaimOncePerGame(std::string_view key);
