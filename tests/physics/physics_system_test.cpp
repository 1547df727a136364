#include "physics/physics_system.h"

#include <gtest/gtest.h>

#include "objects/level_objects.h"
#include "physics/physics_test_support.h"
#include "support/scene_builder.h"

namespace {

using physics_test::Body;
using physics_test::Contact;
using physics_test::ContactsInQueue;
using physics_test::Physics;
using physics_test::Y;
using testing_support::HeadlessEngine;
using testing_support::LoadScene;

const std::string kFloor =
    "Floor 800 100 800 20\n  RigidBody2D mass 0.0 state 0\n  BoxCollider2D\n";
const std::string kFalls = "\n  RigidBody2D mass 1.0 state 1 gravity 600.0 friction 1000\n  ";
const std::string kFloorAndCrate = kFloor + "Crate 800 200 20 20" + kFalls + "BoxCollider2D\n";

// A destroyed dynamic object leaves the step while the others go on falling.
TEST(PhysicsSystem, EnablesWhenTheLevelHasLoadedAndForgetsEverythingOnChangeLevel) {
    HeadlessEngine engine;
    PhysicsSystem& physics = Physics(engine);
    EXPECT_FALSE(physics.update);
    auto objects = LoadScene(kFloorAndCrate + "Other 200 400 10 10" + kFalls + "BoxCollider2D\n");
    engine.RunFrames(1);
    EXPECT_TRUE(physics.update);
    EXPECT_FALSE(physics.GridRebuildPending());
    EXPECT_EQ(physics.BodyCount(), 3u);
    EXPECT_EQ(physics.ColliderCount(), 3u);
    EXPECT_EQ(physics.DynamicObjects(), (std::vector<Object*>{objects[1], objects[2]}));
    objects[1]->Destroy();
    const float before = Y(objects[2]);
    engine.RunFrames(5);
    EXPECT_EQ(physics.DynamicObjects(), (std::vector<Object*>{objects[2]}));
    EXPECT_LT(Y(objects[2]), before);
    MessagingSystem::Send<ChangeLevelMessage>(3);
    engine.RunFrames(1);
    EXPECT_EQ(physics.BodyCount(), 0u);
    EXPECT_EQ(physics.ColliderCount(), 0u);
    EXPECT_TRUE(physics.DynamicObjects().empty());
    EXPECT_TRUE(physics.Grid().Cells().empty());
}

TEST(PhysicsSystem, OverlapWithATriggerForThreeFramesBeginsContinuesAndEnds) {
    HeadlessEngine engine;
    auto objects = LoadScene(R"(
Probe 0 0 10 10
  RigidBody2D mass 1.0 state 1 gravity 600.0 friction 1000
  BoxCollider2D
Trigger 500 500 20 20
  RigidBody2D mass 0.0 state 0
  BoxCollider2D mHollow true
)");
    std::vector<std::vector<Contact>> seen;
    const Vector2D out{0, 0};
    const Vector2D in{500, 505};
    for (const Vector2D at : {out, in, in, in, out, out, out}) {
        objects[0]->GetTransform().SetPosition(at);
        engine.RunFrames(1);
        seen.push_back(ContactsInQueue());
    }
    // Each frame's queue holds what the step of the frame before sent.
    const Contact began{1, "Probe", "Trigger"};
    const Contact goesOn{2, "Probe", "Trigger"};
    const Contact ended{3, "Probe", "Trigger"};
    EXPECT_EQ(seen, (std::vector<std::vector<Contact>>{
                        {}, {}, {began}, {goesOn}, {goesOn}, {ended}, {}}));
}

TEST(PhysicsSystem, PauseFreezesBodiesAndForgetsContactsUntilResume) {
    HeadlessEngine engine;
    auto objects = LoadScene(kFloorAndCrate);
    Object* crate = objects[1];
    engine.RunFrames(60);
    ASSERT_NEAR(Y(crate), 140.0f, 0.5f);
    MessagingSystem::Send<TogglePauseMessage>();
    engine.RunFrames(1);
    EXPECT_FALSE(Physics(engine).update);
    EXPECT_TRUE(Physics(engine).PreviousContacts().empty());
    crate->GetTransform().SetPosition({800, 300});
    engine.RunFrames(30);
    EXPECT_EQ(Y(crate), 300.0f);
    // Contacts reported before the pause are forgotten, not ended.
    MessagingSystem::Send<ResumeMessage>();
    engine.RunFrames(2);
    EXPECT_TRUE(Physics(engine).update);
    EXPECT_LT(Y(crate), 300.0f);
    EXPECT_TRUE(ContactsInQueue().empty());
}

TEST(PhysicsSystem, StacksSettleWithoutSinking) {
    HeadlessEngine engine;
    std::string scene = kFloor;
    for (int i = 0; i < 5; ++i) {
        scene += "Crate " + std::to_string(800 + 3 * i) + " " + std::to_string(145 + 45 * i) +
                 " 20 20" + kFalls + "BoxCollider2D\n";
    }
    auto objects = LoadScene(scene);
    engine.RunFrames(300);
    // Half of each impulse between two bodies is lost to the mass split, so resting crates keep a
    // small overlap that grows with the weight above them; it must stay small and steady.
    std::vector<float> settled;
    for (int i = 1; i <= 5; ++i) {
        settled.push_back(Y(objects[i]));
        const float below = i == 1 ? 120.0f : Y(objects[i - 1]) + 20.0f;
        EXPECT_GT(Y(objects[i]) - 20.0f, below - 5.0f) << "crate " << i << " sank";
        EXPECT_LE(Y(objects[i]) - 20.0f, below + 0.01f) << "crate " << i << " floats";
    }
    EXPECT_FLOAT_EQ(settled[0], 140.0f) << "the bottom crate rests exactly on the floor";
    engine.RunFrames(120);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(Y(objects[i]), settled[static_cast<std::size_t>(i - 1)], 0.01f)
            << "crate " << i;
    }
}

TEST(PhysicsSystem, HeavierBodyPushesALighterOneFurther) {
    HeadlessEngine engine;
    auto objects = LoadScene(R"(
Heavy 0 0 10 10
  RigidBody2D mass 3.0 state 1 gravity 0.0 friction 100 velocity 600.0 0.0
  BoxCollider2D
Light 25 0 10 10
  RigidBody2D mass 1.0 state 1 gravity 0.0 friction 100
  BoxCollider2D
)");
    engine.RunFrames(3);
    // The heavy box closes the gap; the split of the correction leaves them touching.
    EXPECT_GT(physics_test::X(objects[1]), 25.0f);
    EXPECT_NEAR(physics_test::X(objects[1]) - physics_test::X(objects[0]), 20.0f, 0.01f);
}

TEST(PhysicsSystem, StaticCollidersMovedAfterTheRebuildStayInTheirOldCells) {
    HeadlessEngine engine;
    auto objects = LoadScene(R"(
Wide 0 0 2000 10
  RigidBody2D mass 0.0 state 0
  BoxCollider2D
Post 1500 600 20 20
  RigidBody2D mass 0.0 state 0
  BoxCollider2D
Probe 1500 900 10 10
  RigidBody2D mass 1.0 state 1 gravity 0.0 friction 100
  BoxCollider2D
)");
    engine.RunFrames(1);
    // Move the post under the probe, far from the cells it was filed in.
    objects[1]->GetTransform().SetPosition({1500, 890});
    engine.RunFrames(3);
    EXPECT_TRUE(Physics(engine).LastPairs().empty());
    EXPECT_EQ(Y(objects[2]), 900.0f);
}

TEST(PhysicsSystem, BothPairSearchesResolveTheSameScene) {
    std::vector<std::vector<float>> runs;
    for (auto search : {DynamicPairSearch::Exhaustive, DynamicPairSearch::Swept}) {
        HeadlessEngine engine;
        Physics(engine).SetDynamicPairSearch(search);
        std::string scene = kFloor;
        for (int i = 0; i < 30; ++i) {
            scene += "Crate " + std::to_string(700 + (i * 37) % 200) + " " +
                     std::to_string(150 + 25 * i) + " " + std::to_string(8 + i % 5) + " 10" +
                     (i % 4 == 0 ? " 30" : "") + kFalls +
                     (i % 3 == 0 ? "CircleCollider2D radius 10.0" : "BoxCollider2D") + "\n";
        }
        auto objects = LoadScene(scene);
        engine.RunFrames(200);
        std::vector<float> positions;
        for (Object* o : objects) {
            positions.push_back(physics_test::X(o));
            positions.push_back(Y(o));
        }
        runs.push_back(positions);
    }
    EXPECT_EQ(runs[0], runs[1]);
}

TEST(PhysicsSystem, AColliderSwappedMidLevelTakesPartAtOnce) {
    HeadlessEngine engine;
    auto objects = LoadScene(kFloorAndCrate);
    Object* crate = objects[1];
    engine.RunFrames(90);
    ASSERT_NEAR(Y(crate), 140.0f, 0.1f);
    crate->RemoveComponent("BoxCollider2D");
    auto* circle = new CircleCollider2D;
    circle->radius = 5.0f;
    crate->AddComponent("CircleCollider2D", circle);
    engine.RunFrames(90);
    EXPECT_NEAR(Y(crate), 125.0f, 0.5f) << "rests on its new, smaller circle";
}

TEST(PhysicsSystem, ContactsKeptThroughIdleFramesForgetDestroyedObjects) {
    HeadlessEngine engine;
    auto objects = LoadScene(R"(
Probe 500 505 10 10
  RigidBody2D mass 1.0 state 1 gravity 600.0 friction 1000
  BoxCollider2D
Trigger 500 500 20 20
  RigidBody2D mass 0.0 state 0
  BoxCollider2D mHollow true
)");
    engine.RunFrames(3);
    ASSERT_FALSE(ContactsInQueue().empty());
    // With one live object the step idles, moving nothing and keeping the contacts it had seen;
    // the destroyed trigger's storage is reclaimed meanwhile.
    const Object* trigger = objects[1];
    objects[1]->Destroy();
    engine.RunFrames(1);
    const float idle = Y(objects[0]);
    engine.RunFrames(3);
    EXPECT_EQ(Y(objects[0]), idle);
    auto* newcomer = new Object;
    newcomer->SetName("Newcomer");
    LevelObjects().push_back(newcomer);
    for (int i = 0; i < 3; ++i) {
        engine.RunFrames(1);
        for (const auto& message : MessagingSystem::GetMessages()) {
            if (const auto* c = As<CollisionMessage>(*message)) {
                EXPECT_NE(c->objectA, trigger);
                EXPECT_NE(c->objectB, trigger);
            }
        }
    }
}

}  // namespace
