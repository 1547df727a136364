// The OpenGL 3.3 core graphics device. The game always sees a 1600 x 900 back buffer, drawn into
// the window or offscreen as platform/gl/offscreen_target.h chooses.
//
// The fixed state the game was designed with: no culling, depth test less-or-equal, alpha test
// (alpha >= 8/255, done as a shader discard), source-alpha blending. Projections produce depth in
// 0..1 (the row-vector, left-handed convention); the vertex shader remaps it to GL's -1..1 so the
// near plane clips where the game expects.
#include "platform/gl/opengl_device.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <map>
#include <vector>

#include "platform/effect_file.h"
#include "platform/frame_protocol.h"
#include "platform/gl/gl_glyph_atlas.h"
#include "platform/gl/gl_program.h"
#include "platform/gl/offscreen_target.h"
#include "platform/gl/quad_shaders.h"
#include "platform/gl/texel_exact.h"
#include "platform/letterbox.h"
#include "platform/quad.h"

namespace platform {
namespace {

// Mip levels below the picture's own, for pictures also drawn smaller.
constexpr GLint kMipLevels = 2;

class GLTexture : public GpuTexture {
public:
    GLTexture(GLuint id, int width, int height) : id_(id), width_(width), height_(height) {}
    ~GLTexture() override { glDeleteTextures(1, &id_); }
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    GLuint Id() const { return id_; }

private:
    GLuint id_;
    int width_;
    int height_;
};

struct Technique {
    GLuint program = 0;
    GLint worldViewProjection = -1;
    GLint textureMatrix = -1;
    std::map<std::string, GLint, std::less<>> floats;
};

void SetMatrix(GLint location, const Matrix4& m) {
    glUniformMatrix4fv(location, 1, GL_FALSE, &m.m[0][0]);
}

class OpenGLDevice : public GraphicsDevice {
public:
    explicit OpenGLDevice(GLSurface& surface) : target_(surface) {
        CreateQuad();
        CreateBatchArray();
        CreateNearestSampler();
        glyphs_.Load();
    }

    ~OpenGLDevice() override {
        textures_.clear();
        for (auto& [name, technique] : techniques_) {
            glDeleteProgram(technique.program);
        }
        for (const FixedProgram& fixed : fixed_) {
            glDeleteProgram(fixed.program);
        }
        glDeleteBuffers(1, &quadBuffer_);
        glDeleteVertexArrays(1, &quadArray_);
        glDeleteBuffers(1, &instanceBuffer_);
        glDeleteVertexArrays(1, &batchArray_);
        glDeleteSamplers(1, &nearestSampler_);
    }

    bool IsHeadless() const override { return false; }

    GpuTexture* CreateTexture(const Image& image, const TextureOptions& options) override {
        if (image.width <= 0 || image.height <= 0 ||
            image.rgba.size() != static_cast<std::size_t>(image.width) * image.height * 4) {
            return nullptr;
        }
        FlushBatch();
        GLuint id = 0;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width, image.height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, image.rgba.data());
        // Linear both ways: pictures are stored at the size they are drawn, so most draws sample
        // at about one texel a pixel, and one filter for both lets the rasteriser skip choosing.
        // Pictures also drawn smaller get two mip levels below their own, as far as the gaps
        // between packed frames keep neighbours apart.
        if (options.mipmaps) {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, kMipLevels);
            glGenerateMipmap(GL_TEXTURE_2D);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        } else {
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        }
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        textures_.push_back(std::make_unique<GLTexture>(id, image.width, image.height));
        ForgetBindings();
        return textures_.back().get();
    }

    void DestroyTexture(GpuTexture* texture) override {
        FlushBatch();
        if (const auto* gl = dynamic_cast<const GLTexture*>(texture);
            gl && gl->Id() == batchTexture_) {
            batchTexture_ = 0;
        }
        std::erase_if(textures_, [texture](const auto& t) { return t.get() == texture; });
    }

    std::string LoadEffect(const std::string& path) override {
        FlushBatch();
        ForgetBindings();
        for (auto& [name, technique] : techniques_) {
            glDeleteProgram(technique.program);
        }
        techniques_.clear();
        const EffectFile file = ReadEffectFile(path);
        if (!file.found) {
            return path + ": effect file not found";
        }
        std::string errors;
        for (const EffectTechnique& entry : file.techniques) {
            const ShaderSources sources =
                EffectQuadShaders(file.shared, entry.source, entry.firstLine);
            std::string error;
            const GLuint program = BuildProgram(sources.vertex, sources.fragment, error);
            if (!program) {
                ReportShaderLog(path, entry.firstLine, error);
                errors += "technique " + entry.name + ":\n" + error;
                continue;
            }
            Technique technique;
            technique.program = program;
            technique.worldViewProjection = glGetUniformLocation(program, "uWorldViewProjection");
            technique.textureMatrix = glGetUniformLocation(program, "uTextureMatrix");
            techniques_[entry.name] = std::move(technique);
        }
        return errors;
    }

    bool HasTechnique(const std::string& name) const override {
        return techniques_.count(name) != 0;
    }

    void BeginFrame() override {
        protocol_.Begin();
        batch_.clear();
        quads_ = 0;
        ForgetBindings();
        target_.BeginFrame();
        glDisable(GL_CULL_FACE);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
        glEnable(GL_BLEND);
        glBlendEquation(GL_FUNC_ADD);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_SCISSOR_TEST);
        SetViewport(0, 0, kBackBufferWidth, kBackBufferHeight);
    }

    void SetViewport(int x, int y, int width, int height) override {
        FlushBatch();
        viewport_ = {x, kBackBufferHeight - y - height, width, height};
        glViewport(viewport_.x, viewport_.y, viewport_.width, viewport_.height);
    }

    void Clear(Argb colour, float depth) override {
        if (!protocol_.Drawing()) {
            return;
        }
        FlushBatch();
        // A clear covers the viewport only, as the game's views expect.
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport_.x, viewport_.y, viewport_.width, viewport_.height);
        glClearColor(Channel(colour, 16), Channel(colour, 8), Channel(colour, 0),
                     Channel(colour, 24));
        glClearDepth(depth);
        glDepthMask(GL_TRUE);
        // The stencil is never used; clearing it with the depth lets the packed depth-stencil
        // buffer be filled whole instead of masked pixel by pixel.
        glClearStencil(0);
        glStencilMask(0xFF);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
    }

    void SetViewProjection(const Matrix4& view, const Matrix4& projection) override {
        viewProjection_ = view * projection;
    }

    void DrawQuad(const QuadDraw& quad) override {
        if (!protocol_.Drawing()) {
            return;
        }
        ++quads_;
        if (quad.fill == QuadDraw::Fill::Effect) {
            FlushBatch();
            DrawEffectQuad(quad);
            return;
        }
        const auto* texture = dynamic_cast<const GLTexture*>(quad.texture);
        const bool textured = quad.fill == QuadDraw::Fill::Texture && texture;
        const GLuint textureId = textured ? texture->Id() : 0;
        const bool sliced = textured && quad.slice.has_value();
        const int variant = Variant(sliced, textured && quad.opaque);
        const Matrix4 m = quad.world * viewProjection_;
        const bool nearest =
            textured && quad.nearestWhereTexelExact &&
            SamplesTexelCentres(m, quad.textureMatrix, {viewport_.width, viewport_.height},
                                {texture->Width(), texture->Height()}, quad.slice);
        if (!batch_.empty() &&
            (textureId != batchTexture_ || variant != batchVariant_ || nearest != batchNearest_)) {
            FlushBatch();
        }
        batchTexture_ = textureId;
        batchVariant_ = variant;
        batchNearest_ = nearest;
        Instance instance;
        std::copy(&m.m[0][0], &m.m[0][0] + 16, instance.rows);
        const Matrix4& t = quad.textureMatrix;
        instance.texture[0] = t.m[0][0];
        instance.texture[1] = t.m[0][1];
        instance.texture[2] = t.m[1][0];
        instance.texture[3] = t.m[1][1];
        instance.texture[4] = t.m[2][0];
        instance.texture[5] = t.m[2][1];
        if (sliced) {
            const QuadDraw::Slice& slice = *quad.slice;
            instance.slice[0] = slice.repeatX;
            instance.slice[1] = slice.repeatY;
            instance.slice[2] = slice.left;
            instance.slice[3] = slice.right;
            instance.slice[4] = slice.top;
            instance.slice[5] = slice.bottom;
        }
        batch_.push_back(instance);
    }

    void DrawText(const std::string& text, int x, int y, Argb colour, TextAlign align) override {
        if (!protocol_.Drawing()) {
            return;
        }
        FlushBatch();
        glDisable(GL_DEPTH_TEST);
        glViewport(0, 0, kBackBufferWidth, kBackBufferHeight);
        glyphs_.Draw(text, static_cast<float>(x), static_cast<float>(y), colour,
                     align == TextAlign::Centre, kBackBufferWidth, kBackBufferHeight);
        ForgetBindings();
        glViewport(viewport_.x, viewport_.y, viewport_.width, viewport_.height);
        glEnable(GL_DEPTH_TEST);
    }

    void DrawTextPlate(const std::string& text, int x, int y, Argb colour, TextAlign align,
                       int margin) override {
        if (!protocol_.Drawing()) {
            return;
        }
        FlushBatch();
        glDisable(GL_DEPTH_TEST);
        glViewport(0, 0, kBackBufferWidth, kBackBufferHeight);
        glyphs_.DrawPlate(text, static_cast<float>(x), static_cast<float>(y), colour,
                          align == TextAlign::Centre, static_cast<float>(margin), kBackBufferWidth,
                          kBackBufferHeight);
        ForgetBindings();
        glViewport(viewport_.x, viewport_.y, viewport_.width, viewport_.height);
        glEnable(GL_DEPTH_TEST);
    }

    void Flush() override { FlushBatch(); }

    void Present() override {
        if (!protocol_.End()) {
            return;
        }
        FlushBatch();
        target_.Present();
    }

    bool ReadBackBuffer(Image& out) override {
        if (!protocol_.Drawing()) {
            return false;
        }
        FlushBatch();
        target_.BindForReading();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kBackBufferWidth) *
                                         kBackBufferHeight * 4);
        glReadPixels(0, 0, kBackBufferWidth, kBackBufferHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixels.data());
        out.width = kBackBufferWidth;
        out.height = kBackBufferHeight;
        out.rgba.resize(pixels.size());
        const std::size_t row = static_cast<std::size_t>(kBackBufferWidth) * 4;
        for (int y = 0; y < kBackBufferHeight; ++y) {
            std::copy_n(
                pixels.begin() + static_cast<std::ptrdiff_t>(y * row), row,
                out.rgba.begin() + static_cast<std::ptrdiff_t>((kBackBufferHeight - 1 - y) * row));
        }
        return true;
    }

    int QuadsDrawn() const override { return quads_; }

private:
    struct Instance {
        float rows[16];
        // Rows 0, 1 and 2 of the texture matrix, x and y only.
        float texture[6];
        float padding[2];
        // Repeats x and y, borders left, right, top and bottom (QuadDraw::Slice).
        float slice[8] = {1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    };
    // The programs of fixed-state quads: plain or sliced, blended or opaque.
    static int Variant(bool sliced, bool opaque) { return (sliced ? 2 : 0) + (opaque ? 1 : 0); }
    static bool IsOpaque(int variant) { return (variant & 1) != 0; }
    static bool IsSliced(int variant) { return (variant & 2) != 0; }
    struct FixedProgram {
        bool built = false;
        GLuint program = 0;
        GLint textured = -1;
    };

    // Built on first use: start-up compiles only what its first screens draw with.
    const FixedProgram& Fixed(int variant) {
        FixedProgram& fixed = fixed_[variant];
        if (!fixed.built) {
            fixed.built = true;
            const ShaderSources sources = FixedQuadShaders(IsSliced(variant), IsOpaque(variant));
            std::string error;
            fixed.program = BuildProgram(sources.vertex, sources.fragment, error);
            if (!fixed.program) {
                // Quads of this kind are not drawn; the game goes on.
                ReportShaderLog("built-in quad shader", 0, error);
            }
            fixed.textured = glGetUniformLocation(fixed.program, "uTextured");
        }
        return fixed;
    }

    void DrawEffectQuad(const QuadDraw& quad) {
        auto it = techniques_.find(quad.technique);
        if (it == techniques_.end() || !it->second.program) {
            return;
        }
        Technique& technique = it->second;
        if (technique.program != boundProgram_) {
            glUseProgram(technique.program);
            boundProgram_ = technique.program;
        }
        SetMatrix(technique.worldViewProjection, quad.world * viewProjection_);
        SetMatrix(technique.textureMatrix, quad.textureMatrix);
        for (const EffectFloat& parameter : quad.floats) {
            glUniform1f(FloatLocation(technique, parameter.name), parameter.value);
        }
        glBindVertexArray(quadArray_);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(kQuadVertices.size()));
    }

    // Draws every queued fixed-state quad; called before anything that changes what they would
    // be drawn with (viewport, clears, text, effects, presenting, reading back).
    void FlushBatch() {
        if (batch_.empty()) {
            return;
        }
        const FixedProgram& fixed = Fixed(batchVariant_);
        if (fixed.program != boundProgram_) {
            glUseProgram(fixed.program);
            boundProgram_ = fixed.program;
        }
        glUniform1i(fixed.textured, batchTexture_ != 0 ? 1 : 0);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, batchTexture_);
        glBindSampler(0, batchNearest_ ? nearestSampler_ : 0);
        glBindVertexArray(batchArray_);
        glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer_);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(batch_.size() * sizeof(Instance)),
                     batch_.data(), GL_STREAM_DRAW);
        // Opaque texels blended over anything give themselves: blending is skipped, not changed.
        if (IsOpaque(batchVariant_)) {
            glDisable(GL_BLEND);
        }
        glDrawArraysInstanced(GL_TRIANGLES, 0, static_cast<GLsizei>(kQuadVertices.size()),
                              static_cast<GLsizei>(batch_.size()));
        if (IsOpaque(batchVariant_)) {
            glEnable(GL_BLEND);
        }
        glBindSampler(0, 0);
        batch_.clear();
    }

    // Read in place of a texture's own filter where a quad's texels fall one on one on pixels:
    // the same pixels as the linear filter there, for less work (see gl/texel_exact.h).
    void CreateNearestSampler() {
        glGenSamplers(1, &nearestSampler_);
        glSamplerParameteri(nearestSampler_, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glSamplerParameteri(nearestSampler_, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glSamplerParameteri(nearestSampler_, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glSamplerParameteri(nearestSampler_, GL_TEXTURE_WRAP_T, GL_REPEAT);
    }

    void CreateBatchArray() {
        glGenVertexArrays(1, &batchArray_);
        glGenBuffers(1, &instanceBuffer_);
        glBindVertexArray(batchArray_);
        BindQuadAttributes();
        glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer_);
        // Per instance: the four matrix rows (3..6), the texture rows (7, 8), the slice (9, 10).
        struct InstanceAttribute {
            GLint size;
            std::size_t offset;
        };
        constexpr std::size_t kFloat = sizeof(float);
        constexpr InstanceAttribute kAttributes[] = {
            {4, offsetof(Instance, rows)},
            {4, offsetof(Instance, rows) + 4 * kFloat},
            {4, offsetof(Instance, rows) + 8 * kFloat},
            {4, offsetof(Instance, rows) + 12 * kFloat},
            {4, offsetof(Instance, texture)},
            {2, offsetof(Instance, texture) + 4 * kFloat},
            {4, offsetof(Instance, slice)},
            {2, offsetof(Instance, slice) + 4 * kFloat},
        };
        GLuint location = 3;
        for (const InstanceAttribute& attribute : kAttributes) {
            glEnableVertexAttribArray(location);
            glVertexAttribPointer(location, attribute.size, GL_FLOAT, GL_FALSE, sizeof(Instance),
                                  reinterpret_cast<void*>(attribute.offset));
            glVertexAttribDivisor(location, 1);
            ++location;
        }
        glBindVertexArray(0);
    }

    // The text drawer and effect loading change the bound program; after them nothing is assumed.
    void ForgetBindings() { boundProgram_ = 0; }

    static float Channel(Argb colour, int shift) {
        return static_cast<float>((colour >> shift) & 0xFFu) / 255.0f;
    }

    static GLint FloatLocation(Technique& technique, const std::string& name) {
        auto it = technique.floats.find(name);
        if (it == technique.floats.end()) {
            it = technique.floats
                     .emplace(name, glGetUniformLocation(technique.program, name.c_str()))
                     .first;
        }
        return it->second;
    }

    void CreateQuad() {
        glGenVertexArrays(1, &quadArray_);
        glGenBuffers(1, &quadBuffer_);
        glBindVertexArray(quadArray_);
        glBindBuffer(GL_ARRAY_BUFFER, quadBuffer_);
        glBufferData(GL_ARRAY_BUFFER, sizeof(kQuadVertices), kQuadVertices.data(), GL_STATIC_DRAW);
        BindQuadAttributes();
        glBindVertexArray(0);
    }

    // Attributes 0..2 of the bound vertex array, from the quad buffer.
    void BindQuadAttributes() {
        glBindBuffer(GL_ARRAY_BUFFER, quadBuffer_);
        constexpr GLsizei stride = sizeof(QuadVertex);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(QuadVertex, x)));
        // 0xAARRGGBB in little-endian memory is B, G, R, A.
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                              reinterpret_cast<void*>(offsetof(QuadVertex, colour)));
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(QuadVertex, u)));
    }

    OffscreenTarget target_;
    FrameProtocol protocol_;
    GLuint quadArray_ = 0;
    GLuint quadBuffer_ = 0;
    GLuint batchArray_ = 0;
    GLuint instanceBuffer_ = 0;
    std::vector<Instance> batch_;
    GLuint batchTexture_ = 0;
    int batchVariant_ = 0;
    bool batchNearest_ = false;
    GLuint nearestSampler_ = 0;
    std::array<FixedProgram, 4> fixed_;
    std::map<std::string, Technique, std::less<>> techniques_;
    std::vector<std::unique_ptr<GLTexture>> textures_;
    GlyphAtlas glyphs_;
    ViewportRect viewport_;
    Matrix4 viewProjection_ = Matrix4::Identity();
    int quads_ = 0;
    // The program last bound, so runs of effect quads skip rebinding it.
    GLuint boundProgram_ = 0;
};

}  // namespace

std::unique_ptr<GraphicsDevice> MakeOpenGLGraphicsDevice(GLSurface& surface) {
    return std::make_unique<OpenGLDevice>(surface);
}

}  // namespace platform
