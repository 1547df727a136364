#include "objects/object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/level_objects.h"
#include "physics/rigid_body2d.h"
#include "support/engine_test.h"
#include "support/scene_builder.h"
#include "support/test_components.h"

namespace {

using ObjectTest = testing_support::EngineTest;

// A name holds one component: a second under it is refused without claiming the object, and
// lookups and removals of a missing one add nothing.
TEST_F(ObjectTest, ComponentsJoinAndLeaveTheirObjectByName) {
    Object* object = MakeLevelObject("Crate");
    EXPECT_EQ(object->GetTransform().GetOwner(), object);
    EXPECT_EQ(object->GetComponent("RigidBody2D"), nullptr);
    EXPECT_FALSE(object->HasComponent("RigidBody2D"));
    EXPECT_FALSE(object->RemoveComponent("RigidBody2D"));
    EXPECT_EQ(object->GetComponents().Size(), 0u);
    auto* first = new TestCounter;
    auto* second = new TestCounter;
    EXPECT_TRUE(object->AddComponent("TestCounter", first));
    EXPECT_FALSE(object->AddComponent("TestCounter", second));
    EXPECT_EQ(object->GetComponent("TestCounter"), first);
    EXPECT_EQ(first->GetOwner(), object);
    EXPECT_EQ(second->GetOwner(), nullptr);
    EXPECT_TRUE(object->RemoveComponent("TestCounter"));
    EXPECT_EQ(first->GetOwner(), nullptr);
    EXPECT_FALSE(object->HasComponent("TestCounter"));
}

TEST_F(ObjectTest, ACloneOfAnArchetypeIsAnIndependentLevelObjectAtTheOrigin) {
    Object* archetype = MakeArchetype("Button");
    auto* sign = new TestSign;
    sign->caption = "play";
    sign->offset = {5.0f, 6.0f};
    sign->count = 9;
    sign->lit = true;
    sign->speed = 2.5f;
    sign->scratch = 42;
    archetype->AddComponent("TestSign", sign);
    archetype->GetTransform().SetPosition({100.0f, 200.0f});
    archetype->GetTransform().SetRotationDegrees(45);
    archetype->GetTransform().SetScale({32.0f, 16.0f});
    archetype->GetTransform().SetZLayer(7.0f);

    Object* clone = archetype->Clone();
    EXPECT_FALSE(clone->IsArchetype());
    EXPECT_EQ(clone->GetName(), "Button");
    EXPECT_EQ(LevelObjects(), std::vector<Object*>{clone});
    EXPECT_EQ(clone->GetTransform().GetPosition(), Vector2D(0.0f, 0.0f));
    EXPECT_EQ(clone->GetTransform().GetRotationDegrees(), 45);
    EXPECT_EQ(clone->GetTransform().GetScale(), Vector2D(32.0f, 16.0f));
    EXPECT_EQ(clone->GetTransform().GetZLayer(), 7.0f);

    auto* copy = clone->Get<TestSign>("TestSign");
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, sign);
    EXPECT_EQ(copy->GetOwner(), clone);
    EXPECT_EQ(testing_support::ComponentLine(*copy), testing_support::ComponentLine(*sign));
    EXPECT_EQ(copy->scratch, 0) << "unregistered members keep their defaults";

    // Changing or destroying one leaves the other intact.
    copy->caption = "changed";
    EXPECT_EQ(sign->caption, "play");
    clone->Destroy();
    EXPECT_EQ(sign->caption, "play");
    EXPECT_EQ(sign->GetOwner(), archetype);
}

// The table keeps the entry of the first archetype of a name while a refused duplicate goes, and
// loses it when that one goes; level objects of the name stay.
TEST_F(ObjectTest, DestroyingAnArchetypeTouchesOnlyItsOwnTableEntry) {
    Object* first = MakeArchetype("Fan");
    Object* live = MakeLevelObject("Fan");
    auto* duplicate = new Object;
    duplicate->SetName("Fan");
    duplicate->SetArchetype(true);
    EXPECT_FALSE(ArchetypeTable().Insert("Fan", duplicate).second);
    duplicate->Destroy();
    EXPECT_EQ(ArchetypeTable().Get("Fan"), first);
    first->Destroy();
    EXPECT_FALSE(ArchetypeTable().Contains("Fan"));
    EXPECT_EQ(LevelObjects(), std::vector<Object*>{live});
}

TEST_F(ObjectTest, DestroyCallsOnDestroyThenDetachesEveryComponentInTableOrder) {
    Object* object = MakeLevelObject("Player1");
    auto* probe = new TestCounter;
    auto* body = new RigidBody2D;
    object->AddComponent("TestCounter", probe);
    object->AddComponent("RigidBody2D", body);
    object->Destroy();
    EXPECT_EQ(probe->destroyCalls, 1);
    EXPECT_EQ(probe->GetOwner(), nullptr);
    EXPECT_EQ(body->GetOwner(), nullptr);
    EXPECT_TRUE(LevelObjects().empty());
}

}  // namespace
