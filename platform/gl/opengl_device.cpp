// The OpenGL 3.3 core graphics device. The game always sees a 1600 x 900 back buffer. A window of
// exactly that size with a depth buffer of its own is drawn into directly; any other size draws
// into an offscreen framebuffer (colour and 24-bit depth) that Present blits letterboxed into the
// surface's drawable. On a software rasteriser that blit is a full-window shading pass, several
// times the cost of clearing and swapping an empty frame, so it is only paid when scaling needs it.
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
#include "platform/gl/gl_glyph_atlas.h"
#include "platform/gl/gl_program.h"
#include "platform/gl/gl_surface.h"
#include "platform/letterbox.h"
#include "platform/quad.h"

namespace platform {
namespace {

const char* const kQuadVertexShader = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aTexCoord;
// Row-vector matrices uploaded row-major: GLSL sees their transposes, so M * v is v * M.
uniform mat4 uWorldViewProjection;
uniform mat4 uTextureMatrix;
out vec2 vTexCoord;
out vec4 vColour;
void main() {
    vec4 p = uWorldViewProjection * vec4(aPosition, 1.0);
    p.z = 2.0 * p.z - p.w;
    gl_Position = p;
    vTexCoord = (uTextureMatrix * vec4(aTexCoord, 1.0, 0.0)).xy;
    vColour = aColour;
}
)";

// The fixed-state quads are drawn in batches: one instance per quad with its world x view x
// projection rows and its texture-matrix rows, in submission order (instances rasterise in
// order, so blending and equal-depth ties come out as with one draw per quad). The SLICED
// variant also passes what a sliced picture needs (QuadDraw::Slice).
const char* const kBatchVertexShader = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aTexCoord;
layout(location = 3) in vec4 iRow0;
layout(location = 4) in vec4 iRow1;
layout(location = 5) in vec4 iRow2;
layout(location = 6) in vec4 iRow3;
layout(location = 7) in vec4 iTexRows01;
layout(location = 8) in vec4 iTexRow2;
out vec2 vTexCoord;
out vec4 vColour;
#ifdef SLICED
layout(location = 9) in vec4 iSlice0;
layout(location = 10) in vec2 iSlice1;
out vec2 vCell;
flat out vec4 vSlice0;
flat out vec2 vSlice1;
flat out vec2 vOrigin;
flat out vec2 vAxisU;
flat out vec2 vAxisV;
#endif
vec2 ThroughTextureMatrix(vec2 uv) {
    return uv.x * iTexRows01.xy + uv.y * iTexRows01.zw + iTexRow2.xy;
}
void main() {
    vec4 p = aPosition.x * iRow0 + aPosition.y * iRow1 + aPosition.z * iRow2 + iRow3;
    p.z = 2.0 * p.z - p.w;
    gl_Position = p;
    vTexCoord = ThroughTextureMatrix(aTexCoord);
    vColour = aColour;
#ifdef SLICED
    // The picture's cell as 0..1 on each axis, and where those corners land in the image.
    vCell = (aTexCoord - vec2(CELL_U0, CELL_V0)) / vec2(CELL_U1 - CELL_U0, CELL_V1 - CELL_V0);
    vOrigin = ThroughTextureMatrix(vec2(CELL_U0, CELL_V0));
    vAxisU = ThroughTextureMatrix(vec2(CELL_U1, CELL_V0)) - vOrigin;
    vAxisV = ThroughTextureMatrix(vec2(CELL_U0, CELL_V1)) - vOrigin;
    vSlice0 = iSlice0;
    vSlice1 = iSlice1;
#endif
}
)";

const char* const kFragmentPrelude = R"(
in vec2 vTexCoord;
in vec4 vColour;
uniform sampler2D uTexture;
out vec4 fragColour;
vec2 ScreenUV() { return vec2(gl_FragCoord.x / 1600.0, 1.0 - gl_FragCoord.y / 900.0); }
bool FailsAlphaTest(vec4 c) { return c.a * 255.0 < 7.5; }
)";

const char* const kFixedFragmentShader = R"(
uniform bool uTextured;
#ifdef SLICED
in vec2 vCell;
flat in vec4 vSlice0;
flat in vec2 vSlice1;
flat in vec2 vOrigin;
flat in vec2 vAxisU;
flat in vec2 vAxisV;
// One axis: t runs across the quad in picture lengths (0 to repeat); the result is where in the
// picture (0 to 1) that is. The borders keep their size; the middle repeats, mirrored every other
// time so that it runs on without a seam.
float SliceAxis(float t, float repeat, float low, float high) {
    if (repeat <= 1.0) return t / repeat;
    if (t < low) return t;
    if (t > repeat - high) return 1.0 - (repeat - t);
    float period = 1.0 - low - high;
    float m = mod(t - low, 2.0 * period);
    return low + (m < period ? m : 2.0 * period - m);
}
vec4 Picture() {
    vec2 repeat = vSlice0.xy;
    vec2 t = vCell * repeat;
    vec2 f = vec2(SliceAxis(t.x, repeat.x, vSlice0.z, vSlice0.w),
                  SliceAxis(t.y, repeat.y, vSlice1.x, vSlice1.y));
    // The filter's footprint from the unfolded position: the picture's own rate, with no jump
    // where the middle folds.
    vec2 unfolded = vec2(repeat.x > 1.0 ? t.x : vCell.x, repeat.y > 1.0 ? t.y : vCell.y);
    vec2 along = unfolded.x * vAxisU + unfolded.y * vAxisV;
    return textureGrad(uTexture, vOrigin + f.x * vAxisU + f.y * vAxisV, dFdx(along), dFdy(along));
}
#else
vec4 Picture() { return texture(uTexture, vTexCoord); }
#endif
void main() {
    vec4 c = uTextured ? Picture() : vColour;
#ifndef OPAQUE
    if (FailsAlphaTest(c)) discard;
#endif
    fragColour = c;
}
)";

// The first lines of every program: the version, the quad's cell coordinates and the variant.
std::string ShaderHeader(bool sliced, bool opaque) {
    std::string header = "#version 330 core\n";
    header += "#define CELL_U0 " + std::to_string(kQuadU0) + "\n#define CELL_U1 " +
              std::to_string(kQuadU1) + "\n#define CELL_V0 " + std::to_string(kQuadV0) +
              "\n#define CELL_V1 " + std::to_string(kQuadV1) + "\n";
    if (sliced) {
        header += "#define SLICED\n";
    }
    if (opaque) {
        header += "#define OPAQUE\n";
    }
    return header;
}

const char* const kEffectMain = R"(
void main() {
    vec4 c = Shade();
    if (FailsAlphaTest(c)) discard;
    fragColour = c;
}
)";

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
    explicit OpenGLDevice(GLSurface& surface)
        : surface_(surface), windowHasDepth_(DefaultFramebufferHasDepth()) {
        CreateBackBuffer();
        CreateQuad();
        std::string error;
        for (const bool sliced : {false, true}) {
            for (const bool opaque : {false, true}) {
                FixedProgram& fixed = fixed_[Variant(sliced, opaque)];
                const std::string header = ShaderHeader(sliced, opaque);
                fixed.program =
                    BuildProgram(header + kBatchVertexShader,
                                 header + kFragmentPrelude + kFixedFragmentShader, error);
                fixed.textured = glGetUniformLocation(fixed.program, "uTextured");
            }
        }
        CreateBatchArray();
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
        glDeleteRenderbuffers(1, &colourBuffer_);
        glDeleteRenderbuffers(1, &depthBuffer_);
        glDeleteFramebuffers(1, &framebuffer_);
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
            const std::string source = ShaderHeader(false, false) + kFragmentPrelude + "#line 1\n" +
                                       file.shared + "#line " + std::to_string(entry.firstLine) +
                                       "\n" + entry.source + kEffectMain;
            std::string error;
            const GLuint program =
                BuildProgram(ShaderHeader(false, false) + kQuadVertexShader, source, error);
            if (!program) {
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
        quads_ = 0;
        ForgetBindings();
        drawingIntoWindow_ = windowHasDepth_ && surface_.DrawableWidth() == kBackBufferWidth &&
                             surface_.DrawableHeight() == kBackBufferHeight;
        glBindFramebuffer(GL_FRAMEBUFFER, Target());
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
        if (!batch_.empty() && (textureId != batchTexture_ || variant != batchVariant_)) {
            FlushBatch();
        }
        batchTexture_ = textureId;
        batchVariant_ = variant;
        Instance instance;
        const Matrix4 m = quad.world * viewProjection_;
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
        FlushBatch();
        glDisable(GL_DEPTH_TEST);
        glViewport(0, 0, kBackBufferWidth, kBackBufferHeight);
        glyphs_.Draw(text, static_cast<float>(x), static_cast<float>(y), colour,
                     align == TextAlign::Centre, kBackBufferWidth, kBackBufferHeight);
        ForgetBindings();
        glViewport(viewport_.x, viewport_.y, viewport_.width, viewport_.height);
        glEnable(GL_DEPTH_TEST);
    }

    void Flush() override { FlushBatch(); }

    void Present() override {
        FlushBatch();
        if (!drawingIntoWindow_) {
            BlitLetterboxed();
        }
        surface_.SwapBuffers();
    }

    bool ReadBackBuffer(Image& out) override {
        FlushBatch();
        glBindFramebuffer(GL_READ_FRAMEBUFFER, Target());
        glReadBuffer(drawingIntoWindow_ ? GL_BACK : GL_COLOR_ATTACHMENT0);
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
    struct FixedProgram {
        GLuint program = 0;
        GLint textured = -1;
    };

    GLuint Target() const { return drawingIntoWindow_ ? 0 : framebuffer_; }

    static bool DefaultFramebufferHasDepth() {
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

    void BlitLetterboxed() {
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
        const FixedProgram& fixed = fixed_[batchVariant_];
        if (fixed.program != boundProgram_) {
            glUseProgram(fixed.program);
            boundProgram_ = fixed.program;
        }
        glUniform1i(fixed.textured, batchTexture_ != 0 ? 1 : 0);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, batchTexture_);
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
        batch_.clear();
    }

    void CreateBatchArray() {
        glGenVertexArrays(1, &batchArray_);
        glGenBuffers(1, &instanceBuffer_);
        glBindVertexArray(batchArray_);
        BindQuadAttributes();
        glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer_);
        constexpr GLsizei stride = sizeof(Instance);
        for (GLuint row = 0; row < 4; ++row) {
            glEnableVertexAttribArray(3 + row);
            glVertexAttribPointer(3 + row, 4, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<void*>(row * 4 * sizeof(float)));
            glVertexAttribDivisor(3 + row, 1);
        }
        glEnableVertexAttribArray(7);
        glVertexAttribPointer(7, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Instance, texture)));
        glVertexAttribDivisor(7, 1);
        glEnableVertexAttribArray(8);
        glVertexAttribPointer(
            8, 2, GL_FLOAT, GL_FALSE, stride,
            reinterpret_cast<void*>(offsetof(Instance, texture) + 4 * sizeof(float)));
        glVertexAttribDivisor(8, 1);
        glEnableVertexAttribArray(9);
        glVertexAttribPointer(9, 4, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<void*>(offsetof(Instance, slice)));
        glVertexAttribDivisor(9, 1);
        glEnableVertexAttribArray(10);
        glVertexAttribPointer(
            10, 2, GL_FLOAT, GL_FALSE, stride,
            reinterpret_cast<void*>(offsetof(Instance, slice) + 4 * sizeof(float)));
        glVertexAttribDivisor(10, 1);
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

    void CreateBackBuffer() {
        glGenFramebuffers(1, &framebuffer_);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
        glGenRenderbuffers(1, &colourBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kBackBufferWidth, kBackBufferHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  colourBuffer_);
        glGenRenderbuffers(1, &depthBuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kBackBufferWidth,
                              kBackBufferHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depthBuffer_);
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

    GLSurface& surface_;
    const bool windowHasDepth_;
    // Chosen each frame, so a window resized to or from the back buffer's size follows.
    bool drawingIntoWindow_ = false;
    GLuint framebuffer_ = 0;
    GLuint colourBuffer_ = 0;
    GLuint depthBuffer_ = 0;
    GLuint quadArray_ = 0;
    GLuint quadBuffer_ = 0;
    GLuint batchArray_ = 0;
    GLuint instanceBuffer_ = 0;
    std::vector<Instance> batch_;
    GLuint batchTexture_ = 0;
    int batchVariant_ = 0;
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
