// WindowSystem: runs the window's event pump once per step, turns window events into input state,
// and holds the debug console. Closing the window clears isRunning; the frame in progress still
// finishes.
//
// The console opens when Space is pressed with Ctrl held. It blocks the whole engine while it
// reads commands from standard input; "exit" returns to the game. End of input (or no standard
// input at all) leaves it at once, so a game started without a terminal never hangs there.
#pragma once

#include <iosfwd>

#include "core/system.h"

namespace platform {
class Window;
class WindowEvents;
}  // namespace platform

class WindowSystem : public System {
public:
    explicit WindowSystem(platform::Window& window) : window_(window) {}
    void Update() override;
    platform::Window& GetWindow() { return window_; }

private:
    platform::Window& window_;
};

// The input system's side of the window events: keys (a held key's auto-repeat and presses of a
// key already held change nothing), mouse moves, buttons, wheel, and closing.
platform::WindowEvents& InputEventFeed();

// Ctrl held and Space triggered this frame.
bool ConsoleRequested();

// The console loop on `in` and `out`: prompt, read one word (cut to 31 characters), "exit" leaves,
// anything else is "Invalid Command.". Returns when "exit" is read or `in` ends or fails.
void RunDebugConsole(std::istream& in, std::ostream& out);
