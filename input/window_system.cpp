#include "input/window_system.h"

#include <iostream>
#include <string>

#include "core/editor_mode.h"
#include "core/main_loop.h"
#include "input/debug_keys.h"
#include "input/input_system.h"
#include "meta/settings.h"
#include "platform/console_input.h"
#include "platform/window.h"

namespace {

constexpr std::size_t kCommandLength = 31;

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
    void OnClose() override {
        if (EditorMode::CloseEndsGame()) {
            isRunning = false;
        }
    }
};

}  // namespace

platform::WindowEvents& InputEventFeed() {
    static InputFeed feed;
    return feed;
}

bool ConsoleRequested() {
    return InputSystem::KeyTriggered(VirtualKey::Space) &&
           InputSystem::KeyDown(VirtualKey::Control);
}

void RunDebugConsole(std::istream& in, std::ostream& out) {
    for (;;) {
        out << "Input Command >> " << std::flush;
        std::string command;
        if (!(in >> command)) {
            // Nobody is typing: a closed or absent standard input would otherwise spin here.
            out << '\n';
            return;
        }
        if (command.size() > kCommandLength) {
            command.resize(kCommandLength);
        }
        if (command == "exit") {
            return;
        }
        out << "Invalid Command.\n";
    }
}

WindowSystem::WindowSystem(platform::Window& window)
    : window_(window), fullScreen_(window.IsFullscreen()) {}

void WindowSystem::FollowSettings() {
    const Settings& settings = SettingsKeeper::Current();
    const bool fullScreen = window_.IsFullscreen();
    if (fullScreen != fullScreen_) {
        fullScreen_ = fullScreen;
        SettingsKeeper::Change([&](Settings& changed) { changed.fullScreen = fullScreen; });
    } else if (settings.fullScreen != fullScreen) {
        window_.SetFullscreen(settings.fullScreen);
        fullScreen_ = window_.IsFullscreen();
    }
    if (verticalSync_ != settings.verticalSync) {
        verticalSync_ = settings.verticalSync;
        window_.SetVerticalSync(settings.verticalSync);
    }
}

void WindowSystem::Update() {
    HandleMessages();
    window_.PumpEvents(InputEventFeed());
    FollowSettings();
    DebugKeys::SendDebugCommands();
    if (!ConsoleRequested()) {
        return;
    }
    if (platform::StandardInputIsOpen()) {
        RunDebugConsole(std::cin, std::cout);
    }
    std::cout << "Back to Game Window...\n" << std::flush;
    window_.BringToFront();
}
