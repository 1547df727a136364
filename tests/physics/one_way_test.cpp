#include "physics/one_way.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "objects/component_factory.h"
#include "objects/level_objects.h"
#include "physics/physics_test_support.h"
#include "support/scene_builder.h"

namespace {

using physics_test::Body;
using physics_test::Y;
using testing_support::HeadlessEngine;
using testing_support::LoadScene;

bool Hollow(Object* o) {
    return o->Get<BoxCollider2D>("BoxCollider2D")->IsHollow();
}

// A one-way platform at y = 300 (top side solid) and a body below it thrown upward.
std::string Scene(const char* moverName, const char* oneWayLine = "OneWay",
                  const char* speed = "900.0") {
    return std::string(
               "Platform 500 300 100 10\n  RigidBody2D mass 0.0 state 0\n  BoxCollider2D\n  ") +
           oneWayLine + "\n" + moverName +
           " 500 250 10 10\n  RigidBody2D mass 1.0 state 1 gravity 600.0 friction 1000 "
           "velocity 0.0 " +
           speed + "\n  BoxCollider2D\n";
}

void StartLevel() {
    MessagingSystem::Send<LevelStartedMessage>("Test");
}

TEST(OneWay, LetsThePlayerUpFromBelowHoldsItFromAboveAndOpensWhenItLeaves) {
    HeadlessEngine engine;
    auto objects = LoadScene(Scene("Player1"));
    StartLevel();
    Object* platform = objects[0];
    Object* player = objects[1];
    bool hollowWhileBelow = true;
    for (int i = 0; i < 240; ++i) {
        engine.RunFrames(1);
        if (i > 2 && Y(player) < Y(platform) && !Hollow(platform)) {
            hollowWhileBelow = false;
        }
    }
    EXPECT_FALSE(platform->IsVisible());
    EXPECT_EQ(platform->Get<OneWay>("OneWay")->dontUse, 1);
    EXPECT_TRUE(hollowWhileBelow);
    EXPECT_FALSE(Hollow(platform)) << "the player rests on top";
    // Hollow again once the contact ends.
    player->GetTransform().SetPosition({900, 900});
    Body(player).gravity = 0.0f;
    engine.RunFrames(4);
    EXPECT_TRUE(Hollow(platform));
}

TEST(OneWay, OnlyThePlayerMakesItSolid) {
    HeadlessEngine engine;
    auto objects = LoadScene(Scene("Crate"));
    StartLevel();
    engine.RunFrames(240);
    EXPECT_LT(Y(objects[1]), 250.0f) << "the crate rose through and fell back through";
    EXPECT_TRUE(Hollow(objects[0]));
}

TEST(OneWay, BottomSideIsSolidFromBelow) {
    // Slow enough that the player is still below the centre when the platform, one frame after
    // the contact, turns solid; fast enough to rise past it through an open side.
    const auto highestReached = [](const char* oneWayLine) {
        HeadlessEngine engine;
        auto objects = LoadScene(Scene("Player1", oneWayLine, "400.0"));
        StartLevel();
        float highest = Y(objects[1]);
        for (int i = 0; i < 60; ++i) {
            engine.RunFrames(1);
            highest = std::max(highest, Y(objects[1]));
        }
        return highest;
    };
    EXPECT_GT(highestReached("OneWay top 1"), 300.0f) << "open from below";
    EXPECT_LT(highestReached("OneWay top 0 bottom 1"), 295.0f) << "held below";
}

}  // namespace
