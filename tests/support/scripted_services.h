// Headless services with a window and gamepads the test drives between frames.
#pragma once

#include "platform/services.h"

namespace testing_support {

class FakeGamepads;
class ScriptedWindow;

// The pointers stay valid as long as the engine the services go to.
struct ScriptedServices {
    platform::Services services;
    ScriptedWindow* window = nullptr;
    FakeGamepads* pads = nullptr;
};
ScriptedServices MakeScriptedServices(double clockFrame = 1.0 / 60.0);

}  // namespace testing_support
