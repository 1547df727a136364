// The progress file: what it keeps, how it survives bad files and failed writes, and how the
// keeper follows a play (furthest level, stars per level, the mute switches, the Continue offer).
#include "gameplay/progress.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>

#include "gameplay/run_state.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "support/asset_folder.h"

namespace {

namespace fs = std::filesystem;

class ProgressTest : public ::testing::Test {
protected:
    ProgressTest()
        : folder(fs::temp_directory_path() / ("vorl-progress-" + std::to_string(getpid()))) {
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    ~ProgressTest() override {
        ProgressKeeper::Disable();
        BeginNewGame();
        fs::remove_all(folder);
    }
    void Write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // The files now in the folder, by name.
    std::vector<std::string> Files() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    testing_support::CapturedDiagnostics diagnostics;
    fs::path folder;
    fs::path file = folder / "progress";
};

TEST_F(ProgressTest, SavedProgressReadsBackTheSame) {
    Progress progress;
    progress.furthestLevel = 7;
    progress.stars[2] = 1;
    progress.stars[6] = 2;
    progress.musicOff = true;
    ASSERT_TRUE(ProgressFile::Save(folder / "deeper" / "progress", progress));
    EXPECT_EQ(ProgressFile::Load(folder / "deeper" / "progress"), progress);
    EXPECT_EQ(progress.StarsBefore(6), 1);
    EXPECT_EQ(progress.StarsFound(), 3);
    EXPECT_FALSE(fs::exists(folder / "deeper" / ("progress.saving-" + std::to_string(getpid()))));
}

TEST_F(ProgressTest, LinesOfANewerVersionAreKeptAndWrittenBack) {
    EXPECT_EQ(ProgressFile::Load(file), Progress{}) << "no file: a first launch";
    // The first version's file, with what a later version might add or change.
    Write(
        "vorl progress 1\nfurthest 5\ntimer 123\nstars 4 2\nstars 30 1\nmusic maybe\n"
        "furthest 4 5\nmusic off\n");
    Progress read = ProgressFile::Load(file);
    EXPECT_EQ(read.furthestLevel, 5);
    EXPECT_EQ(read.stars[4], 2);
    EXPECT_TRUE(read.musicOff);
    const std::vector<std::string> kept = {"timer 123", "stars 30 1", "music maybe",
                                           "furthest 4 5"};
    EXPECT_EQ(read.keptLines, kept);
    read.stars[6] = 1;
    ASSERT_TRUE(ProgressFile::Save(file, read));
    EXPECT_EQ(ProgressFile::Load(file), read) << Read(file);
    EXPECT_TRUE(diagnostics.Lines().empty());
    EXPECT_EQ(Files(), std::vector<std::string>{"progress"});
}

TEST_F(ProgressTest, AFileThatCannotBeReadIsMovedAsideNeverOverwrittenAndReported) {
    Progress saved;
    saved.furthestLevel = 6;
    saved.stars[3] = 2;
    std::string good = ProgressFile::Format(saved);
    std::string flipped = good;
    flipped[good.find("furthest 6") + 9] = '9';
    const std::string cases[] = {
        "",
        "not a progress file\n",
        std::string("vorl progress 1\nfurthest 4\0\n", 28),
        "vorl progress 2\nfurthest 4\n",  // a later version's file without its check
        flipped,
        good.substr(0, good.size() - 3),
        good.substr(0, good.find("music")),
    };
    int n = 0;
    for (const std::string& text : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        Write(text);
        diagnostics.Clear();
        ProgressFile::Trouble trouble;
        EXPECT_EQ(ProgressFile::Load(file, &trouble), Progress{});
        ASSERT_EQ(diagnostics.Lines().size(), 1u);
        EXPECT_NE(diagnostics.Lines()[0].find(file.string()), std::string::npos);
        EXPECT_FALSE(fs::exists(file));
        ++n;
        const std::string aside = trouble.keptAs.filename().string();
        EXPECT_TRUE(aside.starts_with("progress.unreadable-")) << aside;
        EXPECT_EQ(Files().size(), static_cast<std::size_t>(n)) << "no earlier one replaced";
        EXPECT_EQ(Read(trouble.keptAs), text);
        EXPECT_NE(trouble.notice.find(aside), std::string::npos) << trouble.notice;
    }
}

TEST_F(ProgressTest, TheKeeperSavesNothingUntilTheNoticeOfADamagedFileIsSeen) {
    Write("garbage\n");
    ProgressKeeper::Enable(file);
    EXPECT_FALSE(ProgressKeeper::Notice().empty());
    ProgressKeeper::LevelStarted(2, 0);
    ProgressKeeper::LevelStarted(3, 0);
    EXPECT_FALSE(fs::exists(file)) << "held until the player has been told";
    ProgressKeeper::NoticeSeen();
    EXPECT_TRUE(ProgressKeeper::Notice().empty());
    EXPECT_EQ(ProgressFile::Load(file).furthestLevel, 3) << "the held change is saved then";
}

TEST_F(ProgressTest, AFailedSaveSaysSoAndLeavesTheOldFile) {
    Progress old;
    old.furthestLevel = 4;
    ASSERT_TRUE(ProgressFile::Save(file, old));
    // A folder where the temporary file would go: nothing can be written there, even by root.
    fs::create_directories(file.string() + ".saving-" + std::to_string(getpid()) + "/in-the-way");
    Progress newer;
    newer.furthestLevel = 9;
    EXPECT_FALSE(ProgressFile::Save(file, newer));
    ASSERT_EQ(diagnostics.Lines().size(), 1u);
    EXPECT_NE(diagnostics.Lines()[0].find("not saved"), std::string::npos);
    EXPECT_EQ(ProgressFile::Load(file), old);
}

TEST_F(ProgressTest, TheKeeperFollowsAPlayAndOffersContinueNextTime) {
    ProgressKeeper::Enable(file);
    EXPECT_FALSE(ProgressKeeper::ContinueOffered()) << "a first launch plays as always";
    BeginNewGame();
    ProgressKeeper::LevelStarted(1, 0);
    ProgressKeeper::LevelStarted(2, 0);
    StarCount = 1;  // the intro's star, committed on moving on
    CommitStars();
    ProgressKeeper::LevelStarted(3, StarCountAtLevelStart);
    StarCount = 2;  // picked up, then the level restarted by hand
    RestoreStars();
    ProgressKeeper::LevelStarted(3, StarCountAtLevelStart);
    StarCount = 3;
    CommitStars();
    ProgressKeeper::LevelStarted(4, StarCountAtLevelStart);
    ProgressKeeper::MuteSwitchesChanged(false, true);

    ProgressKeeper::Enable(file);  // the next launch
    const Progress& kept = ProgressKeeper::Current();
    EXPECT_EQ(kept.furthestLevel, 4);
    EXPECT_EQ(kept.stars[2], 1);
    EXPECT_EQ(kept.stars[3], 2);
    EXPECT_TRUE(kept.soundOff);
    EXPECT_FALSE(kept.musicOff);
    ASSERT_TRUE(ProgressKeeper::ContinueOffered());
    BeginNewGame();
    EXPECT_EQ(ProgressKeeper::TakeContinue(), 4);
    EXPECT_EQ(StarCount, 3) << "the stars found before level 4 count again";
    EXPECT_FALSE(ProgressKeeper::ContinueOffered()) << "offered once a run";
}

TEST_F(ProgressTest, WhichStarsAndBestTimesAreKeptAndAnOlderFileStillCounts) {
    // An older file: counts only. Its counts stand, and a mask with fewer stars takes nothing.
    Write("vorl progress 1\nfurthest 6\nstars 3 2\nstars 4 1\n");
    ProgressKeeper::Enable(file);
    BeginNewGame();
    ProgressKeeper::LevelStarted(4, 0);
    TakeStar(1);
    SettleStarsAtLevelStart(5);
    ProgressKeeper::LevelStarted(5, StarCountAtLevelStart, StarsTakenInLevelLeft);
    EXPECT_EQ(ProgressKeeper::Current().stars[4], 1) << "one star found, and one counted already";
    // Level 5 twice, one star each visit: two different stars add up; the same one does not.
    for (const int star : {0, 1, 1}) {
        TakeStar(star);
        SettleStarsAtLevelStart(6);
        ProgressKeeper::LevelStarted(6, StarCountAtLevelStart, StarsTakenInLevelLeft);
        SettleStarsAtLevelStart(5);
        ProgressKeeper::LevelStarted(5, StarCountAtLevelStart, StarsTakenInLevelLeft);
    }
    ProgressKeeper::LevelWon(5, 900);
    ProgressKeeper::LevelWon(5, 1200);
    ProgressKeeper::LevelWon(5, 700);
    ProgressKeeper::RunFinished(50000);
    ProgressKeeper::RunFinished(60000);

    const Progress kept = ProgressFile::Load(file);
    EXPECT_EQ(kept.stars[3], 2);
    EXPECT_EQ(kept.stars[5], 2);
    EXPECT_EQ(kept.found[5], 0b11u);
    EXPECT_EQ(kept.bestSteps[5], 700);
    EXPECT_EQ(kept.bestRunSteps, 50000);
    // The lines an older reader does not know it keeps as they are, and gives back.
    const std::string text = Read(file);
    EXPECT_NE(text.find("\nfound 5 3\nbest 5 700\nbestrun 50000\n"), std::string::npos) << text;
    EXPECT_EQ(ProgressFile::Parse(text), kept);
}

TEST_F(ProgressTest, ChoosingALevelCountsItsStarsOnceAndGoesOnWithTheStarsBefore) {
    Write("vorl progress 1\nfurthest 9\nstars 2 1\nstars 3 2\nstars 8 2\n");
    ProgressKeeper::Enable(file);
    BeginNewGame();
    SettleStarsAtLevelStart(8);
    ProgressKeeper::LevelStarted(8, StarCountAtLevelStart);
    TakeStar(0);
    ProgressKeeper::ChooseLevel(4, StarsTakenHere);
    EXPECT_EQ(StarCount, 3) << "the stars found before level 4";
    SettleStarsAtLevelStart(4);
    ProgressKeeper::LevelStarted(4, StarCountAtLevelStart, StarsTakenInLevelLeft);
    EXPECT_EQ(ProgressKeeper::Current().stars[8], 2) << "star 0 of level 8 is one of its two";
    EXPECT_EQ(ProgressKeeper::Current().found[8], 1u);
    TakeStar(1);
    SettleStarsAtLevelStart(5);
    ProgressKeeper::LevelStarted(5, StarCountAtLevelStart, StarsTakenInLevelLeft);
    EXPECT_EQ(ProgressKeeper::Current().stars[4], 1);
    EXPECT_EQ(StarCount, 4);
    EXPECT_EQ(ProgressKeeper::Current().StarsFound(), 6);
}

TEST_F(ProgressTest, DamagedNumbersOfTheNewLinesAreKeptAsUnknownLines) {
    Write(
        "vorl progress 1\nfound 3 -1\nfound 3 4294967296\nbest 3 0\nbestrun x\nfound 40 1\n"
        "best 4 12 13\nfound 3 5\n");
    const Progress read = ProgressFile::Load(file);
    EXPECT_EQ(read.keptLines.size(), 6u);
    EXPECT_EQ(read.found[3], 5u);
    EXPECT_EQ(read.stars[3], 2) << "the count follows the stars known to be found";
}

TEST_F(ProgressTest, WithoutAFileNothingIsKept) {
    ProgressKeeper::LevelStarted(6, 0);
    EXPECT_FALSE(ProgressKeeper::Enabled());
    EXPECT_EQ(ProgressKeeper::Current().furthestLevel, 0);
    EXPECT_FALSE(fs::exists(file));
}

// docs/levels.md tells players and designers how many stars each level holds; it must say what
// the level files hold.
TEST(LevelDocs, StarCountsMatchTheLevelFiles) {
    const Assets::Folders previous = Assets::Current();
    Assets::SetRoot(VORL_SOURCE_DIR "/assets");
    std::ifstream doc(VORL_SOURCE_DIR "/docs/levels.md");
    ASSERT_TRUE(doc) << "docs/levels.md missing";
    std::stringstream text;
    text << doc.rdbuf();
    const std::string all = text.str();
    std::int32_t total = 0;
    int rows = 0;
    std::istringstream lines(all);
    for (std::string line; std::getline(lines, line);) {
        // | # | Level | Stars | What it teaches |
        if (!line.starts_with("| ") || line.find(" level_") == std::string::npos) {
            continue;
        }
        std::vector<std::string> cells;
        std::istringstream row(line.substr(1));
        for (std::string cell; std::getline(row, cell, '|');) {
            cell.erase(0, cell.find_first_not_of(' '));
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
        }
        ASSERT_GE(cells.size(), 3u) << line;
        const std::string level = cells[1];
        const std::int32_t stars = StarsInLevelFile(level);
        const std::int32_t said = cells[2].empty() ? 0 : std::stoi(cells[2]);
        EXPECT_EQ(said, stars) << level;
        total += stars;
        ++rows;
    }
    EXPECT_EQ(rows, LevelManager::kLevelCount - 2)
        << "a row for every level after the title screens";
    EXPECT_EQ(total, StarsInGame());
    Assets::Use(previous);
    EXPECT_NE(all.find(std::to_string(total) + " stars are"), std::string::npos)
        << "the introduction's total should say " << total;
}

}  // namespace
