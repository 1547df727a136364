// OnGUIComponent and OnLGUIComponent: screen furniture placed once per run of the program.
#include "ui/on_gui_component.h"

#include <gtest/gtest.h>

#include "graphics/camera.h"
#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/headless_engine.h"
#include "ui/on_lgui_component.h"

namespace {

class ScreenFurnitureTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetEngineState();
        OnGUIComponent::ForgetLayout();
        OnLGUIComponent::ForgetPlacement();
        ResetCameras();
        MainCamera()->SetPosition({100.0f, -40.0f});
    }
    void TearDown() override {
        OnGUIComponent::ForgetLayout();
        OnLGUIComponent::ForgetPlacement();
        ResetCameras();
        testing_support::ResetEngineState();
    }

    Object* MakeObject(Vector2D position) {
        auto* object = new Object;
        object->GetTransform().SetPosition(position);
        object->GetTransform().SetScale({5.0f, 5.0f});
        LevelObjects().push_back(object);
        return object;
    }
};

TEST_F(ScreenFurnitureTest, OnlyTheFirstPinnedObjectOfTheRunIsPlaced) {
    Object* first = MakeObject({1.0f, 1.0f});
    auto* pin = new OnGUIComponent;
    pin->screenX = -700;
    pin->screenY = 400;
    pin->scaleX = 60;
    pin->scaleY = 20;
    first->AddComponent("OnGUIComponent", pin);
    Object* second = MakeObject({2.0f, 2.0f});
    second->AddComponent("OnGUIComponent", new OnGUIComponent);

    pin->Update();
    second->GetComponent("OnGUIComponent")->Update();
    EXPECT_EQ(first->GetTransform().GetPosition(), (Vector2D{-600.0f, 360.0f}));
    EXPECT_FLOAT_EQ(first->GetTransform().GetZLayer(), 10.5f);
    EXPECT_EQ(first->GetTransform().GetScale(), (Vector2D{60.0f, 20.0f}));
    EXPECT_EQ(second->GetTransform().GetPosition(), (Vector2D{2.0f, 2.0f}));
    EXPECT_EQ(second->GetTransform().GetScale(), (Vector2D{5.0f, 5.0f}));
}

TEST_F(ScreenFurnitureTest, AnObjectWithOnLGUIIsNotPinnedAndGoesJustBelowTheCamera) {
    Object* palette = MakeObject({3.0f, 4.0f});
    auto* lgui = new OnLGUIComponent;
    palette->AddComponent("OnLGUIComponent", lgui);
    auto* pin = new OnGUIComponent;
    palette->AddComponent("OnGUIComponent", pin);
    Object* later = MakeObject({0.0f, 0.0f});
    auto* laterPin = new OnGUIComponent;
    later->AddComponent("OnGUIComponent", laterPin);

    pin->Update();
    lgui->Update();
    EXPECT_EQ(palette->GetTransform().GetPosition(), (Vector2D{3.0f, 4.0f}));
    EXPECT_FLOAT_EQ(palette->GetTransform().GetZLayer(), MainCamera()->transform.GetZLayer() - 10);
    // The skipped one did not use up the layout.
    laterPin->Update();
    EXPECT_EQ(later->GetTransform().GetPosition(), (Vector2D{1124.0f, 728.0f}));

    // Once per run: a second object, or the camera moving up, changes nothing.
    MainCamera()->transform.SetZLayer(80.0f);
    Object* other = MakeObject({0.0f, 0.0f});
    auto* otherLgui = new OnLGUIComponent;
    other->AddComponent("OnLGUIComponent", otherLgui);
    otherLgui->Update();
    lgui->Update();
    EXPECT_FLOAT_EQ(other->GetTransform().GetZLayer(), 0.0f);
    EXPECT_FLOAT_EQ(palette->GetTransform().GetZLayer(), 40.0f);
}

}  // namespace
