#include "gameplay/run_state.h"

#include <algorithm>
#include <set>
#include <string>

std::int32_t StarCount = 0;
std::int32_t StarCountAtLevelStart = 0;
std::uint32_t StarsTakenHere = 0;
std::uint32_t StarsTakenInLevelLeft = 0;

namespace {

std::set<std::string, std::less<>> claimed;
std::int32_t attemptLevel = -1;

}  // namespace

void TakeStar(int index) {
    ++StarCount;
    StarsTakenHere |= 1u << std::clamp(index, 0, 31);
}

void CommitStars() {
    StarCountAtLevelStart = StarCount;
}

void RestoreStars() {
    StarCount = StarCountAtLevelStart;
}

void SettleStarsAtLevelStart(std::int32_t level) {
    if (level == attemptLevel) {
        RestoreStars();
    } else {
        CommitStars();
        StarsTakenInLevelLeft = StarsTakenHere;
        attemptLevel = level;
    }
    StarsTakenHere = 0;
}

RunSnapshot SaveRun() {
    return {StarCount, StarCountAtLevelStart, StarsTakenHere, StarsTakenInLevelLeft, attemptLevel,
            claimed};
}

void RestoreRun(const RunSnapshot& snapshot) {
    StarCount = snapshot.starCount;
    StarCountAtLevelStart = snapshot.starCountAtLevelStart;
    StarsTakenHere = snapshot.starsTakenHere;
    StarsTakenInLevelLeft = snapshot.starsTakenInLevelLeft;
    attemptLevel = snapshot.attemptLevel;
    claimed = snapshot.claimed;
}

void BeginNewGame() {
    attemptLevel = -1;
    StarCount = 0;
    StarCountAtLevelStart = 0;
    StarsTakenHere = StarsTakenInLevelLeft = 0;
    claimed.clear();
}

bool ClaimOncePerGame(std::string_view key) {
    return claimed.emplace(key).second;
}
