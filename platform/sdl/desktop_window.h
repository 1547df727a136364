// The game's desktop window on SDL2, carrying an OpenGL 3.3 core context that stays current on the
// main thread for the window's life.
//
// Title "Vorl Game"; by default it covers the desktop (borderless full screen) with the 1600 x 900
// back buffer letterboxed inside; Alt+Enter switches to a borderless 1600 x 900 window at (300,
// 100) and back. Events reach the game with mouse positions already in back-buffer pixels.
#pragma once

#include <memory>
#include <string>

#include "platform/gl/gl_surface.h"
#include "platform/window.h"

struct SDL_Window;

namespace platform {

class DesktopWindow : public Window, public GLSurface {
public:
    // The window's size in screen pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The SDL window, for the panel layer's ImGui back end.
    virtual SDL_Window* NativeWindow() const = 0;
};

// Opens the window with its context; the icon is read from `iconPath` (an .ico file), and a
// missing or unreadable icon is skipped. Returns null, after one line on standard error, when
// there is no display or no OpenGL 3.3 core context.
std::unique_ptr<DesktopWindow> OpenDesktopWindow(const std::string& iconPath);

}  // namespace platform
