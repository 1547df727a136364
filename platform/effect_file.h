// The effect file ("assets/PixelShader.fx"): GLSL 3.30 fragment code split into named techniques.
//
// Layout: everything before the first line that starts with "@technique" is shared code,
// prepended to every technique. Each "@technique <Name>" line starts a technique that runs to the
// next such line or the end of the file. A technique defines `vec4 Shade()`, the colour of the
// fragment; the device supplies `#version`, the inputs (vTexCoord, vColour, the sampler uTexture),
// the helper `vec2 ScreenUV()` (0..1 across the back buffer, origin top-left) and main(), which
// applies the alpha test to Shade()'s result. Float parameters are plain `uniform float`s.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct EffectTechnique {
    std::string name;
    std::string source;
    // 1-based line in the file where the technique's code starts (for compiler messages).
    int firstLine = 0;
};

struct EffectFile {
    bool found = false;
    std::string shared;
    std::vector<EffectTechnique> techniques;
};

EffectFile ParseEffect(const std::string& text);
// A missing file reads as found = false with no techniques.
EffectFile ReadEffectFile(const std::string& path);

}  // namespace platform
