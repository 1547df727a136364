// The drawing surface as the engine sees it: a fixed 1600 x 900 back buffer that the renderer
// clears, fills with textured or flat quads and text, and presents. The desktop implementation is
// OpenGL 3.3 core on the SDL window (platform/gl/opengl_device.h); the headless twin draws nothing
// but decodes images on the CPU so texture loading behaves the same in tests.
//
// Callers keep these rules: BeginFrame before any Clear or Draw of a frame, Present once at its
// end; textures returned by CreateTexture belong to the device and stay valid until DestroyTexture
// or the device's end.
// Matrices are row-vector, left-handed (core/matrix.h); a vertex is transformed as
// p * world * view * projection, and the depth range after projection is 0 (near) to 1 (far).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/matrix.h"
#include "platform/image.h"

namespace platform {

// A loaded image, opaque to the engine.
class GpuTexture {
public:
    virtual ~GpuTexture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

// Colours are 0xAARRGGBB.
using Argb = std::uint32_t;

struct TextureOptions {
    // The picture is also drawn smaller than it is stored: a few mip levels keep it smooth
    // there. Without them it is sampled linearly from its one level.
    bool mipmaps = false;
};

struct EffectFloat {
    std::string name;
    float value = 0.0f;
};

// One unit quad (x, y in [-1, 1] at z = 1) with the game's fixed state: no culling, depth test
// (less or equal), alpha test (alpha >= 8/255 survives) and source-alpha blending.
struct QuadDraw {
    enum class Fill {
        // The texture (when not null) sampled at the texture-matrix-shifted sprite-cell
        // coordinates; without a texture the quad falls back to its vertex colours.
        Texture,
        // The quad's built-in vertex colours, no texture.
        VertexColour,
        // An effect technique with its float parameters.
        Effect,
    };
    Matrix4 world = Matrix4::Identity();
    Fill fill = Fill::Texture;
    GpuTexture* texture = nullptr;
    // Applied to (u, v, 1, 0): the offsets sit in row 2, columns 0 and 1.
    Matrix4 textureMatrix = Matrix4::Identity();
    // For a textured quad bigger than its picture was made: how many pictures fit the quad on
    // each axis, and the borders (fractions of the picture: left, right, top, bottom) that keep
    // their size while the middle between them repeats, mirrored every other time so that it runs
    // on without a seam. An axis that fits one picture or less is stretched as usual.
    struct Slice {
        float repeatX = 1.0f;
        float repeatY = 1.0f;
        float left = 0.0f;
        float right = 0.0f;
        float top = 0.0f;
        float bottom = 0.0f;
    };
    std::optional<Slice> slice;
    // Every texel the textured quad can sample is opaque: it is drawn without blending or the
    // alpha test, which leaves the same pixels for less work.
    bool opaque = false;
    // The device may read the picture with the nearest filter where its texels fall one on one on
    // whole pixels: the same pixels as the linear filter there, for less work.
    bool nearestWhereTexelExact = false;
    std::string technique;
    std::vector<EffectFloat> floats;
};

enum class TextAlign { Left, Centre };

class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;
    virtual bool IsHeadless() const = 0;

    // Uploads a decoded image into a texture owned by the device; null for an empty image.
    virtual GpuTexture* CreateTexture(const Image& image, const TextureOptions& options) = 0;
    // Frees a texture this device created; nothing may use it afterwards.
    virtual void DestroyTexture(GpuTexture* texture) = 0;

    // Reads the effect file: every technique in it is compiled. Returns an empty string on success,
    // else the compiler's text; techniques that failed are unavailable and drawing with them does
    // nothing.
    virtual std::string LoadEffect(const std::string& path) = 0;
    virtual bool HasTechnique(const std::string& name) const = 0;

    virtual void BeginFrame() = 0;
    // In back-buffer pixels, origin top-left; depth range 0..1.
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    virtual void Clear(Argb colour, float depth) = 0;
    virtual void SetViewProjection(const Matrix4& view, const Matrix4& projection) = 0;
    virtual void DrawQuad(const QuadDraw& quad) = 0;
    // `x`, `y` in back-buffer pixels: the top of the first line; Left starts the text at x,
    // Centre centres each line on x. Lines break at '\n'. Nothing is clipped.
    virtual void DrawText(const std::string& text, int x, int y, Argb colour, TextAlign align) = 0;
    // A flat plate of `colour` behind `text` placed as DrawText places it, `margin` pixels beyond
    // its lines on every side, so that text drawn over it reads on any picture. A device that
    // draws no text draws no plate.
    virtual void DrawTextPlate(const std::string& /*text*/, int /*x*/, int /*y*/, Argb /*colour*/,
                               TextAlign /*align*/, int /*margin*/) {}
    // Draws whatever the device has queued. Call before anything else draws on the back buffer
    // (an editor panel layer); Present, Clear, text and read-back do it themselves.
    virtual void Flush() {}
    virtual void Present() = 0;

    // The frame drawn since BeginFrame, top row first. Read it before Present: once presented, a
    // window's back buffer holds whatever the driver left there. False when there is none
    // (headless).
    virtual bool ReadBackBuffer(Image& out) = 0;

    // How many quads were drawn since the last BeginFrame (the headless device counts too).
    virtual int QuadsDrawn() const = 0;
};

std::unique_ptr<GraphicsDevice> MakeHeadlessGraphicsDevice();

}  // namespace platform
