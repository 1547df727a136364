// WindowSystem: runs the window's event pump once per frame and turns window events into input
// state. Closing the window clears isRunning; the frame in progress still finishes.
#pragma once

#include "core/system.h"

namespace platform {
class Window;
}

class WindowSystem : public System {
public:
    explicit WindowSystem(platform::Window& window) : window_(window) {}
    void Update() override;
    platform::Window& GetWindow() { return window_; }

private:
    platform::Window& window_;
};
