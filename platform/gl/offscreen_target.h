// Where the OpenGL device draws the game's 1600 x 900 back buffer. A window of exactly that size
// with a depth buffer of its own is drawn into directly; any other size draws into an offscreen
// framebuffer (colour and 24-bit depth) that is blitted letterboxed into the window's drawable
// when the frame is presented. On a software rasteriser that blit is a full-window shading pass,
// several times the cost of clearing and swapping an empty frame, so it is only paid when scaling
// needs it; the offscreen buffers, which a software rasteriser fills with zeros when it allocates
// them, are made with the first frame drawn offscreen. Requires the surface's context to be
// current.
#pragma once

#include <epoxy/gl.h>

namespace platform {

class GLSurface;

class OffscreenTarget {
public:
    explicit OffscreenTarget(GLSurface& surface);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // Chooses where this frame is drawn (so a window resized to or from the back buffer's size
    // follows) and binds it for drawing.
    void BeginFrame();
    // Binds the frame just drawn for reading, with its colour buffer selected.
    void BindForReading() const;
    // Brings the frame to the window (letterboxed when it was drawn offscreen) and swaps.
    void Present();

private:
    GLuint Framebuffer() const { return drawingIntoWindow_ ? 0 : framebuffer_; }
    void CreateFramebuffer();
    void BlitLetterboxed();

    GLSurface& surface_;
    const bool windowHasDepth_;
    bool drawingIntoWindow_ = false;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
};

}  // namespace platform
