// The OpenGL context every window of ours carries, asked of SDL in one place: 3.3 core,
// double-buffered, with a 24-bit depth and 8-bit stencil buffer of the window's own, so that a
// window of the back buffer's size is drawn into directly (platform/gl/offscreen_target.h).
#pragma once

#include <SDL.h>

namespace platform {

// Call after starting SDL's video and before creating the window.
void RequestGameGLContext();

// The window's context, current on the calling thread, with no vertical sync (benchmarks measure
// drawing, not the display; the game's window switches it on); null when SDL cannot make one
// (SDL_GetError says why).
SDL_GLContext CreateCurrentGLContext(SDL_Window* window);

}  // namespace platform
