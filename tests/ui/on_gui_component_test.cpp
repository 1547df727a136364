// OnGUIComponent and OnLGUIComponent: screen furniture placed once per run of the program.
#include "ui/on_gui_component.h"

#include <gtest/gtest.h>

#include "graphics/camera.h"
#include "objects/object.h"
#include "support/engine_test.h"
#include "ui/on_lgui_component.h"

namespace {

class ScreenFurnitureTest : public testing_support::EngineTest {
protected:
    void SetUp() override { Forget(); }
    void TearDown() override { Forget(); }
    static void Forget() {
        OnGUIComponent::ForgetLayout();
        OnLGUIComponent::ForgetPlacement();
    }

    template <class C>
    Object* Make(C* component, const char* name) {
        Object* object = MakeLevelObject(name);
        object->GetTransform().SetPosition({2.0f, 2.0f});
        object->AddComponent(name, component);
        return object;
    }
};

// Each kind places only the first of its objects in a run; an OnLGUI object is not pinned, and goes
// ten layers below the camera.
TEST_F(ScreenFurnitureTest, OnlyTheFirstObjectOfEachKindIsPlacedAndOnLGUIObjectsAreNotPinned) {
    MainCamera()->SetPosition({100.0f, -40.0f});
    auto* lgui = new OnLGUIComponent;
    auto* skipped = new OnGUIComponent;
    Object* palette = Make(lgui, "OnLGUIComponent");
    palette->AddComponent("OnGUIComponent", skipped);
    auto* pin = new OnGUIComponent;
    pin->screenX = -700;
    pin->screenY = 400;
    Object* first = Make(pin, "OnGUIComponent");
    auto* late = new OnGUIComponent;
    Object* second = Make(late, "OnGUIComponent");
    auto* lateLgui = new OnLGUIComponent;
    Object* otherPalette = Make(lateLgui, "OnLGUIComponent");

    skipped->Update();
    pin->Update();
    late->Update();
    lgui->Update();
    lateLgui->Update();
    EXPECT_EQ(palette->GetTransform().GetPosition(), (Vector2D{2.0f, 2.0f}));
    EXPECT_FLOAT_EQ(palette->GetTransform().GetZLayer(), MainCamera()->transform.GetZLayer() - 10);
    EXPECT_FLOAT_EQ(otherPalette->GetTransform().GetZLayer(), 0.0f);
    EXPECT_EQ(first->GetTransform().GetPosition(), (Vector2D{-600.0f, 360.0f}));
    EXPECT_FLOAT_EQ(first->GetTransform().GetZLayer(), 10.5f);
    EXPECT_EQ(first->GetTransform().GetScale(), (Vector2D{30.0f, 30.0f}));
    EXPECT_EQ(second->GetTransform().GetPosition(), (Vector2D{2.0f, 2.0f}));
}

}  // namespace
