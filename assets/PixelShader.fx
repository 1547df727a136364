// The game's effects, GLSL 3.30 fragment code. Layout: code before the first "@technique" line is
// shared by every technique; each "@technique <Name>" line starts a technique that defines
// `vec4 Shade()`. The renderer supplies the inputs (vTexCoord, vColour, uTexture), ScreenUV()
// (0..1 across the back buffer, origin top-left), the back buffer's size in pixels (SCREEN_WIDTH,
// SCREEN_HEIGHT) and the alpha test.

@technique Tint
// A flat colour: coloured squares and particles.
uniform float tintr;
uniform float tintg;
uniform float tintb;
uniform float tinta;

vec4 Shade() { return vec4(tintr, tintg, tintb, tinta); }

@technique Light
// A soft point light at (locx, locy) in screen fractions, fading to nothing at `radius` (a
// fraction of the screen width), over an ambient floor.
uniform float r;
uniform float g;
uniform float b;
uniform float AmbientIntensity;
uniform float radius;
uniform float locx;
uniform float locy;

vec4 Shade() {
    vec2 d = ScreenUV() - vec2(locx, locy);
    d.y *= SCREEN_HEIGHT / SCREEN_WIDTH;
    float falloff = radius > 0.0 ? clamp(1.0 - length(d) / radius, 0.0, 1.0) : 0.0;
    return vec4(r, g, b, clamp(falloff * AmbientIntensity, 0.0, 1.0));
}
