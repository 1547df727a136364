// A graphics device for renderer tests: draws nothing and remembers every call a frame made, so a
// test can check what the renderer asked for (quads with their fill and matrices, text and where it
// goes, clears, presents).
#pragma once

#include <string>
#include <vector>

#include "platform/graphics_device.h"

namespace testing_support {

struct RecordedText {
    std::string text;
    int x = 0;
    int y = 0;
};

class RecordingDevice : public platform::GraphicsDevice {
public:
    bool IsHeadless() const override { return true; }
    platform::GpuTexture* CreateTexture(const platform::Image&,
                                        const platform::TextureOptions&) override {
        return nullptr;
    }
    void DestroyTexture(platform::GpuTexture*) override {}
    std::string LoadEffect(const std::string&) override { return effectError; }
    bool HasTechnique(const std::string& name) const override {
        return effectError.empty() && (name == "Tint" || name == "Light");
    }
    void BeginFrame() override {
        quads.clear();
        texts.clear();
        clears.clear();
    }
    void SetViewport(int, int, int, int) override {}
    void Clear(platform::Argb colour, float) override { clears.push_back(colour); }
    void SetViewProjection(const Matrix4&, const Matrix4&) override {}
    void DrawQuad(const platform::QuadDraw& quad) override { quads.push_back(quad); }
    void DrawText(const std::string& text, int x, int y, platform::Argb,
                  platform::TextAlign) override {
        texts.push_back({text, x, y});
    }
    void Present() override { ++presents; }
    bool ReadBackBuffer(platform::Image&) override { return false; }
    int QuadsDrawn() const override { return static_cast<int>(quads.size()); }

    // What LoadEffect reports; non-empty simulates a compile failure.
    std::string effectError;
    std::vector<platform::QuadDraw> quads;
    std::vector<RecordedText> texts;
    std::vector<platform::Argb> clears;
    int presents = 0;
};

}  // namespace testing_support
