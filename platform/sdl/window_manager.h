// Whether a window manager runs that can answer a full-screen request.
#pragma once

struct SDL_Window;

namespace platform {

// False on a bare X server (no EWMH window manager announces itself on the root window); true
// wherever it cannot be told, such as Wayland. A full-screen request through SDL costs a tenth of
// a second of waiting for its answer; without a manager nothing can answer it, and a borderless
// window covering the display is already the full screen.
bool WindowManagerAnswers(SDL_Window* window);

}  // namespace platform
