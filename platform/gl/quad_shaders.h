// The shaders every quad is drawn with. Each program starts with the back buffer's size
// (SCREEN_WIDTH, SCREEN_HEIGHT, floats) and the quad's cell coordinates as defines, so the
// effect file's code can use them too; the fragment stage offers ScreenUV() and the alpha test.
#pragma once

#include <string>

namespace platform {

struct ShaderSources {
    std::string vertex;
    std::string fragment;
};

// The fixed-state quads, drawn in instanced batches: `sliced` adds what a sliced picture needs
// (QuadDraw::Slice), `opaque` drops the alpha test.
ShaderSources FixedQuadShaders(bool sliced, bool opaque);

// One technique of the effect file: the file's shared code, then the technique's, which defines
// `vec4 Shade()`. Compiler messages count lines as the file does: the shared code from line 1,
// the technique from `firstLine`.
ShaderSources EffectQuadShaders(const std::string& shared, const std::string& technique,
                                int firstLine);

}  // namespace platform
