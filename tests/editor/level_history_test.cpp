// Undo and redo keep only what each step changed: every state comes back byte for byte, and a
// long session on a large level costs the changes, not copies of the level.
#include "editor/level_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(LevelHistoryTest, EveryKindOfChangeUndoesAndRedoesByteForByte) {
    const std::vector<std::string> states = {
        "",
        "A\n{\n}\n",
        "A\n{\n}\nB\n{\n}\n",          // appended
        "B\n{\n}\n",                   // the first removed
        "B\n{\nTransform2D 1 2\n}\n",  // a middle grown
        "B\n{\nT\n}\n",                // and shrunk
        "C\n{\nT\n}\n",                // the first byte
        "C\n{\nT\n}\n\n",              // the last byte
        "completely different",
        "",
    };
    LevelHistory history;
    history.Reset(states.front());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.Record(states[i])) << i;
    }
    EXPECT_FALSE(history.Record(states.back())) << "an unchanged level is no step";
    for (std::size_t i = states.size() - 1; i-- > 0;) {
        EXPECT_EQ(history.Undo(), states[i]) << i;
    }
    EXPECT_FALSE(history.Undo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        EXPECT_EQ(history.Redo(), states[i]) << i;
    }
    EXPECT_FALSE(history.Redo());
}

TEST(LevelHistoryTest, ANewEditAfterUndoDropsTheRedoAndItsBytes) {
    LevelHistory history;
    history.Reset("one");
    history.Record("one two");
    history.Record("one two three");
    history.Undo();
    history.Undo();
    history.Record("one four");
    EXPECT_EQ(history.RedoSteps(), 0u);
    EXPECT_EQ(history.UndoSteps(), 1u);
    EXPECT_EQ(history.StepBytes(), std::string(" four").size());
    EXPECT_EQ(history.Undo(), "one");
}

TEST(LevelHistoryTest, TwoHundredEditsOnTenThousandObjectsCostTheirChangesOnly) {
    // A level's text of ten thousand crates, the way a save writes them.
    std::string level;
    for (int i = 0; i < 10000; ++i) {
        level += "Crate\n{\nTransform2D " + std::to_string(i * 64) +
                 ".000000000 -386.000000000 3.000000000 32.000000000 32.000000000 0.000000000\n"
                 "BoxCollider2D mHalfSize 32.000000000 32.000000000 mHollow false \n}\n";
    }
    LevelHistory history;
    history.Reset(level);
    const std::string original = level;
    for (int edit = 0; edit < 200; ++edit) {
        // A drag of one object: its x changes in place.
        const std::size_t at = level.find("Transform2D ", level.size() / 200 * edit);
        level[at + 12] = level[at + 12] == '9' ? '8' : '9';
        ASSERT_TRUE(history.Record(level));
    }
    EXPECT_LT(history.StepBytes(), 200u * 64u) << "a copy of the level is " << level.size();
    while (history.Undo()) {
    }
    EXPECT_EQ(history.Current(), original);
}

TEST(LevelHistoryTest, TheOldestStepsGoBeyondTheStepAndByteLimits) {
    constexpr std::size_t kCap = 1000;
    LevelHistory history(kCap);
    history.Reset("");
    for (std::size_t i = 0; i < LevelHistory::kMaxSteps + 5; ++i) {
        history.Record(std::to_string(i));
    }
    EXPECT_EQ(history.UndoSteps(), LevelHistory::kMaxSteps);

    const std::string large(kCap / 2 + 1, 'x');
    history.Record(large);        // a step of large's size...
    history.Record(large + "y");  // ...one of a byte...
    history.Record("z");          // ...and one of both sides
    EXPECT_LE(history.StepBytes(), kCap);
    EXPECT_EQ(history.UndoSteps(), 2u) << "every older step went";
    EXPECT_EQ(history.Undo(), large + "y");
    EXPECT_EQ(history.Undo(), large);
    EXPECT_FALSE(history.Undo());
}

}  // namespace
