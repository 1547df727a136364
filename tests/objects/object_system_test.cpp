#include "objects/object_system.h"

#include <gtest/gtest.h>

#include "core/messaging.h"
#include "input/input_system.h"
#include "input/object_selection.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/engine_test.h"

namespace {

class ObjectSystemTest : public testing_support::EngineTest {
protected:
    // Wired the way Core wires it.
    ObjectSystemTest() { system.selectionInput = MouseSelectionInput(); }

    static Object* Spawn(const std::string& name, Vector2D position, Vector2D scale) {
        Object* object = MakeLevelObject(name);
        object->GetTransform().SetPosition(position);
        object->GetTransform().SetScale(scale);
        return object;
    }

    // One frame as Core runs it: swap, input update, the window's events, the system.
    template <class Events>
    void Frame(Events&& events) {
        MessagingSystem::Update();
        InputSystem::Update();
        events();
        system.Update();
    }
    void Frame() {
        Frame([] {});
    }

    void CtrlClickAt(int x, int y) {
        Frame([&] {
            InputSystem::SetKey(VirtualKey::Control, true);
            InputSystem::SetMouseLeft(true, x, y);
        });
        Frame([&] {
            InputSystem::SetMouseLeft(false, x, y);
            InputSystem::SetKey(VirtualKey::Control, false);
        });
    }

    ObjectSystem system;
};

TEST_F(ObjectSystemTest, PauseAndDeviceLossToggleTheUpdateAndTheEditorStopsIt) {
    MessagingSystem::Send<TogglePauseMessage>();
    Frame();
    EXPECT_FALSE(system.update);
    MessagingSystem::Send<DeviceLostToggleMessage>();
    Frame();
    EXPECT_TRUE(system.update);
    Spawn("A", {}, {});
    MessagingSystem::Send<EnterLevelEditorMessage>();
    Frame();
    EXPECT_FALSE(system.update);
    EXPECT_TRUE(LevelObjects().empty());
    MessagingSystem::Send<LevelStartedMessage>("level_Intro");
    Frame();
    EXPECT_TRUE(system.update);
}

// Bounds count as inside; a click without Ctrl, or within two frames of the last press, does not
// count; a selected object's transform echoes into its info.
TEST_F(ObjectSystemTest, CtrlClickSelectsEveryObjectUnderTheMouseAndNothingElse) {
    Object* left = Spawn("Left", {0.0f, 0.0f}, {10.0f, 10.0f});
    Object* overlap = Spawn("Overlap", {15.0f, 0.0f}, {5.0f, 5.0f});
    Object* far = Spawn("Far", {100.0f, 100.0f}, {1.0f, 1.0f});
    Frame([] { InputSystem::SetMouseLeft(true, 0, 0); });
    EXPECT_FALSE(left->IsSelected());
    Frame([] { InputSystem::SetMouseLeft(false, 0, 0); });
    Frame();
    Frame();
    far->SetSelected(true);
    CtrlClickAt(10, 5);  // on the shared edge of both rectangles
    EXPECT_TRUE(left->IsSelected());
    EXPECT_TRUE(overlap->IsSelected());
    EXPECT_FALSE(far->IsSelected());
    EXPECT_EQ(left->GetInfoStream().str(), "Components: \n");
    left->GetTransform().Update();
    EXPECT_NE(left->GetInfoStream().str().find("Transform2D Transform2D\n{\n  Vector2D position\n"),
              std::string::npos)
        << left->GetInfoStream().str();

    Frame();  // a press within two frames of the last one does not trigger
    CtrlClickAt(500, 500);
    EXPECT_FALSE(left->IsSelected());
    EXPECT_FALSE(overlap->IsSelected());
}

}  // namespace
