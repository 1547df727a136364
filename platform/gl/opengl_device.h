// The OpenGL 3.3 core graphics device, drawing on a GLSurface whose context is current.
#pragma once

#include <memory>

#include "platform/graphics_device.h"

namespace platform {

class GLSurface;

std::unique_ptr<GraphicsDevice> MakeOpenGLGraphicsDevice(GLSurface& surface);

}  // namespace platform
