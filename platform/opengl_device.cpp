// A first OpenGL device: clears the frame and presents it. The renderer replaces it.
#include "platform/opengl_device.h"

#include <epoxy/gl.h>

#include "platform/gl_surface.h"

namespace platform {
namespace {

class ClearingDevice : public GraphicsDevice {
public:
    explicit ClearingDevice(GLSurface& surface) : surface_(surface) {}
    bool IsHeadless() const override { return false; }
    void BeginFrame() override {
        glViewport(0, 0, surface_.DrawableWidth(), surface_.DrawableHeight());
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void Present() override { surface_.SwapBuffers(); }

private:
    GLSurface& surface_;
};

}  // namespace

std::unique_ptr<GraphicsDevice> MakeOpenGLGraphicsDevice(GLSurface& surface) {
    return std::make_unique<ClearingDevice>(surface);
}

}  // namespace platform
