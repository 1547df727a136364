// One window event on its way from the platform's queue to the game, and the rule by which the
// editor's panels see it first.
//
// The desktop window turns each native event into a WindowEvent (keys as virtual-key codes,
// positions in back-buffer pixels) and calls DeliverEvent with the native record, which the
// panels' own back end understands (an SDL_Event on the desktop).
#pragma once

#include "platform/window.h"

namespace platform {

// The editor's panel layer. Consume() is called with every native event before the game sees it.
class PanelEvents {
public:
    virtual ~PanelEvents() = default;
    // True when the panels used the event (a click on a panel, typing into a field).
    virtual bool Consume(const void* nativeEvent) = 0;
};

enum class WindowEventKind { Key, MouseMove, MouseButton, Wheel, Close, Other };

struct WindowEvent {
    WindowEventKind kind = WindowEventKind::Other;
    int virtualKey = 0;    // Key: 0 when the key has no virtual-key code
    bool pressed = false;  // Key, MouseButton
    bool repeat = false;   // Key: the platform's auto-repeat of a held key
    MouseButton button = MouseButton::Left;
    int x = 0;  // MouseMove, MouseButton: back-buffer pixels
    int y = 0;
    int wheel = 0;  // Wheel: 120 per notch, positive away from the user
};

// Hands `event` to the panels first (when there are any), then to the game unless the panels
// consumed it. Button releases and closing always reach the game, so a release over a panel
// still lets go of the button and the window can always be closed.
void DeliverEvent(const WindowEvent& event, const void* nativeEvent, PanelEvents* panels,
                  WindowEvents& game);

}  // namespace platform
