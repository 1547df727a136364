// A hidden SDL window with an OpenGL 3.3 core context, current on the calling thread: the surface
// for golden-image tests, benchmarks and tools that render without showing anything. Needs a
// display (an X server such as xvfb-run, or SDL's offscreen driver with EGL).
#pragma once

#include <memory>
#include <string>

#include "platform/gl/gl_surface.h"

namespace platform {

// Null when SDL or the context cannot be created; `error` then says why.
std::unique_ptr<GLSurface> MakeHiddenGLSurface(int width, int height, std::string* error);

}  // namespace platform
