#include "input/window_system.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/core.h"
#include "input/input_system.h"
#include "platform/window.h"
#include "support/headless_engine.h"
#include "support/scripted_services.h"
#include "support/scripted_window.h"

namespace {

using testing_support::HeadlessEngine;
using testing_support::ScriptedWindow;

class WindowSystemTest : public ::testing::Test {
protected:
    WindowSystemTest()
        : made(testing_support::MakeScriptedServices()),
          window(made.window),
          engine(std::move(made.services)) {}
    void Frame() { engine.RunFrames(1); }

    testing_support::ScriptedServices made;
    ScriptedWindow* window;
    HeadlessEngine engine;
};

TEST_F(WindowSystemTest, HoldingAKeyGivesOnePressWhateverTheRepeats) {
    window->QueueKey('D', true);
    Frame();
    EXPECT_TRUE(InputSystem::KeyTriggered('D'));
    Frame();
    EXPECT_TRUE(InputSystem::KeyDown('D'));
    // Auto-repeat and a second press of a held key change nothing.
    window->QueueKey('D', true, true);
    window->QueueKey('D', true);
    Frame();
    EXPECT_FALSE(InputSystem::KeyTriggered('D'));
    window->QueueKey('D', false);
    Frame();
    EXPECT_TRUE(InputSystem::KeyReleased('D'));
}

TEST_F(WindowSystemTest, MouseEventsReachTheInputStateAndTheWheelLastsOneFrame) {
    window->Queue([](platform::WindowEvents& e) {
        e.OnMouseMove(40, 50);
        e.OnMouseButton(platform::MouseButton::Right, true, 41, 51);
        e.OnWheel(120);
    });
    Frame();
    EXPECT_TRUE(InputSystem::MouseRightTriggered());
    EXPECT_EQ(InputSystem::GetMouseX(), 41);
    EXPECT_EQ(InputSystem::GetMouseY(), 51);
    EXPECT_EQ(InputSystem::GetWheelDelta(), 120);
    window->Queue([](platform::WindowEvents& e) {
        e.OnMouseButton(platform::MouseButton::Left, true, 42, 52);
    });
    Frame();
    EXPECT_EQ(InputSystem::GetWheelDelta(), 0);
    EXPECT_TRUE(InputSystem::MouseLeftTriggered());
    EXPECT_EQ(InputSystem::GetMouseX(), 42);
    EXPECT_TRUE(InputSystem::MouseRightDown()) << "the left button leaves the right alone";
    window->Queue([](platform::WindowEvents& e) {
        e.OnMouseButton(platform::MouseButton::Right, false, 43, 53);
        e.OnMouseButton(platform::MouseButton::Left, false, 44, 54);
    });
    Frame();
    EXPECT_FALSE(InputSystem::MouseRightDown());
    EXPECT_EQ(InputSystem::GetMouseX(), 44);
    EXPECT_EQ(InputSystem::GetMouseY(), 54);
}

TEST_F(WindowSystemTest, TheConsoleOpensOnSpaceWithCtrlHeld) {
    // Frames are not run with both keys down: that would read the test's own standard input.
    window->QueueKey(VirtualKey::Control, true);
    Frame();
    EXPECT_FALSE(ConsoleRequested()) << "Ctrl alone";
    Frame();
    InputSystem::SetKey(VirtualKey::Space, true);
    EXPECT_TRUE(ConsoleRequested());
    InputSystem::SetKey(VirtualKey::Control, false);
    Frame();
    Frame();
    EXPECT_FALSE(ConsoleRequested()) << "Space alone, and no longer triggered";
}

// Only "exit" leaves, and so does the end of input; a word is cut to 31 characters and its rest
// dropped, not read as the next command ("exit" hidden at the end of a long word stays).
TEST(DebugConsole, OnlyExitOrTheEndOfInputLeaves) {
    const std::string prompt = "Input Command >> ";
    const std::string invalid = prompt + "Invalid Command.\n";
    const struct {
        std::string in, out, rest;
    } cases[] = {
        {"", prompt + "\n", ""},
        {"foo", invalid + prompt + "\n", ""},
        {"help   quit\nexit\nnever-read", invalid + invalid + prompt, "never-read"},
        {std::string(31, 'x') + "exit", invalid + prompt + "\n", ""},
    };
    for (const auto& c : cases) {
        std::istringstream in(c.in);
        std::ostringstream out;
        RunDebugConsole(in, out);
        EXPECT_EQ(out.str(), c.out) << c.in;
        std::string rest;
        in >> rest;
        EXPECT_EQ(rest, c.rest) << c.in;
    }
}

}  // namespace
