#include "platform/gl/offscreen_target.h"

#include "platform/gl/gl_surface.h"
#include "platform/letterbox.h"

namespace platform {
namespace {

bool DefaultFramebufferHasDepth() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    if (type == GL_NONE) {
        return false;
    }
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH,
                                          GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE, &bits);
    return bits >= 24;
}

}  // namespace

OffscreenTarget::OffscreenTarget(GLSurface& surface)
    : surface_(surface), windowHasDepth_(DefaultFramebufferHasDepth()) {}

void OffscreenTarget::CreateFramebuffer() {
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glGenRenderbuffers(1, &colourBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kBackBufferWidth, kBackBufferHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer_);
    glGenRenderbuffers(1, &depthBuffer_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kBackBufferWidth,
                          kBackBufferHeight);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                              depthBuffer_);
}

OffscreenTarget::~OffscreenTarget() {
    glDeleteRenderbuffers(1, &colourBuffer_);
    glDeleteRenderbuffers(1, &depthBuffer_);
    glDeleteFramebuffers(1, &framebuffer_);
}

void OffscreenTarget::BeginFrame() {
    drawingIntoWindow_ = windowHasDepth_ && surface_.DrawableWidth() == kBackBufferWidth &&
                         surface_.DrawableHeight() == kBackBufferHeight;
    if (!drawingIntoWindow_ && framebuffer_ == 0) {
        CreateFramebuffer();
    }
    glBindFramebuffer(GL_FRAMEBUFFER, Framebuffer());
}

void OffscreenTarget::BindForReading() const {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, Framebuffer());
    glReadBuffer(drawingIntoWindow_ ? GL_BACK : GL_COLOR_ATTACHMENT0);
}

void OffscreenTarget::Present() {
    if (!drawingIntoWindow_) {
        BlitLetterboxed();
    }
    surface_.SwapBuffers();
}

void OffscreenTarget::BlitLetterboxed() {
    const int width = surface_.DrawableWidth();
    const int height = surface_.DrawableHeight();
    const ViewportRect rect = LetterboxRect(width, height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, width, height);
    // The bars are cleared only when there are bars: every full-window pass counts here.
    const bool fillsWindow =
        rect.x == 0 && rect.y == 0 && rect.width == width && rect.height == height;
    if (!fillsWindow) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // A window without a depth buffer of its own may still be the back buffer's size: at
    // 1 : 1 the linear filter samples texel centres, so a plain copy gives the same pixels.
    const bool unscaled = rect.width == kBackBufferWidth && rect.height == kBackBufferHeight;
    // Window rectangles count from the top; GL framebuffers from the bottom.
    const int bottom = height - rect.y - rect.height;
    glBlitFramebuffer(0, 0, kBackBufferWidth, kBackBufferHeight, rect.x, bottom,
                      rect.x + rect.width, bottom + rect.height, GL_COLOR_BUFFER_BIT,
                      unscaled ? GL_NEAREST : GL_LINEAR);
}

}  // namespace platform
