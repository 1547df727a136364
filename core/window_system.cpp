#include "core/window_system.h"

#include "core/core.h"
#include "input/input_system.h"
#include "platform/window.h"

namespace {

class InputFeed : public platform::WindowEvents {
public:
    void OnKey(int virtualKey, bool pressed, bool repeat) override {
        if (pressed && (repeat || InputSystem::KeyDown(virtualKey))) {
            return;
        }
        InputSystem::SetKey(virtualKey, pressed);
    }
    void OnMouseMove(int x, int y) override { InputSystem::MoveMouse(x, y); }
    void OnMouseButton(platform::MouseButton button, bool pressed, int x, int y) override {
        if (button == platform::MouseButton::Left) {
            InputSystem::SetMouseLeft(pressed, x, y);
        } else {
            InputSystem::SetMouseRight(pressed, x, y);
        }
    }
    void OnWheel(int delta) override { InputSystem::SetWheelDelta(delta); }
    void OnClose() override { isRunning = false; }
};

}  // namespace

void WindowSystem::Update() {
    HandleMessages();
    InputFeed feed;
    window_.PumpEvents(feed);
}
