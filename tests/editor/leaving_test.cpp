// Leaving the editor never loses work: every way out (Escape, Ctrl+Q, F6, the window's close
// button) asks first when the level has unsaved changes, each answer does what it says, and the
// autosave kept meanwhile comes back at the next F5.
#include <gtest/gtest.h>

#include <functional>

#include "core/main_loop.h"
#include "core/messaging.h"
#include "editor/autosave.h"
#include "editor/level_editor.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "objects/level_objects.h"
#include "support/editor_session.h"

namespace {

using testing_support::EditorSession;

struct Way {
    const char* name;
    std::function<void(EditorSession&)> go;
    // Where the designer is once gone.
    std::function<bool()> gone;
};

const Way kWays[] = {
    {"Escape", [](EditorSession& s) { s.Tap(VirtualKey::Escape); },
     [] { return LevelManager::GetCurrentLevel() == 0; }},
    {"CtrlQ", [](EditorSession& s) { s.Chord('Q'); },
     [] { return LevelManager::GetCurrentLevel() == 0; }},
    {"F6", [](EditorSession& s) { s.Tap(VirtualKey::F6); },
     [] { return LevelManager::GetCurrentLevel() == LevelManager::kArchetypeEditor; }},
    {"CloseButton", [](EditorSession& s) { s.CloseWindow(); }, [] { return !isRunning; }},
};

class LeavingTest : public ::testing::TestWithParam<Way> {
protected:
    LeavingTest() : session({"Crate: RigidBody2D mass 1.0"}) {
        session.Assets().Write("level_Mine", "Rock\n{\nTransform2D 5 6 1 10 10 0\n}\n");
        session.EnterEditor();
        session.Chord('L');
        session.PressButton("Load Level");
        session.Panels().Edit("Level Name", "level_Mine");
    }
    void LoadMine() {
        session.Chord('L');
        session.Panels().Edit("Level Name", "level_Mine");
        session.PressButton(LevelEditor::kLoadLevel);
        session.Frames(2);
    }
    void Edit() {
        session.Click(-1000000, 420);  // a crate from the palette
        session.Frames(2);
    }
    void Leave() {
        GetParam().go(session);
        session.Frames(3);
    }
    bool Asking() {
        return session.Panels().HasPanel() &&
               session.Panels().Title() == LevelEditor::kUnsavedChanges;
    }
    EditorSession session;
};

TEST_P(LeavingTest, WithoutChangesLeavesAtOnce) {
    LoadMine();
    Leave();
    EXPECT_FALSE(Asking());
    EXPECT_TRUE(GetParam().gone());
}

TEST_P(LeavingTest, CancelStaysWithTheWorkAndEscapeAnswersCancelToo) {
    LoadMine();
    Edit();
    const std::string work = session.LevelText();
    Leave();
    ASSERT_TRUE(Asking());
    EXPECT_FALSE(GetParam().gone());
    session.PressButton(LevelEditor::kCancel);
    EXPECT_FALSE(Asking());
    EXPECT_TRUE(session.Editor().update);
    EXPECT_EQ(session.LevelText(), work);
    Leave();
    ASSERT_TRUE(Asking());
    session.Tap(VirtualKey::Escape);
    EXPECT_FALSE(Asking());
    EXPECT_EQ(session.LevelText(), work);
    isRunning = true;
}

TEST_P(LeavingTest, SaveWritesTheLevelThenGoes) {
    LoadMine();
    Edit();
    const std::string work = session.LevelText();
    Leave();
    ASSERT_TRUE(Asking());
    session.PressButton(LevelEditor::kSave);
    session.Frames(3);
    EXPECT_EQ(session.Assets().Read("level_Mine"), work);
    EXPECT_FALSE(session.Assets().Exists(Autosave::kFileName)) << "saved: nothing to restore";
    EXPECT_TRUE(GetParam().gone());
    isRunning = true;
}

TEST_P(LeavingTest, DiscardGoesAndTheNextF5OffersTheAutosave) {
    LoadMine();
    Edit();
    const std::string work = session.LevelText();
    Leave();
    session.PressButton(LevelEditor::kDiscard);
    session.Frames(3);
    EXPECT_TRUE(GetParam().gone());
    EXPECT_NE(session.Assets().Read("level_Mine"), work) << "discarded: the file is as it was";
    ASSERT_TRUE(session.Assets().Exists(Autosave::kFileName));
    if (!isRunning) {
        isRunning = true;
        return;  // the game has ended; its next start offers the autosave as below
    }
    session.EnterEditor();
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kAutosaveFound);
    session.PressButton(LevelEditor::kRestoreAutosave);
    EXPECT_EQ(session.LevelText(), work);
    EXPECT_EQ(session.Editor().levelName, "level_Mine");
    EXPECT_TRUE(session.Editor().HasUnsavedChanges());
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeavingTest, ::testing::ValuesIn(kWays),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Leaving, AnUnnamedLevelAsksForANameBeforeSavingAndLeaving) {
    EditorSession session({"Crate: RigidBody2D mass 1.0"});
    session.EnterEditor();
    session.Click(-1000000, 420);
    session.Frames(2);
    session.Tap(VirtualKey::Escape);
    session.PressButton(LevelEditor::kSave);
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kSaveLevel);
    session.Panels().Edit(LevelEditor::kLevelNameField, "level_New");
    session.PressButton(LevelEditor::kSaveLevel);
    session.Frames(3);
    EXPECT_TRUE(session.Assets().Exists("level_New"));
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 0);
}

TEST(Leaving, TheAutosaveFollowsEveryFinishedEditAndGoesWithAnUndoBackToTheFile) {
    EditorSession session({"Crate: RigidBody2D mass 1.0"});
    session.EnterEditor();
    EXPECT_FALSE(session.Assets().Exists(Autosave::kFileName));
    session.Click(-1000000, 420);
    session.Frames(2);
    ASSERT_TRUE(session.Assets().Exists(Autosave::kFileName));
    EXPECT_EQ(session.Assets().Read(Autosave::kFileName), "\n" + session.LevelText());
    session.Chord('Z');
    session.Frames(2);
    session.Tap(VirtualKey::Escape);
    session.Frames(3);
    EXPECT_EQ(LevelManager::GetCurrentLevel(), 0) << "back as loaded: nothing to ask";
}

TEST(StatusLine, NamesTheLevelAndSaysWhetherItIsSaved) {
    EditorSession session({"Crate: RigidBody2D mass 1.0"});
    session.EnterEditor();
    EXPECT_EQ(session.Panels().Status(), "(unnamed level)  new  -  0 objects");
    session.Click(-1000000, 420);
    session.Frames(2);
    EXPECT_EQ(session.Panels().Status(), "(unnamed level)  * unsaved  -  1 object");
    session.Editor().SaveLevelAs("level_Mine");
    session.Frames(1);
    EXPECT_EQ(session.Panels().Status(), "level_Mine  saved  -  1 object");
    session.Chord('Z');
    session.Frames(1);
    EXPECT_EQ(session.Panels().Status(), "level_Mine  * unsaved  -  0 objects");
    session.Chord('Y');
    session.Frames(1);
    EXPECT_EQ(session.Panels().Status(), "level_Mine  saved  -  1 object");
    session.Tap(VirtualKey::F6);
    session.Frames(3);
    EXPECT_EQ(session.Panels().Status().rfind("Archetypes:", 0), 0u);
}

// Ctrl+N and Ctrl+L leave the level too: with unsaved work they ask, Cancel keeps it, and
// Discard keeps the autosave of what was let go.
TEST(Leaving, NewAndLoadAskFirstAndKeepTheAutosave) {
    for (const char key : {'N', 'L'}) {
        EditorSession session({"Crate: RigidBody2D mass 1.0"});
        session.EnterEditor();
        session.Click(-1000000, 420);
        session.Frames(2);
        const std::string work = session.LevelText();
        session.Chord(key);
        ASSERT_EQ(session.Panels().Title(), LevelEditor::kUnsavedChanges) << key;
        session.PressButton(LevelEditor::kCancel);
        EXPECT_EQ(session.LevelText(), work) << key;
        session.Chord(key);
        session.PressButton(LevelEditor::kDiscard);
        session.Frames(2);
        EXPECT_EQ(session.Assets().Read(Autosave::kFileName), "\n" + work) << key;
        EXPECT_EQ(session.Panels().Status().find("  saved"), std::string::npos) << key;
    }
}

// SDL reports one click of the close button as a window close and a quit in the same frame.
TEST(Leaving, OneCloseClickIsOneQuestion) {
    EditorSession session({"Crate: RigidBody2D mass 1.0"});
    session.EnterEditor();
    session.Click(-1000000, 420);
    session.Frames(2);
    session.CloseWindow(2);
    session.Frames(2);
    EXPECT_TRUE(isRunning);
    EXPECT_EQ(session.Panels().Title(), LevelEditor::kUnsavedChanges);
    session.Frames(5);
    session.CloseWindow();  // a second click, later: the designer insists
    EXPECT_FALSE(isRunning);
    isRunning = true;
}

TEST(LeavingForTheLevel, EitherEditorOpenedFromALevelGoesBackToThatLevel) {
    for (const int key : {VirtualKey::F5, VirtualKey::F6}) {
        SCOPED_TRACE(key == VirtualKey::F5 ? "F5" : "F6");
        EditorSession session({"Crate: RigidBody2D mass 1.0"});
        MessagingSystem::Send<ChangeLevelMessage>(5);
        session.Frames(4);
        ASSERT_EQ(LevelManager::GetCurrentLevel(), 5);
        session.Tap(key);
        session.Frames(4);
        ASSERT_GT(LevelManager::GetCurrentLevel(), 20) << "in an editor";
        session.Tap(VirtualKey::Escape);
        session.Frames(3);
        EXPECT_EQ(LevelManager::GetCurrentLevel(), 5) << "the player's place is kept";
    }
}

}  // namespace
