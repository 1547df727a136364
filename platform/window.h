// The game window as the engine sees it: a source of input events and a surface the renderer
// presents to. The desktop window (SDL2) and a headless twin implement it.
//
// Events are delivered in arrival order through WindowEvents during PumpEvents, with keys already
// mapped to Windows virtual-key codes and positions in the game's 1600 x 900 back-buffer pixels.
#pragma once

#include <memory>

namespace platform {

class PanelEvents;

enum class MouseButton { Left, Right };

struct DisplayPacing {
    enum class Sync {
        // A present returns at once: the engine's clock paces the frames.
        Off,
        // A present waits for the display's next refresh.
        Vertical,
        // The same, but a frame that missed its refresh is shown at once (tearing) rather than a
        // whole refresh later.
        Adaptive,
    };
    Sync sync = Sync::Off;
    // The display mode's refresh rate in frames a second; 0 when unknown.
    double refreshRate = 0.0;
};

class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // `repeat` is true for the platform's auto-repeat of a held key.
    virtual void OnKey(int virtualKey, bool pressed, bool repeat) = 0;
    virtual void OnMouseMove(int x, int y) = 0;
    virtual void OnMouseButton(MouseButton button, bool pressed, int x, int y) = 0;
    virtual void OnWheel(int delta) = 0;
    virtual void OnClose() = 0;
};

class Window {
public:
    virtual ~Window() = default;
    // Delivers every pending event without blocking.
    virtual void PumpEvents(WindowEvents& events) = 0;
    // Nobody can see the window (minimised or hidden): the renderer treats this as a lost device.
    virtual bool IsHidden() const = 0;
    // How presenting paces the frames drawn now: the engine waits on its own clock only where the
    // display does not.
    virtual DisplayPacing Pacing() const { return {}; }
    virtual void BringToFront() {}
    // Full screen or a window; a window that cannot change stays as it is.
    virtual bool IsFullscreen() const { return false; }
    virtual void SetFullscreen(bool /*fullscreen*/) {}
    // The editor's panels, which see every event before the game (platform/window_event.h); null
    // for none. The window does not own them; they must outlive the window or be unset first.
    virtual void SetPanelEvents(PanelEvents* /*panels*/) {}
    // Vertical sync on (adaptive where the driver has it) or off (the clock cap paces drawing).
    virtual void SetVerticalSync(bool /*on*/) {}
};

std::unique_ptr<Window> MakeHeadlessWindow();

}  // namespace platform
