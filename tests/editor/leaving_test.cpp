// Leaving an editor opened from a level, where the random designers of
// editor_properties_test.cpp do not start.
#include <gtest/gtest.h>

#include "core/messaging.h"
#include "input/input_system.h"
#include "objects/level_manager.h"
#include "support/editor_session.h"

namespace {

using testing_support::EditorSession;

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
