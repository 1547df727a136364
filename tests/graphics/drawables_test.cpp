// The small drawables: looping background and lighting shader.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/lighting_shader_component.h"
#include "graphics/looping_background_component.h"
#include "graphics/recording_device.h"
#include "objects/object.h"
#include "support/engine_test.h"

namespace {

using DrawablesTest = testing_support::EngineTest;

TEST_F(DrawablesTest, FirstFreeBackgroundSetsItsDepthOnceAndFollowsTheCamera) {
    Object first;
    auto* background = new LoopingBackgroundComponent;
    first.AddComponent("LoopingBackgroundComponent", background);
    first.GetTransform().SetZLayer(8.0f);
    Object second;
    auto* other = new LoopingBackgroundComponent;
    other->layer = 20.0f;
    second.AddComponent("LoopingBackgroundComponent", other);
    second.GetTransform().SetZLayer(4.0f);

    // One pinned behind the camera (any component filed under that name marks it) is left alone
    // and leaves the depth to the first free one.
    Object pinned;
    auto* left = new LoopingBackgroundComponent;
    pinned.AddComponent("LoopingBackgroundComponent", left);
    pinned.AddComponent("OnLGUIComponent", new ColoredSquareComponent);
    pinned.GetTransform().SetZLayer(8.0f);

    MainCamera()->SetPosition({10.0f, -5.0f});
    left->Update();
    EXPECT_EQ(pinned.GetTransform().GetZLayer(), 8.0f);
    EXPECT_EQ(pinned.GetTransform().GetPosition(), Vector2D(0.0f, 0.0f));
    background->Update();
    EXPECT_EQ(first.GetTransform().GetZLayer(), 1.5f);
    EXPECT_EQ(first.GetTransform().GetPosition(), Vector2D(10.0f, -5.0f));
    other->Update();
    EXPECT_EQ(second.GetTransform().GetZLayer(), 4.0f);
    background->Update();
    EXPECT_EQ(first.GetTransform().GetPosition(), Vector2D(20.0f, -10.0f));
    first.GetTransform().SetZLayer(3.0f);
    background->Update();
    EXPECT_EQ(first.GetTransform().GetZLayer(), 3.0f);
}

TEST_F(DrawablesTest, LightPassesItsScreenPositionAndColourOnlyWhenItHasTheTechnique) {
    Object object;
    auto* light = new LightingShaderComponent;
    light->r = 0.5f;
    light->scale = 0.3f;
    object.AddComponent("LightingShaderComponent", light);
    object.GetTransform().SetPosition({180.0f, 100.0f});
    MainCamera()->SetPosition({20.0f, 10.0f});
    testing_support::RecordingDevice device;
    light->ApplyLight(device);
    EXPECT_EQ(light->device, &device);
    ASSERT_EQ(device.quads.size(), 1u);
    EXPECT_EQ(device.quads[0].technique, "Light");
    std::map<std::string, float> value;
    for (const auto& parameter : device.quads[0].floats) {
        value[parameter.name] = parameter.value;
    }
    // d = (160, 90): screen (960, 540), locx 0.6, locy 1 - 0.6.
    EXPECT_FLOAT_EQ(value.at("locx"), 0.6f);
    EXPECT_FLOAT_EQ(value.at("locy"), 0.4f);
    EXPECT_FLOAT_EQ(value.at("r"), 0.5f);
    EXPECT_FLOAT_EQ(value.at("g"), 1.0f);
    EXPECT_FLOAT_EQ(value.at("radius"), 0.3f);
    EXPECT_FLOAT_EQ(value.at("AmbientIntensity"), 1.0f);
    // Without the technique it draws nothing.
    testing_support::RecordingDevice broken;
    broken.effectError = "broken";
    light->ApplyLight(broken);
    EXPECT_TRUE(broken.quads.empty());
}

}  // namespace
