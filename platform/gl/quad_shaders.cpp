// The GLSL of the quads: the fixed-state programs (plain or sliced, blended or opaque) and the
// frame around each technique of the effect file.
#include "platform/gl/quad_shaders.h"

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
vec2 ScreenUV() { return vec2(gl_FragCoord.x / SCREEN_WIDTH, 1.0 - gl_FragCoord.y / SCREEN_HEIGHT); }
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

// The first lines of every program: the version, the back buffer's size, the quad's cell
// coordinates and the variant.
std::string ShaderHeader(bool sliced, bool opaque) {
    std::string header = "#version 330 core\n";
    header += "#define SCREEN_WIDTH " + std::to_string(kBackBufferWidth) +
              ".0\n#define SCREEN_HEIGHT " + std::to_string(kBackBufferHeight) + ".0\n";
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

}  // namespace

ShaderSources FixedQuadShaders(bool sliced, bool opaque) {
    const std::string header = ShaderHeader(sliced, opaque);
    return {header + kBatchVertexShader, header + kFragmentPrelude + kFixedFragmentShader};
}

ShaderSources EffectQuadShaders(const std::string& shared, const std::string& technique,
                                int firstLine) {
    const std::string header = ShaderHeader(false, false);
    return {header + kQuadVertexShader, header + kFragmentPrelude + "#line 1\n" + shared +
                                            "#line " + std::to_string(firstLine) + "\n" +
                                            technique + kEffectMain};
}

}  // namespace platform
