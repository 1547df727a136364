// The small drawables: looping background, lighting shader and the coloured square's members.
#include <gtest/gtest.h>

#include "graphics/camera.h"
#include "graphics/colored_square_component.h"
#include "graphics/lighting_shader_component.h"
#include "graphics/looping_background_component.h"
#include "graphics/recording_device.h"
#include "objects/component_factory.h"
#include "objects/object.h"
#include "support/engine_test.h"

namespace {

using DrawablesTest = testing_support::EngineTest;

TEST_F(DrawablesTest, FirstBackgroundSetsItsDepthOnceAndFollowsTheCamera) {
    Object first;
    auto* background = new LoopingBackgroundComponent;
    first.AddComponent("LoopingBackgroundComponent", background);
    first.GetTransform().SetZLayer(8.0f);
    Object second;
    auto* other = new LoopingBackgroundComponent;
    other->layer = 20.0f;
    second.AddComponent("LoopingBackgroundComponent", other);
    second.GetTransform().SetZLayer(4.0f);

    MainCamera()->SetPosition({10.0f, -5.0f});
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

TEST_F(DrawablesTest, BackgroundPinnedBehindTheCameraIsLeftAlone) {
    Object object;
    auto* background = new LoopingBackgroundComponent;
    object.AddComponent("LoopingBackgroundComponent", background);
    // Any component filed under that name marks the object.
    object.AddComponent("OnLGUIComponent", new ColoredSquareComponent);
    object.GetTransform().SetZLayer(8.0f);
    MainCamera()->SetPosition({10.0f, 10.0f});
    background->Update();
    EXPECT_EQ(object.GetTransform().GetZLayer(), 8.0f);
    EXPECT_EQ(object.GetTransform().GetPosition(), Vector2D(0.0f, 0.0f));
}

TEST_F(DrawablesTest, LightPassesItsScreenPositionAndColour) {
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
    const platform::QuadDraw& quad = device.quads[0];
    EXPECT_EQ(quad.technique, "Light");
    auto value = [&](const std::string& name) {
        for (const auto& parameter : quad.floats) {
            if (parameter.name == name) {
                return parameter.value;
            }
        }
        ADD_FAILURE() << "no parameter " << name;
        return 0.0f;
    };
    // d = (160, 90): screen (960, 540), locx 0.6, locy 1 - 0.6.
    EXPECT_FLOAT_EQ(value("locx"), 0.6f);
    EXPECT_FLOAT_EQ(value("locy"), 0.4f);
    EXPECT_FLOAT_EQ(value("r"), 0.5f);
    EXPECT_FLOAT_EQ(value("g"), 1.0f);
    EXPECT_FLOAT_EQ(value("radius"), 0.3f);
    EXPECT_FLOAT_EQ(value("AmbientIntensity"), 1.0f);
}

TEST_F(DrawablesTest, LightWithoutTheTechniqueDrawsNothing) {
    Object object;
    auto* light = new LightingShaderComponent;
    object.AddComponent("LightingShaderComponent", light);
    testing_support::RecordingDevice device;
    device.effectError = "broken";
    light->ApplyLight(device);
    EXPECT_TRUE(device.quads.empty());
}

TEST_F(DrawablesTest, DataLinesBuildTheComponentsWithTheirMembers) {
    const Component* prototype = ComponentFactory::Find("ColoredSquareComponent");
    ASSERT_NE(prototype, nullptr);
    Component* built = prototype->CreateFromTokens(
        {"ColoredSquareComponent", "redTint", "0.25", "alphaTint", "0.5"});
    auto* square = dynamic_cast<ColoredSquareComponent*>(built);
    ASSERT_NE(square, nullptr);
    EXPECT_EQ(square->redTint, 0.25f);
    EXPECT_EQ(square->greenTint, 1.0f);
    EXPECT_EQ(square->alphaTint, 0.5f);
    delete built;
}

}  // namespace
