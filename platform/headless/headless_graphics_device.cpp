// The headless graphics device: keeps the contract's bookkeeping (textures with their sizes,
// techniques read from the effect file, quads counted, the frame protocol checked as the desktop
// device checks it) and draws nothing.
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

#include "platform/effect_file.h"
#include "platform/frame_protocol.h"
#include "platform/graphics_device.h"

namespace platform {
namespace {

class CpuTexture : public GpuTexture {
public:
    CpuTexture(int width, int height) : width_(width), height_(height) {}
    int Width() const override { return width_; }
    int Height() const override { return height_; }

private:
    int width_;
    int height_;
};

class HeadlessGraphicsDevice : public GraphicsDevice {
public:
    bool IsHeadless() const override { return true; }
    GpuTexture* CreateTexture(const Image& image, const TextureOptions&) override {
        if (image.width <= 0 || image.height <= 0) {
            return nullptr;
        }
        textures_.push_back(std::make_unique<CpuTexture>(image.width, image.height));
        return textures_.back().get();
    }
    void DestroyTexture(GpuTexture* texture) override {
        std::erase_if(textures_, [texture](const auto& t) { return t.get() == texture; });
    }
    std::string LoadEffect(const std::string& path) override {
        techniques_.clear();
        for (const EffectTechnique& technique : ReadEffectFile(path).techniques) {
            techniques_.insert(technique.name);
        }
        return {};
    }
    bool HasTechnique(const std::string& name) const override {
        return techniques_.count(name) != 0;
    }
    void BeginFrame() override {
        protocol_.Begin();
        quads_ = 0;
    }
    void SetViewport(int, int, int, int) override {}
    void Clear(Argb, float) override { protocol_.Drawing(); }
    void SetViewProjection(const Matrix4&, const Matrix4&) override {}
    void DrawQuad(const QuadDraw&) override {
        if (protocol_.Drawing()) {
            ++quads_;
        }
    }
    void DrawText(const std::string&, int, int, Argb, TextAlign) override { protocol_.Drawing(); }
    void Present() override { protocol_.End(); }
    bool ReadBackBuffer(Image&) override {
        protocol_.Drawing();
        return false;
    }
    int QuadsDrawn() const override { return quads_; }

private:
    std::vector<std::unique_ptr<CpuTexture>> textures_;
    std::set<std::string> techniques_;
    int quads_ = 0;
    FrameProtocol protocol_;
};

}  // namespace

std::unique_ptr<GraphicsDevice> MakeHeadlessGraphicsDevice() {
    return std::make_unique<HeadlessGraphicsDevice>();
}

}  // namespace platform
