// A window that carries an OpenGL 3.3 core context, current on the main thread. The desktop window
// implements it; the OpenGL graphics device draws through it.
#pragma once

namespace platform {

class GLSurface {
public:
    virtual ~GLSurface() = default;
    virtual void SwapBuffers() = 0;
    // The size of the default framebuffer in pixels.
    virtual int DrawableWidth() const = 0;
    virtual int DrawableHeight() const = 0;
};

}  // namespace platform
