// Text for the OpenGL device: Liberation Sans baked at 30 px (cell height) into a one-channel
// atlas for the printable ASCII range, drawn as alpha-blended quads in back-buffer pixels.
// Characters outside the range are skipped. Requires a current GL 3.3 context for its whole life.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

class GlyphAtlas {
public:
    static constexpr float kPixelHeight = 30.0f;

    GlyphAtlas();
    GlyphAtlas(const GlyphAtlas&) = delete;
    GlyphAtlas& operator=(const GlyphAtlas&) = delete;

    // False (with a line on standard output) when no font file could be read; text then draws
    // nothing.
    bool Load();
    ~GlyphAtlas();

    // Top of the first line at y; see GraphicsDevice::DrawText. `width` x `height` is the target.
    void Draw(const std::string& text, float x, float y, std::uint32_t argb, bool centre,
              int targetWidth, int targetHeight);
    // A solid rectangle behind the block of `text` as Draw would lay it out (as wide as its
    // longest line), `margin` pixels beyond it on every side.
    void DrawPlate(const std::string& text, float x, float y, std::uint32_t argb, bool centre,
                   float margin, int targetWidth, int targetHeight);
    // Pixels from the left edge to the end of the line's last advance.
    float LineWidth(const std::string& line) const;

private:
    void Submit(const std::vector<float>& vertices, std::uint32_t argb, bool solid, int targetWidth,
                int targetHeight);
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
