#include "objects/component_list.h"

#include <gtest/gtest.h>

#include <vector>

#include "objects/level_objects.h"
#include "support/engine_test.h"
#include "support/test_components.h"

namespace {

class ComponentListTest : public testing_support::EngineTest {
protected:
    TestCounter* Add(const std::string& name, bool archetype = false) {
        Object* object = archetype ? MakeArchetype(name) : MakeLevelObject(name);
        auto* probe = new TestCounter;
        object->AddComponent("TestCounter", probe);
        list.AddAnnounced(probe, false);
        return probe;
    }

    ComponentList<GameLogicComponent> list;
};

TEST_F(ComponentListTest, OnlyOwnedComponentsOfLevelObjectsAndOfTheRightFamilyAreTaken) {
    TestCounter unowned;
    EXPECT_FALSE(list.AddAnnounced(&unowned));
    Add("Template", /*archetype=*/true);
    EXPECT_TRUE(list.Empty());
    Add("Crate");
    EXPECT_EQ(list.Size(), 1u);
    Object holder;  // a component of another class on an object of its own
    holder.AddComponent("TestSign", new TestSign);
    EXPECT_FALSE(list.AddAnnounced(holder.GetComponent("TestSign")));
}

TEST_F(ComponentListTest, AComponentDetachedMidWalkIsDroppedAndNoOtherIsSkippedOrRunTwice) {
    std::vector<TestCounter*> probes;
    for (int i = 0; i < 5; ++i) {
        probes.push_back(Add("Crate" + std::to_string(i)));
    }
    // The second destroys the fourth's object and its own, mid-walk.
    probes[1]->onUpdate = [&](TestCounter& self) {
        probes[3]->GetOwner()->Destroy();
        self.GetOwner()->Destroy();
    };
    const auto updates = [&] {
        std::vector<int> counts;
        for (const TestCounter* probe : probes) {
            counts.push_back(probe->updates);
        }
        return counts;
    };
    list.Walk([](GameLogicComponent& c) { c.Update(); });
    EXPECT_EQ(updates(), (std::vector<int>{1, 1, 1, 0, 1}));
    EXPECT_EQ(list.Size(), 4u) << "the second is dropped on the next walk";

    list.Walk([](GameLogicComponent& c) { c.Update(); });
    EXPECT_EQ(updates(), (std::vector<int>{2, 1, 2, 0, 2}));
    EXPECT_EQ(list.Size(), 3u);
}

}  // namespace
