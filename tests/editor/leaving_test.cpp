// Leaving the editor where the random designers of editor_properties_test.cpp do not go: a second
// click of the close button while the question is open, and an editor opened from a level.
#include <gtest/gtest.h>

#include "core/main_loop.h"
#include "core/messaging.h"
#include "editor/level_editor.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "support/editor_session.h"

namespace {

using testing_support::EditorSession;

// SDL reports one click as a window close and a quit in the same frame, which the property test
// answers; only a later click while the question is open means the designer insists.
TEST(Leaving, ASecondCloseClickWhileAskedQuits) {
    EditorSession session({"Crate: RigidBody2D mass 1.0"});
    session.EnterEditor();
    session.Click(-1000000, 420);
    session.Frames(2);
    session.CloseWindow(2);
    ASSERT_EQ(session.Panels().Title(), LevelEditor::kUnsavedChanges);
    session.Frames(5);
    session.CloseWindow();
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
