// The progress file and its keeper beyond what the random runs of progress_property_test.cpp
// reach: a failed write, the Continue offer, found stars and best times over older files, a level
// chosen from the menu, and the level docs' star counts.
#include "gameplay/progress.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "gameplay/run_state.h"
#include "meta/assets.h"
#include "objects/level_manager.h"
#include "support/asset_folder.h"

namespace {

namespace fs = std::filesystem;

class ProgressTest : public ::testing::Test {
protected:
    ~ProgressTest() override {
        ProgressKeeper::Disable();
        BeginNewGame();
    }
    void Write(const std::string& text) { assets.Write("progress", text); }

    testing_support::TempAssets assets;
    testing_support::CapturedDiagnostics diagnostics;
    fs::path file = assets.Folder() / "progress";
};

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

TEST_F(ProgressTest, ContinueIsOfferedOnceAndBringsBackTheStarsFoundBeforeTheLevel) {
    ProgressKeeper::Enable(file);
    EXPECT_FALSE(ProgressKeeper::ContinueOffered()) << "a first launch plays as always";
    Write("vorl progress 1\nfurthest 4\nstars 2 1\nstars 3 2\nstars 4 1\n");
    ProgressKeeper::Enable(file);
    ASSERT_TRUE(ProgressKeeper::ContinueOffered());
    BeginNewGame();
    EXPECT_EQ(ProgressKeeper::TakeContinue(), 4);
    EXPECT_EQ(StarCount, 3) << "the stars found before level 4 count again";
    EXPECT_FALSE(ProgressKeeper::ContinueOffered()) << "offered once a run";
}

TEST_F(ProgressTest, WhichStarsAndBestTimesAreKeptAndAnOlderFileStillCounts) {
    // An older file: counts only. Its counts stand, and a mask with fewer stars takes nothing; a
    // count below the stars a mask says were found follows the mask.
    Write("vorl progress 1\nfurthest 6\nstars 3 2\nstars 4 1\nfound 2 5\n");
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
    EXPECT_EQ(kept.stars[2], 2);
    EXPECT_EQ(kept.found[5], 0b11u);
    EXPECT_EQ(kept.bestSteps[5], 700);
    EXPECT_EQ(kept.bestRunSteps, 50000);
    // The lines an older reader does not know it keeps as they are, and gives back.
    const std::string text = assets.Read("progress");
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

TEST_F(ProgressTest, WithoutAFileNothingIsKept) {
    ProgressKeeper::LevelStarted(6, 0);
    EXPECT_FALSE(ProgressKeeper::Enabled());
    EXPECT_EQ(ProgressKeeper::Current().furthestLevel, 0);
    EXPECT_FALSE(fs::exists(file));
}

// docs/levels.md tells players and designers how many stars each level holds; it must say what
// the level files hold.
TEST(LevelDocs, StarCountsMatchTheLevelFiles) {
    std::ifstream doc(VORL_SOURCE_DIR "/docs/levels.md");
    ASSERT_TRUE(doc) << "docs/levels.md missing";
    const Assets::Folders previous = Assets::Current();
    Assets::SetRoot(VORL_SOURCE_DIR "/assets");
    std::string all;
    std::int32_t total = 0;
    int rows = 0;
    // | # | Level | Stars | What it teaches |
    const std::regex row(R"(^\| *[0-9]+ *\| *(level_\w+) *\| *([0-9]*) *\|)");
    for (std::string line; std::getline(doc, line); all += line + "\n") {
        std::smatch cells;
        if (std::regex_search(line, cells, row)) {
            const std::int32_t stars = StarsInLevelFile(cells[1].str());
            EXPECT_EQ(cells[2].length() == 0 ? 0 : std::stoi(cells[2].str()), stars) << line;
            total += stars;
            ++rows;
        }
    }
    EXPECT_EQ(rows, LevelManager::kLevelCount - 2)
        << "a row for every level after the title screens";
    EXPECT_EQ(total, StarsInGame());
    Assets::Use(previous);
    EXPECT_NE(all.find(std::to_string(total) + " stars are"), std::string::npos)
        << "the introduction's total should say " << total;
}

}  // namespace
