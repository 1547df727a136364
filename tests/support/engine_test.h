// The base of every fixture that touches engine state: the state is reset before the fixture's
// members are built and again after they are gone, so a test neither sees nor leaves anything of
// another (see ResetEngineState for what that covers).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/headless_engine.h"

namespace testing_support {

// The names of the live level objects, in LevelObjects order.
inline std::vector<std::string> LevelObjectNames() {
    std::vector<std::string> names;
    for (const Object* object : LevelObjects()) {
        names.push_back(object->GetName());
    }
    return names;
}

class EngineTest : public ::testing::Test {
protected:
    EngineTest() { ResetEngineState(); }
    ~EngineTest() override { ResetEngineState(); }

    // A live object named `name`, listed in LevelObjects the way the level loader lists one.
    static Object* MakeLevelObject(const std::string& name) {
        auto* object = new Object;
        object->SetName(name);
        LevelObjects().push_back(object);
        return object;
    }

    // An archetype named `name`, filed in ArchetypeTable the way the archetype loader files one.
    static Object* MakeArchetype(const std::string& name) {
        auto* object = new Object;
        object->SetName(name);
        object->SetArchetype(true);
        ArchetypeTable().Insert(name, object);
        return object;
    }
};

}  // namespace testing_support
