// The desktop services: the SDL window with its OpenGL context, the OpenGL device drawing on it,
// SDL game controllers, the sleeping steady clock, and OpenAL sound (silent without a device).
#include "platform/gl/opengl_device.h"
#include "platform/imgui/imgui_panels.h"
#include "platform/message_box.h"
#include "platform/sdl/desktop_window.h"
#include "platform/sdl/sdl_gamepads.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/services.h"

namespace platform {

Services MakeDesktopServices(const std::string& iconPath) {
    Services services;
    UseWarningBox(&ShowSdlWarningBox);
    std::unique_ptr<DesktopWindow> window = OpenDesktopWindow(iconPath);
    if (!window) {
        return services;
    }
    services.graphics = MakeOpenGLGraphicsDevice(*window);
    // The editor's panels draw on the same window, after the game.
    services.panels = MakeImGuiPanels(window->NativeWindow());
    services.window = std::move(window);
    services.clock = timing::MakeSteadyClock();
    services.gamepads = MakeSdlGamepads();
    services.audio = OpenAudioDevice();
    return services;
}

}  // namespace platform
