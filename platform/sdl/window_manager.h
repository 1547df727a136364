// Whether a window manager runs that can answer a full-screen request.
#pragma once

struct SDL_Window;

namespace platform {

// False on a bare X server (no EWMH window manager announces itself on the root window); true
// wherever it cannot be told, such as Wayland. SDL waits a tenth of a second for the answer to each
// full-screen request, and without a manager no answer comes: there, a borderless window covering
// the display is the full screen.
bool WindowManagerAnswers(SDL_Window* window);

}  // namespace platform
