// WindowSystem: runs the window's event pump once per step, turns window events into input state,
// and holds the debug console. Closing the window clears isRunning; the frame in progress still
// finishes.
//
// The window follows the settings' full screen and vertical sync as they change, and a switch of
// the window itself (Alt+Enter) is kept in the settings.
//
// The console opens when Space is pressed with Ctrl held. It blocks the whole engine while it
// reads commands from standard input; "exit" returns to the game. End of input (or no standard
// input at all) leaves it at once, so a game started without a terminal never hangs there.
#pragma once

#include <iosfwd>
#include <optional>

#include "core/system.h"

namespace platform {
class Window;
class WindowEvents;
}  // namespace platform

class WindowSystem : public System {
public:
    explicit WindowSystem(platform::Window& window);
    void Update() override;
    platform::Window& GetWindow() { return window_; }

private:
    void FollowSettings();

    platform::Window& window_;
    // The window's mode when last looked at, to tell its own switches from the settings'.
    bool fullScreen_ = false;
    std::optional<bool> verticalSync_;
};

// The input system's side of the window events: keys (a held key's auto-repeat and presses of a
// key already held change nothing), mouse moves, buttons, wheel, and closing.
platform::WindowEvents& InputEventFeed();

// Ctrl held and Space triggered this frame.
bool ConsoleRequested();

// The console loop on `in` and `out`: prompt, read one word (cut to 31 characters), "exit" leaves,
// anything else is "Invalid Command.". Returns when "exit" is read or `in` ends or fails.
void RunDebugConsole(std::istream& in, std::ostream& out);
