// Every engine component class as the data files see it: its registered members, in order, with
// their default values, written the way the editor saves a line. A level saved before a change
// to this table reads differently after it, so a change here is a change to the file format.
#include <gtest/gtest.h>

#include "objects/component.h"
#include "objects/component_factory.h"
#include "support/scene_builder.h"

namespace {

struct RegisteredClass {
    const char* name;
    const char* prototypeLine;
};

const RegisteredClass kEngineClasses[] = {
    {"Transform2D",
     "Transform2D position 0.000000000 0.000000000 zlayer 0.000000000 rotation 0 scale "
     "0.000000000 0.000000000 \n"},
    {"Transform3D", "Transform3D isstatic false \n"},
    {"RigidBody2D",
     "RigidBody2D mass 0.000000000 velocity 0.000000000 0.000000000 state 0 active true "
     "bounciness 0.000000000 friction 100 gravity 0.000000000 \n"},
    {"PointCollider2D", "PointCollider2D point 1.000000000 1.000000000 mHollow false \n"},
    {"BoxCollider2D", "BoxCollider2D mHalfSize 0.000000000 0.000000000 mHollow false \n"},
    {"CircleCollider2D", "CircleCollider2D radius 0.500000000 mHollow false \n"},
    {"OneWay", "OneWay dontUse 0 top 1 bottom 0 left 0 right 0 \n"},
    {"TextureComponent", "TextureComponent filename \"\" \n"},
    {"ColoredSquareComponent",
     "ColoredSquareComponent redTint 1.000000000 greenTint 1.000000000 blueTint 1.000000000 "
     "alphaTint 1.000000000 \n"},
    {"LightingShaderComponent",
     "LightingShaderComponent r 1.000000000 g 1.000000000 b 1.000000000 scale 0.100000001 "
     "AmbientIntensity 1.000000000 \n"},
    {"LoopingBackgroundComponent",
     "LoopingBackgroundComponent speed 1000.000000000 layer 5.000000000 offsetX 0.000000000 "
     "offsetY 0.000000000 \n"},
    {"ParticleEmitterComponent",
     "ParticleEmitterComponent active false minLifetime 1.000000000 maxLifetime 1.000000000 "
     "rotationSpeed 0.000000000 maxParticles 100 particleSpawnRate 1 emitterType 0 minScale "
     "5.000000000 5.000000000 maxScale 5.000000000 5.000000000 minOffset 0.000000000 0.000000000 "
     "maxOffset 0.000000000 0.000000000 minVelocity 0.000000000 0.000000000 maxVelocity "
     "0.000000000 0.000000000 gravityVector 0.000000000 0.000000000 randomizeColors false "
     "fadeAlpha false startR 1.000000000 startG 1.000000000 startB 1.000000000 startA "
     "1.000000000 endR 1.000000000 endG 1.000000000 endB 1.000000000 endA 1.000000000 \n"},
};

TEST(RegisteredClasses, EachPrototypeSavesItsMembersInOrderWithTheirDefaults) {
    for (const RegisteredClass& expected : kEngineClasses) {
        const Component* prototype = ComponentFactory::Find(expected.name);
        ASSERT_NE(prototype, nullptr) << expected.name;
        EXPECT_EQ(prototype->GetName(), expected.name);
        EXPECT_EQ(prototype->GetOwner(), nullptr) << expected.name;
        EXPECT_EQ(testing_support::ComponentLine(*prototype), expected.prototypeLine)
            << expected.name;
    }
}

}  // namespace
