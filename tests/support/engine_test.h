// The base of every fixture that touches engine state: the state is reset before the fixture's
// members are built and again after they are gone, so a test neither sees nor leaves anything of
// another (see ResetEngineState for what that covers).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "objects/level_objects.h"
#include "objects/object.h"
#include "support/headless_engine.h"

namespace testing_support {

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
};

}  // namespace testing_support
