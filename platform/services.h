// Everything the engine needs from the outside world, chosen once at start-up: the desktop
// services (SDL2 window and gamepads, OpenGL, OpenAL, steady clock, ImGui panels) or the headless
// twins (no window, no drawing, silence, a fixed-step clock, recorded panels) for tests and tools.
#pragma once

#include <memory>
#include <string>

#include "core/clock.h"
#include "platform/audio_device.h"
#include "platform/gamepad.h"
#include "platform/graphics_device.h"
#include "platform/panel_layer.h"
#include "platform/window.h"

namespace platform {

struct Services {
    std::unique_ptr<timing::Clock> clock;
    std::unique_ptr<Window> window;
    std::unique_ptr<Gamepads> gamepads;
    std::unique_ptr<AudioDevice> audio;
    std::unique_ptr<GraphicsDevice> graphics;
    // The editor's panels. Last, so they go before the window and its drawing context.
    std::unique_ptr<PanelLayer> panels;
};

// `step` is the fixed frame length in seconds.
Services MakeHeadlessServices(double step = 1.0 / 60.0);

// The SDL2 window (with the icon of the ".ico" file `iconPath`) and gamepads, the OpenGL device on
// that window, OpenAL sound (silent when no device opens) and the steady clock. When no window can
// be opened (no display, no OpenGL 3.3) every service is left null, after a line on standard error.
Services MakeDesktopServices(const std::string& iconPath);

}  // namespace platform
