// One latch for keys and mouse buttons: the same script of presses, releases and updates reads
// the same on a key and on the left mouse button, as the latch itself says.
#include "input/button_latch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messaging.h"
#include "input/input_system.h"

namespace {

struct Case {
    const char* script;  // P press, R release, U input update
    bool triggered;
    bool held;  // keys only: the mouse reads its live state
    bool released;
};

const std::vector<Case> kCases = {
    {"P", true, true, false},
    {"PU", false, true, false},
    {"PR", true, true, false},  // a tap stays live until the update
    {"PRU", false, true, false},
    {"PRUU", false, false, true},
    {"PRUUU", false, false, false},
    {"PUUR", false, true, true},  // a release is seen at once; the key is held until the update
    {"PUURU", false, false, true},
    {"PUURUU", false, false, false},
    {"PUR", false, true, false},
    {"PURU", false, false, true},
    {"PURUP", false, true, false},  // pressed again within two updates: not new
    {"PURUUP", true, true, false},
};

TEST(ButtonLatch, KeysAndMouseButtonsFollowOneScript) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.script);
        MessagingSystem::Reset();
        InputSystem::InputInitialize();
        ButtonLatch latch;
        for (const char step : std::string(c.script)) {
            if (step == 'U') {
                latch.Advance();
                InputSystem::Update();
            } else {
                latch.Set(step == 'P');
                InputSystem::SetKey('K', step == 'P');
                InputSystem::SetMouseLeft(step == 'P', 0, 0);
            }
        }
        EXPECT_EQ(latch.Triggered(), c.triggered);
        EXPECT_EQ(latch.Held(), c.held);
        EXPECT_EQ(latch.Released(), c.released);
        EXPECT_EQ(InputSystem::KeyTriggered('K'), c.triggered);
        EXPECT_EQ(InputSystem::KeyDown('K'), c.held);
        EXPECT_EQ(InputSystem::KeyReleased('K'), c.released);
        EXPECT_EQ(InputSystem::MouseLeftTriggered(), c.triggered);
        EXPECT_EQ(InputSystem::MouseLeftDown(), latch.live);
        EXPECT_EQ(InputSystem::MouseLeftReleased(), c.released);
    }
    MessagingSystem::Reset();
    InputSystem::InputInitialize();
}

}  // namespace
