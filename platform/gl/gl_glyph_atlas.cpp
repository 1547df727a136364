#include "platform/gl/gl_glyph_atlas.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wall"
#pragma GCC diagnostic ignored "-Wextra"
#pragma GCC diagnostic ignored "-Wunused-function"
#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>
#pragma GCC diagnostic pop

#include "platform/diagnostics.h"
#include "platform/gl/gl_program.h"

namespace platform {
namespace {

constexpr int kAtlasSize = 512;
constexpr int kFirstChar = 32;
constexpr int kCharCount = 95;

const char* const kFontPaths[] = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
};

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 aPixel;
layout(location = 1) in vec2 aTexCoord;
uniform vec2 uTarget;
out vec2 vTexCoord;
void main() {
    gl_Position = vec4(aPixel.x / uTarget.x * 2.0 - 1.0, 1.0 - aPixel.y / uTarget.y * 2.0, 0.0, 1.0);
    vTexCoord = aTexCoord;
}
)";

const char* const kFragmentShader = R"(#version 330 core
in vec2 vTexCoord;
uniform sampler2D uAtlas;
uniform vec4 uColour;
uniform float uSolid;
out vec4 fragColour;
void main() {
    float coverage = max(texture(uAtlas, vTexCoord).r, uSolid);
    fragColour = vec4(uColour.rgb, uColour.a * coverage);
}
)";

}  // namespace

struct GlyphAtlas::Impl {
    stbtt_bakedchar glyphs[kCharCount];
    float ascent = 0.0f;
    float lineHeight = kPixelHeight;
    GLuint texture = 0;
    GLuint program = 0;
    GLuint vao = 0;
    GLuint vbo = 0;
};

GlyphAtlas::GlyphAtlas() = default;

GlyphAtlas::~GlyphAtlas() {
    if (impl_) {
        glDeleteTextures(1, &impl_->texture);
        glDeleteProgram(impl_->program);
        glDeleteBuffers(1, &impl_->vbo);
        glDeleteVertexArrays(1, &impl_->vao);
    }
}

bool GlyphAtlas::Load() {
    std::vector<unsigned char> font;
    const char* fontPath = kFontPaths[0];
    for (const char* path : kFontPaths) {
        std::ifstream in(path, std::ios::binary);
        if (in) {
            font.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            fontPath = path;
            break;
        }
    }
    if (font.empty()) {
        ReportBadData(fontPath, 0, "Liberation Sans not found: text will not be drawn");
        return false;
    }
    auto impl = std::make_unique<Impl>();
    std::vector<unsigned char> bitmap(kAtlasSize * kAtlasSize);
    if (stbtt_BakeFontBitmap(font.data(), 0, kPixelHeight, bitmap.data(), kAtlasSize, kAtlasSize,
                             kFirstChar, kCharCount, impl->glyphs) <= 0) {
        ReportBadData(fontPath, 0, "Liberation Sans could not be baked: text will not be drawn");
        return false;
    }
    stbtt_fontinfo info;
    stbtt_InitFont(&info, font.data(), stbtt_GetFontOffsetForIndex(font.data(), 0));
    int ascent = 0;
    int descent = 0;
    int lineGap = 0;
    stbtt_GetFontVMetrics(&info, &ascent, &descent, &lineGap);
    const float scale = stbtt_ScaleForPixelHeight(&info, kPixelHeight);
    impl->ascent = std::round(static_cast<float>(ascent) * scale);
    impl->lineHeight = std::round(static_cast<float>(ascent - descent) * scale);

    glGenTextures(1, &impl->texture);
    glBindTexture(GL_TEXTURE_2D, impl->texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, kAtlasSize, kAtlasSize, 0, GL_RED, GL_UNSIGNED_BYTE,
                 bitmap.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    std::string error;
    impl->program = BuildProgram(kVertexShader, kFragmentShader, error);
    if (!impl->program) {
        ReportShaderLog("built-in text shader", 0, error);
        glDeleteTextures(1, &impl->texture);
        return false;
    }
    glGenVertexArrays(1, &impl->vao);
    glGenBuffers(1, &impl->vbo);
    glBindVertexArray(impl->vao);
    glBindBuffer(GL_ARRAY_BUFFER, impl->vbo);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                          reinterpret_cast<void*>(2 * sizeof(float)));
    glBindVertexArray(0);
    impl_ = std::move(impl);
    return true;
}

float GlyphAtlas::LineWidth(const std::string& line) const {
    if (!impl_) {
        return 0.0f;
    }
    float width = 0.0f;
    for (const char ch : line) {
        const int index = static_cast<unsigned char>(ch) - kFirstChar;
        if (index >= 0 && index < kCharCount) {
            width += impl_->glyphs[index].xadvance;
        }
    }
    return width;
}

void GlyphAtlas::Draw(const std::string& text, float x, float y, std::uint32_t argb, bool centre,
                      int targetWidth, int targetHeight) {
    if (!impl_ || text.empty()) {
        return;
    }
    std::vector<float> vertices;
    vertices.reserve(text.size() * 24);
    float lineTop = y;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        float penX = centre ? std::round(x + 0.5f - LineWidth(line) / 2.0f) : x;
        float penY = lineTop + impl_->ascent;
        for (const char ch : line) {
            const int index = static_cast<unsigned char>(ch) - kFirstChar;
            if (index < 0 || index >= kCharCount) {
                continue;
            }
            stbtt_aligned_quad q;
            stbtt_GetBakedQuad(impl_->glyphs, kAtlasSize, kAtlasSize, index, &penX, &penY, &q, 1);
            const float quad[] = {q.x0, q.y0, q.s0, q.t0, q.x1, q.y0, q.s1, q.t0,
                                  q.x1, q.y1, q.s1, q.t1, q.x0, q.y0, q.s0, q.t0,
                                  q.x1, q.y1, q.s1, q.t1, q.x0, q.y1, q.s0, q.t1};
            vertices.insert(vertices.end(), std::begin(quad), std::end(quad));
        }
        lineTop += impl_->lineHeight;
        start = end + 1;
    }
    Submit(vertices, argb, false, targetWidth, targetHeight);
}

void GlyphAtlas::DrawPlate(const std::string& text, float x, float y, std::uint32_t argb,
                           bool centre, float margin, int targetWidth, int targetHeight) {
    if (!impl_ || text.empty()) {
        return;
    }
    // One block as wide as the longest line, as tall as the lines.
    float width = 0.0f;
    int lines = 0;
    for (std::size_t start = 0; start <= text.size(); ++lines) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        width = std::max(width, LineWidth(text.substr(start, end - start)));
        start = end + 1;
    }
    const float left = (centre ? std::round(x + 0.5f - width / 2.0f) : x) - margin;
    const float right = left + width + 2.0f * margin;
    const float top = y - margin;
    const float bottom = y + static_cast<float>(lines) * impl_->lineHeight + margin;
    const std::vector<float> vertices = {left, top, 0, 0, right, top,    0, 0, right, bottom, 0, 0,
                                         left, top, 0, 0, right, bottom, 0, 0, left,  bottom, 0, 0};
    Submit(vertices, argb, true, targetWidth, targetHeight);
}

void GlyphAtlas::Submit(const std::vector<float>& vertices, std::uint32_t argb, bool solid,
                        int targetWidth, int targetHeight) {
    if (vertices.empty()) {
        return;
    }
    glUseProgram(impl_->program);
    glUniform1f(glGetUniformLocation(impl_->program, "uSolid"), solid ? 1.0f : 0.0f);
    glUniform2f(glGetUniformLocation(impl_->program, "uTarget"), static_cast<float>(targetWidth),
                static_cast<float>(targetHeight));
    glUniform4f(glGetUniformLocation(impl_->program, "uColour"),
                static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
                static_cast<float>(argb & 0xFF) / 255.0f,
                static_cast<float>((argb >> 24) & 0xFF) / 255.0f);
    glUniform1i(glGetUniformLocation(impl_->program, "uAtlas"), 0);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, impl_->texture);
    glBindVertexArray(impl_->vao);
    glBindBuffer(GL_ARRAY_BUFFER, impl_->vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(float)),
                 vertices.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(vertices.size() / 4));
    glBindVertexArray(0);
}

}  // namespace platform
