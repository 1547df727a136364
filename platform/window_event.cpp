#include "platform/window_event.h"

namespace platform {

void DeliverEvent(const WindowEvent& event, const void* nativeEvent, PanelEvents* panels,
                  WindowEvents& game) {
    const bool alwaysDelivered = event.kind == WindowEventKind::Close ||
                                 (event.kind == WindowEventKind::MouseButton && !event.pressed);
    if (panels && panels->Consume(nativeEvent) && !alwaysDelivered) {
        return;
    }
    switch (event.kind) {
        case WindowEventKind::Key:
            if (event.virtualKey != 0) {
                game.OnKey(event.virtualKey, event.pressed, event.repeat);
            }
            break;
        case WindowEventKind::MouseMove:
            game.OnMouseMove(event.x, event.y);
            break;
        case WindowEventKind::MouseButton:
            game.OnMouseButton(event.button, event.pressed, event.x, event.y);
            break;
        case WindowEventKind::Wheel:
            game.OnWheel(event.wheel);
            break;
        case WindowEventKind::Close:
            game.OnClose();
            break;
        case WindowEventKind::Other:
            break;
    }
}

}  // namespace platform
