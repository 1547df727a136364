// TextureComponent: makes its object draw as a sprite and plays an animation on it. "filename"
// names an entry of the animation table; the renderer calls Update() (the animation step) once per
// simulation step of the frame, per view, just before drawing a visible, unculled object, so
// hidden and off-screen objects do not advance. Loaders call CompleteObjectTexture() when an
// object's block ends, and Object::Clone calls OnCloned(), to turn the loaded "filename" into a
// resolved animation.
#pragma once

#include <string>

#include "core/matrix.h"
#include "core/vector.h"
#include "objects/component_registration.h"

struct Animation;
struct Texture;
class Object;

namespace platform {
class GpuTexture;
}

// The texture offset of frame f on a 10 x 5 sheet: ((f mod 10) / 10, (f / 10) / 5).
Vector2D FrameOffset(unsigned int frame);

class TextureComponent : public ComponentOf<TextureComponent, GraphicsComponent> {
public:
    // Looks `name` up in the animation table. A missing name leaves the component without
    // animation and keeps the other fields.
    void SetAnimation(const std::string& name);
    Texture* GetTexture() const;
    // The sheet's image, read first if it is only listed so far; null when there is no
    // animation, no such texture, the sheet failed to load, or no renderer is installed.
    platform::GpuTexture* GetImage() const;
    // Whether the current frame shows anything: false for a cell a packed sheet leaves empty.
    bool ShowsCurrentFrame() const;
    float GetUOffset() const { return uOffset; }
    float GetVOffset() const { return vOffset; }
    unsigned int GetCurrentFrame() const { return currentFrame; }
    const Animation* GetAnimation() const { return animation; }
    bool IsPlaying() const { return playing; }
    void SetPlaying(bool play) { playing = play; }

    // The animation step; advances at most one frame per call.
    void Update() override;
    void OnCloned() override { SetAnimation(filename); }
    // Rebuilds the texture matrix when the frame changed and returns it: for a full sheet the
    // identity with the frame's offsets in row 2, for a packed one the scale and shift onto the
    // frame's place in the image (SheetLayout::FrameMatrix). Reads a listed sheet first.
    const Matrix4& TextureMatrix();

    // Registered members, in the data files' order.
    Animation* animation = nullptr;
    std::string filename;

private:
    float uOffset = 0.0f;
    float vOffset = 0.0f;
    float timer = 0.0f;
    unsigned int currentFrame = 0;
    bool playing = true;
    bool matrixDirty = true;
    Matrix4 textureMatrix = Matrix4::Identity();
};

// The object-completion step of the loaders: resolves "filename" of the object's
// "TextureComponent", if it has one.
void CompleteObjectTexture(Object& object);
